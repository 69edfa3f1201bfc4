// Test entry point of the layers below the windows: no Qt at all, so these tests
// show that the protocol, the engine and the plan code need none.

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
