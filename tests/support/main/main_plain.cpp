// Test main for tests without a user interface; before each test the
// process's folders and environment as Setup made them.
#include <gtest/gtest.h>

#include "support/test_env.h"

namespace {
class RestoreBeforeEachTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { test_env::RestoreProcessState(); }
};
}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    test_env::Setup();
    ::testing::UnitTest::GetInstance()->listeners().Append(new RestoreBeforeEachTest);
    return RUN_ALL_TESTS();
}
