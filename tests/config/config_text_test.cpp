#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

#include "config/config_text.h"

namespace {

ConfigFile parse(std::string_view text) { return parseConfig(text.data(), text.data() + text.size()); }

// The sections as ":name{key=value|...}", and each key line's number.
std::string dump(const ConfigFile& config, bool withLines = false) {
    std::string text;
    for (const ConfigSection& section : config.sections) {
        text += ":" + section.name + (withLines ? std::to_string(section.line) : "") + "{";
        for (const auto& [key, value] : section.values) text += key + "=" + value + "|";
        if (withLines)
            for (const ConfigKeyLine& keyLine : section.keyLines) text += keyLine.key + std::to_string(keyLine.line);
        text += "}";
    }
    return text;
}

TEST(ConfigParse, SectionsAndKeyLines) {
    const std::pair<std::string, std::string> cases[] = {
        // Input without key lines gives only the empty unnamed section.
        {"", ":{}"}, {"\n", ":{}"}, {" \t \n\t\t\n", ":{}"}, {"\t\t", ":{}"},
        {"a=1\n:watch\nname=X\n", ":{a=1|}:watch{name=X|}"},
        {":watch\nname=X", ":{}:watch{name=X|}"},
        // Repeated sections stay separate and the first line of a key wins in each.
        {"k=1\nk=2\n:watch\nk=3\nk=4\n:watch\nk=5\n", ":{k=1|}:watch{k=3|}:watch{k=5|}"},
        // Carriage returns stay; only spaces and tabs around the line and the key go.
        {"a=1\r\nflag\r\n:watch\r\nname=X\r\n", ":{a=1\r|flag\r=flag\r|}:watch\r{name=X\r|}"},
        {"  key  =  value  \n\thand\t=x\t\nfile = a.png\n\vv=1\nsp=a b\n",
         ":{\vv=1|file= a.png|hand=x|key=  value|sp=a b|}"},
        // A line without '=' is its own key and value.
        {"x=a=b\nCONTINUOUS\n=v\nk=\n# note\n[face]\n;c=1",
         ":{=v|# note=# note|;c=1|CONTINUOUS=CONTINUOUS|[face]=[face]|k=|x=a=b|}"},
        {": face\n  :watch  \n:\n::x\n", ":{}: face{}:watch{}:{}::x{}"},
    };
    for (const auto& [text, sections] : cases) EXPECT_EQ(dump(parse(text)), sections) << text;

    // Exactly the given bytes: neither NUL-terminated nor cut at NUL bytes.
    const std::string buffer("name=Uhr \xC3\xBC\nbin=a\0b\nlast=12IGNORED", 34);
    EXPECT_EQ(dump(parseConfig(buffer.data(), buffer.data() + 27)),
              std::string(":{bin=a\0b|last=12|name=Uhr \xC3\xBC|}", 31));
    EXPECT_EQ(dump(parse("top\n\n:watch\r\n  name = A\n\t\nname=B\n:face\nfile\n"), true),
              ":0{top=top|top1}:watch\r3{name= A|name4name6}:face7{file=file|file8}");
}

TEST(ConfigParse, TracesEachKeyLineWithItsLineNumberUnlessTurnedOff) {
    testing::internal::CaptureStdout();
    parse("a=1\n\n:watch\n  b = 2 \r\nflag");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "1a=1\n4b = 2 \r\n5flag\n");
    testing::internal::CaptureStdout();
    configTraceEnabled = false;
    const ConfigFile config = parse("a=1\n");
    configTraceEnabled = true;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(dump(config), ":{a=1|}");
}

TEST(ConfigSectionGet, GivesTheStoredValueOrNothingOrTheFallback) {
    const ConfigSection section = parse("name=Classic\nempty=\n").sections[0];
    EXPECT_EQ(section.get("name"), "Classic");
    EXPECT_EQ(section.get("Name"), std::nullopt);
    EXPECT_EQ(section.get("empty"), "");
    EXPECT_EQ(section.get("empty", "fallback"), "");
    EXPECT_EQ(section.get("missing", "fallback"), "fallback");
}

TEST(ConfigParseBool, DecidesOnTheLeadingBytes) {
    for (std::string_view yes : {"1", "10", "1abc", "true", "TRUE", "True", "TrUe", "TRUEX", "true\r"})
        EXPECT_TRUE(parseBool(yes)) << yes;
    for (std::string_view no : {"", "0", "01", "trux", "false", "yes", "no", "on", "t", "T", "tr", "tru", "TRU",
                                " true", "\xF4rue", "2"})
        EXPECT_FALSE(parseBool(no)) << no;
    EXPECT_FALSE(parseBool(std::string_view("true", 3))) << "a prefix, though the rest follows in memory";
}

}  // namespace
