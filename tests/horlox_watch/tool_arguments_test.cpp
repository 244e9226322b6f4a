#include <gtest/gtest.h>

#include "horlox_watch/tool_arguments.h"

namespace {

const CommandOptions renderOptions = {{"--right-hand"}, {"--time", "-o"}};

TEST(ToolArguments, OptionsMayStandAnywhereAndDashDashEndsThem) {
    const ParsedArguments parsed = parseArguments(
        {"-o", "out.png", "Classic", "--right-hand", "--time", "03:00:00", "--", "-x", "--help"},
        renderOptions);
    EXPECT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.operands, (std::vector<std::string>{"Classic", "-x", "--help"}));
    EXPECT_TRUE(parsed.has("--right-hand"));
    EXPECT_FALSE(parsed.has("--help"));
    EXPECT_EQ(parsed.values,
              (std::map<std::string, std::string>{{"-o", "out.png"}, {"--time", "03:00:00"}}));

    // A value is taken as it comes, even when it looks like an option.
    EXPECT_EQ(parseArguments({"-o", "--right-hand"}, renderOptions).values.at("-o"),
              "--right-hand");
    EXPECT_EQ(parseArguments({"-"}, renderOptions).operands, (std::vector<std::string>{"-"}));
    EXPECT_TRUE(parseArguments({"--help"}, {}).has("--help"));
}

TEST(ToolArguments, SaysWhatIsWrong) {
    EXPECT_EQ(parseArguments({"--scale", "2"}, renderOptions).error, "unknown option '--scale'");
    EXPECT_EQ(parseArguments({"Classic", "-o"}, renderOptions).error, "option '-o' needs a value");
    EXPECT_EQ(parseArguments({"-o", "a.png", "-o", "b.png"}, renderOptions).error,
              "option '-o' is given twice");
    EXPECT_EQ(parseArguments({"--Right-Hand"}, renderOptions).error,
              "unknown option '--Right-Hand'");
}

}  // namespace
