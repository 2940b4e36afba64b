// The library's version, compiled in so that a program can compare it with its headers.
#include "nursery/core/nursery.h"

namespace nursery {

extern "C" int NurseryVersion()
{
    return NURSERY_VERSION;
}

}  // namespace nursery
