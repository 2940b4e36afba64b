// Predefined macros in the code of a doxygen-style file: what they replace, what they leave.
#include "scan/doxygen/predefined_macros.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sylva {
namespace {

TEST(PredefinedMacros, ReplaceUsesInCodeOnlyAndKeepEveryLine) {
    const PredefinedMacros macros({"CV_EXPORTS=", "API := extern", "__attribute__(x)=",
                                   "DEPRECATED(msg, since)=[[deprecated(msg)]]", "FLAG", "3D=x",
                                   "BAD(=y", "F(a)=(a)+(a)"});
    struct Case {
        std::string code;
        std::string expanded;
    };
    const Case cases[] = {
        {"CV_EXPORTS void f();\n  CV_EXPORTS  int g;", "void f();\n  int g;"},
        {"API int g;", "extern int g;"},
        {"int h() __attribute__((visibility(\"default\")));", "int h() ;"},
        // Arguments in place of the parameters, the calls' line ends kept behind them.
        {"DEPRECATED(\"old\",\n 4.2) void k();", "[[deprecated(\"old\")]]\n void k();"},
        {"int m = F(1 + 2);", "int m = (1 + 2)+(1 + 2);"},
        // Names inside longer names, comments, literals and preprocessor lines stay.
        {"MY_CV_EXPORTS CV_EXPORTS_W x; // CV_EXPORTS\n",
         "MY_CV_EXPORTS CV_EXPORTS_W x; // CV_EXPORTS\n"},
        {"/** CV_EXPORTS */ const char* s = \"CV_EXPORTS\";",
         "/** CV_EXPORTS */ const char* s = \"CV_EXPORTS\";"},
        {"#define CV_EXPORTS \\\n  CV_EXPORTS\nCV_EXPORTS int n;",
         "#define CV_EXPORTS \\\n  CV_EXPORTS\nint n;"},
        // A bare name, a function-like name without a call, or a call that does not close.
        {"FLAG int p; F + 1; __attribute__((x)", "FLAG int p; F + 1; __attribute__((x)"},
        {"BAD(1) 3D", "BAD(1) 3D"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(macros.Expand(c.code), c.expanded) << c.code;
    }
    EXPECT_TRUE(PredefinedMacros({"FLAG", "not a definition"}).empty());
}

}  // namespace
}  // namespace sylva
