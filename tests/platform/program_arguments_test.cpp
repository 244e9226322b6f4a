#include <gtest/gtest.h>

#include "platform/program_arguments.h"

namespace {

TEST(ProgramArgumentsTest, LaunchCommandLineJoinsTheArgumentsWithSingleBlanks) {
    const char* argv[] = {"horlox", "--offline", "a b", "c"};
    EXPECT_EQ(platform::launchCommandLine(4, argv), "--offline a b c");
    EXPECT_EQ(platform::launchCommandLine(1, argv), "");
}

}  // namespace
