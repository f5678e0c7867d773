#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Death tests re-execute the binary: forking a process that holds an X connection is unsafe.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
