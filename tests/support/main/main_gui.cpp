// Test main for tests of windows: the component layer offscreen.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/vcl/vcl.h"
#include "support/test_env.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    test_env::Setup();
    Application->Initialize();
    return RUN_ALL_TESTS();
}
