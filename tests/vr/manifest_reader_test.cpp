#include <gtest/gtest.h>

#include "vr/simulated/manifest_reader.h"

namespace {

using Keys = std::vector<std::string>;

TEST(VrManifestReaderTest, ReadsTheKeyOfEveryApplicationInOrder) {
    const char* manifest = R"({
        "source": "builtin",
        "applications": [
            {"app_key": "app.quillmere.horlox", "strings": {"en_us": {"name": "Horlox"}}},
            {"launch_type": "binary"},
            {"app_key": 7},
            "not an application",
            {"app_key": "caf\u00e9.\ud83d\ude00", "is_dashboard_overlay": true, "n": -1.5e3}
        ]
    })";
    EXPECT_EQ(readManifestAppKeys(manifest),
              (Keys{"app.quillmere.horlox", "caf\xC3\xA9.\xF0\x9F\x98\x80"}));
}

TEST(VrManifestReaderTest, AManifestWithoutKeysDeclaresNothing) {
    EXPECT_EQ(readManifestAppKeys(R"({"applications": []})"), Keys{});
    EXPECT_EQ(readManifestAppKeys(R"({"applications": [{"app_name": "x"}]})"), Keys{});
}

TEST(VrManifestReaderTest, RefusesTextsThatAreNoManifest) {
    const char* broken[] = {
        "",
        "{",
        "[]",
        R"({"applications": {}})",
        R"({"apps": []})",
        R"({"applications": []} trailing)",
        R"({"applications": [{"app_key": "a
b"}]})",                                               // raw line break in a text
        R"({"applications": [{"app_key": "\ud800"}]})",  // lone surrogate
        R"({"applications": [{"app_key": "\x"}]})",      // unknown escape
        R"({"applications": [01]})",
        R"({"applications": [1.]})",
        R"({"applications": [tru]})",
        R"({"applications": [],})",
        R"({"applications" [ ]})",
    };
    for (const char* text : broken) EXPECT_FALSE(readManifestAppKeys(text)) << text;
}

TEST(VrManifestReaderTest, HostileNestingFailsWithoutExhaustingTheStack) {
    const std::string deep = R"({"applications": )" + std::string(200000, '[');
    EXPECT_FALSE(readManifestAppKeys(deep));
    std::string nested = R"({"applications": [{"app_key": "k", "x": )";
    for (int i = 0; i < 20; ++i) nested += "[";
    for (int i = 0; i < 20; ++i) nested += "]";
    EXPECT_EQ(readManifestAppKeys(nested + "}]}"), Keys{"k"});
}

}  // namespace
