#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

// Set once RUN_ALL_TESTS has returned; an exit before that is a test ending the process early.
static bool testsFinished = false;

// ctest reads only the exit status, so a stray exit(0) in code under test would pass every test
// that reaches it. Any exit before the run is over becomes a failure.
static void failPrematureExit() {
    if (testsFinished)
        return;
    fprintf(stderr, "dustRidersTests: the process exited before its tests finished\n");
    fflush(stderr);
    _exit(3);
}

int main(int argc, char** argv) {
    // Death tests re-execute the binary: forking a process that holds an X connection is unsafe.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    testing::InitGoogleTest(&argc, argv);
    // The child of an expected-exit check is meant to exit: it keeps its own status.
    if (GTEST_FLAG_GET(internal_run_death_test).empty())
        atexit(failPrematureExit);
    int status = RUN_ALL_TESTS();
    testsFinished = true;
    return status;
}
