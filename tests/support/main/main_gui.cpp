// Test main for tests of windows: the component layer offscreen, and before
// each test the application as it was at the start, so that no test leans
// on what an earlier one in the same process left behind.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/vcl/vcl.h"
#include "support/app_state.h"
#include "support/test_env.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    test_env::Setup();
    Application->Initialize();
    test_app::Capture();
    ::testing::UnitTest::GetInstance()->listeners().Append(new test_app::ResetBeforeEachTest);
    return RUN_ALL_TESTS();
}
