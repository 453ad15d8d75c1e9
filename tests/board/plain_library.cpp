// A library for the binding tests that loads but exports no StaticFactory.
#define TEST_EXPORT __attribute__((visibility("default")))

extern "C" {
TEST_EXPORT int SomethingElse = 1;
}
