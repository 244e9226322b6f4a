#include <gtest/gtest.h>

#include "horlox_watch/tool_arguments.h"

namespace {

const CommandOptions renderOptions = {{"--right-hand"}, {"--time", "-o"}};

TEST(ToolArguments, OptionsMayStandAnywhereAndDashDashEndsThem) {
    const ParsedArguments parsed = parseArguments(
        {"-o", "out.png", "Classic", "--right-hand", "--time", "03:00:00", "--", "-x", "--help"}, renderOptions);
    EXPECT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.operands, (std::vector<std::string>{"Classic", "-x", "--help"}));
    EXPECT_TRUE(parsed.has("--right-hand"));
    EXPECT_FALSE(parsed.has("--help"));
    EXPECT_EQ(parsed.values, (std::map<std::string, std::string>{{"-o", "out.png"}, {"--time", "03:00:00"}}));
    // A value is taken as it comes, even when it looks like an option.
    EXPECT_EQ(parseArguments({"-o", "--right-hand"}, renderOptions).values.at("-o"), "--right-hand");
    EXPECT_EQ(parseArguments({"-"}, renderOptions).operands, (std::vector<std::string>{"-"}));
    EXPECT_TRUE(parseArguments({"--help"}, {}).has("--help"));
}

TEST(ToolArguments, SaysWhatIsWrong) {
    const std::pair<std::vector<std::string>, std::string> mistakes[] = {
        {{"--scale", "2"}, "unknown option '--scale'"},
        {{"Classic", "-o"}, "option '-o' needs a value"},
        {{"-o", "a.png", "-o", "b.png"}, "option '-o' is given twice"},
        {{"--Right-Hand"}, "unknown option '--Right-Hand'"}};
    for (const auto& [arguments, error] : mistakes) EXPECT_EQ(parseArguments(arguments, renderOptions).error, error);
}

}  // namespace
