// Test main for tests without a user interface.
#include <gtest/gtest.h>

#include "support/test_env.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    test_env::Setup();
    return RUN_ALL_TESTS();
}
