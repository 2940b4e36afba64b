# Writes OUTPUT, a C++ source that defines the constant sylva::CONSTANT (a std::string_view) as
# the bytes of the file INPUT, so that a text kept as a source file of its own is built into the
# program:
#   cmake -DCONSTANT=kName -DINPUT=file.js -DOUTPUT=file.cpp -P embed_text.cmake
cmake_minimum_required(VERSION 3.25)
foreach(variable CONSTANT INPUT OUTPUT)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "embed_text.cmake needs -D${variable}=...")
    endif()
endforeach()

set(delimiter "sylva_embedded")
file(READ "${INPUT}" content)
string(FIND "${content}" ")${delimiter}\"" clash)
if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${INPUT} holds \")${delimiter}\"\", which would end its literal early")
endif()
file(CONFIGURE OUTPUT "${OUTPUT}" @ONLY CONTENT
"// Generated from @INPUT@ by embed_text.cmake; edit that file instead.
#include <string_view>

namespace sylva {
extern const std::string_view @CONSTANT@;
const std::string_view @CONSTANT@ = R\"@delimiter@(@content@)@delimiter@\";
}  // namespace sylva
")
