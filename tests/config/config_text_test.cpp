#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "config/config_text.h"

namespace {

using Values = std::map<std::string, std::string>;

ConfigFile parse(std::string_view text) { return parseConfig(text.data(), text.data() + text.size()); }

std::vector<std::string> sectionNames(const ConfigFile& config) {
    std::vector<std::string> names;
    for (const ConfigSection& section : config.sections) names.push_back(section.name);
    return names;
}

TEST(ConfigParse, InputWithoutKeyLinesGivesOnlyTheEmptyUnnamedSection) {
    for (std::string_view text : {"", "\n", " \t \n\t\t\n", "\t\t"}) {
        ConfigFile config = parse(text);
        ASSERT_EQ(config.sections.size(), 1u) << '"' << text << '"';
        EXPECT_EQ(config.sections[0].name, "");
        EXPECT_TRUE(config.sections[0].values.empty());
    }
}

TEST(ConfigParse, KeyLinesLandInTheSectionOpenedLast) {
    ConfigFile config = parse("a=1\n:watch\nname=X\n");
    EXPECT_EQ(sectionNames(config), (std::vector<std::string>{"", "watch"}));
    EXPECT_EQ(config.sections[0].values, (Values{{"a", "1"}}));
    EXPECT_EQ(config.sections[1].values, (Values{{"name", "X"}}));

    ConfigFile startsWithSection = parse(":watch\nname=X");
    EXPECT_EQ(sectionNames(startsWithSection), (std::vector<std::string>{"", "watch"}));
    EXPECT_TRUE(startsWithSection.sections[0].values.empty());
}

TEST(ConfigParse, RepeatedSectionNamesStaySeparateAndTheFirstKeyWinsInEach) {
    ConfigFile config = parse("k=1\nk=2\n:watch\nk=3\nk=4\n:watch\nk=5\n");
    EXPECT_EQ(sectionNames(config), (std::vector<std::string>{"", "watch", "watch"}));
    EXPECT_EQ(config.sections[0].values, (Values{{"k", "1"}}));
    EXPECT_EQ(config.sections[1].values, (Values{{"k", "3"}}));
    EXPECT_EQ(config.sections[2].values, (Values{{"k", "5"}}));
}

TEST(ConfigParse, CarriageReturnsStayInSectionNamesKeysAndValues) {
    ConfigFile config = parse("a=1\r\nflag\r\n:watch\r\nname=X\r\n");
    EXPECT_EQ(config.sections[0].values, (Values{{"a", "1\r"}, {"flag\r", "flag\r"}}));
    EXPECT_EQ(sectionNames(config), (std::vector<std::string>{"", "watch\r"}));
    EXPECT_EQ(config.sections[1].values, (Values{{"name", "X\r"}}));
}

TEST(ConfigParse, OnlySpacesAndTabsAroundTheLineAndTheKeyAreDropped) {
    ConfigFile config = parse("  key  =  value  \n\thand\t=x\t\nfile = a.png\n\vv=1\nsp=a b\n");
    EXPECT_EQ(config.sections[0].values, (Values{{"key", "  value"},
                                                 {"hand", "x"},
                                                 {"file", " a.png"},
                                                 {"\vv", "1"},
                                                 {"sp", "a b"}}));
}

TEST(ConfigParse, KeyLineForms) {
    ConfigFile config = parse("x=a=b\nCONTINUOUS\n=v\nk=\n# note\n[face]\n;c=1");
    EXPECT_EQ(config.sections[0].values, (Values{{"x", "a=b"},
                                                 {"CONTINUOUS", "CONTINUOUS"},
                                                 {"", "v"},
                                                 {"k", ""},
                                                 {"# note", "# note"},
                                                 {"[face]", "[face]"},
                                                 {";c", "1"}}));
}

TEST(ConfigParse, SectionNameIsTheRestOfTheTrimmedLine) {
    ConfigFile config = parse(": face\n  :watch  \n:\n::x\n");
    EXPECT_EQ(sectionNames(config), (std::vector<std::string>{"", " face", "watch", "", ":x"}));
}

TEST(ConfigParse, ReadsExactlyTheGivenBytes) {
    // Neither NUL-terminated nor cut at NUL bytes; non-ASCII bytes pass unchanged.
    const std::string content("name=Uhr \xC3\xBC\nbin=a\0b\nlast=12", 27);
    const std::string buffer = content + "IGNORED";
    ConfigFile config = parseConfig(buffer.data(), buffer.data() + content.size());
    EXPECT_EQ(config.sections[0].values, (Values{{"name", "Uhr \xC3\xBC"},
                                                 {"bin", std::string("a\0b", 3)},
                                                 {"last", "12"}}));
}

TEST(ConfigParse, TracesEachKeyLineWithItsLineNumber) {
    testing::internal::CaptureStdout();
    parse("a=1\n\n:watch\n  b = 2 \r\nflag");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "1a=1\n4b = 2 \r\n5flag\n");
}

TEST(ConfigParse, TraceCanBeTurnedOff) {
    testing::internal::CaptureStdout();
    configTraceEnabled = false;
    ConfigFile config = parse("a=1\n");
    configTraceEnabled = true;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(config.sections[0].values, (Values{{"a", "1"}}));
}

TEST(ConfigParse, RecordsTheLineOfEverySectionAndKeyLineRepeatsIncluded) {
    ConfigFile config = parse("top\n\n:watch\r\n  name = A\n\t\nname=B\n:face\nfile\n");
    ASSERT_EQ(config.sections.size(), 3u);
    auto keyLines = [&](std::size_t section) {
        std::vector<std::pair<std::string, std::size_t>> lines;
        for (const ConfigKeyLine& keyLine : config.sections[section].keyLines)
            lines.emplace_back(keyLine.key, keyLine.line);
        return lines;
    };
    using Lines = std::vector<std::pair<std::string, std::size_t>>;
    EXPECT_EQ(config.sections[0].line, 0u);
    EXPECT_EQ(keyLines(0), (Lines{{"top", 1}}));
    EXPECT_EQ(config.sections[1].line, 3u);
    EXPECT_EQ(keyLines(1), (Lines{{"name", 4}, {"name", 6}}));
    EXPECT_EQ(config.sections[1].values, (Values{{"name", " A"}}));
    EXPECT_EQ(config.sections[2].line, 7u);
    EXPECT_EQ(keyLines(2), (Lines{{"file", 8}}));
}

TEST(ConfigSectionGet, GivesTheStoredValueOrNothingOrTheFallback) {
    ConfigSection section = parse("name=Classic\nempty=\n").sections[0];
    EXPECT_EQ(section.get("name"), "Classic");
    EXPECT_EQ(section.get("Name"), std::nullopt);
    EXPECT_EQ(section.get("empty"), "");
    EXPECT_EQ(section.get("name", "fallback"), "Classic");
    EXPECT_EQ(section.get("empty", "fallback"), "");
    EXPECT_EQ(section.get("missing", "fallback"), "fallback");
}

TEST(ConfigParseBool, DecidesOnTheLeadingBytes) {
    const std::vector<std::pair<std::string_view, bool>> table = {
        {"", false},     {"0", false},     {"01", false},    {"1", true},       {"10", true},
        {"1abc", true},  {"true", true},   {"TRUE", true},   {"True", true},    {"TrUe", true},
        {"TRUEX", true}, {"trux", false},  {"false", false}, {"yes", false},    {"no", false},
        {"on", false},   {"t", false},     {"T", false},     {"tr", false},     {"tru", false},
        {"TRU", false},  {" true", false}, {"true\r", true}, {"\xF4rue", false}, {"2", false},
    };
    for (const auto& [text, expected] : table) EXPECT_EQ(parseBool(text), expected) << '"' << text << '"';
}

}  // namespace
