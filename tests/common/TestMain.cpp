// The test runner's entry: starts the platform as the programs do, then runs the tests.
#include <gmock/gmock.h>

#include "platform/Startup.h"

int main(int argc, char** argv) {
    lumi::platform::StartPlatform();
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
