// A driver library for the binding tests: it exports a StaticFactory object
// whose factory hands out one fixed board interface.
#include "board/plx9050.h"

#define TEST_EXPORT __attribute__((visibility("default")))

namespace {

IPLX9050 theInterface = {nullptr};

IPLX9050* CreateInterface(StaticFactory*, const char*, int32_t)
{
    return &theInterface;
}

const StaticFactoryOperations kOperations = {CreateInterface};

}  // namespace

extern "C" {
TEST_EXPORT struct StaticFactory StaticFactory = {&kOperations};
}
