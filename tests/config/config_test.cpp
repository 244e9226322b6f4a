// The config text and the settings file written in it.
#include <gtest/gtest.h>
#include <filesystem>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "config/config_text.h"
#include "config/settings.h"
#include "support/debug_output_capture.h"
#include "support/test_files.h"

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
        // A CR before the LF ends the line too, as Windows editors save it; another CR stays.
        {"a=1\r\nflag\r\n:watch\r\nname=X\r\nend=\r", ":{a=1|flag=flag|}:watch{end=|name=X|}"},
        {"a=\r1\r\r\n:w\r\rx\n", ":{a=\r1\r|}:w\r\rx{}"},
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
              ":0{top=top|top1}:watch3{name= A|name4name6}:face7{file=file|file8}");
}

TEST(ConfigParseBool, DecidesOnTheLeadingBytes) {
    for (std::string_view yes : {"1", "10", "1abc", "true", "TRUE", "True", "TrUe", "TRUEX", "true\r"})
        EXPECT_TRUE(parseBool(yes)) << yes;
    for (std::string_view no : {"", "0", "01", "trux", "false", "yes", "no", "on", "t", "T", "tr", "tru", "TRU",
                                " true", "\xF4rue", "2"})
        EXPECT_FALSE(parseBool(no)) << no;
    EXPECT_FALSE(parseBool(std::string_view("true", 3))) << "a prefix, though the rest follows in memory";
}

namespace fs = std::filesystem;

class SettingsFile : public ::testing::Test {
protected:
    // Loads into settings that differ from the defaults, to see what load changes.
    Settings loadOverChosenValues() {
        Settings settings;
        settings.watchOnRightHand = true;
        settings.initialWatchName = "Before";
        settings.watchVisibility = WatchVisibility::Off;
        settings.placement = {10, 1, 2};
        settings.notifications = {false, false, false, false};
        settings.load(path);
        return settings;
    }

    TemporaryDirectory directory;
    std::string path = directory.path() + "/settings.conf";
};

auto fields(const Settings& s) {
    return std::make_tuple(s.watchOnRightHand, s.initialWatchName, s.watchVisibility, s.placement,
                           s.notifications.shown, s.notifications.fromDesktop, s.notifications.fromXsOverlay,
                           s.notifications.fromOvrToolkit);
}

// Keys newer than the first two are written only when chosen, so a user who
// never chose them keeps the file as it was.
TEST_F(SettingsFile, SaveWritesWhatLoadReadsBack) {
    Settings settings;
    settings.initialWatchName = "Classic";
    ASSERT_TRUE(settings.save(path));
    EXPECT_EQ(readWholeFile(path), "watchOnRightHand=false\ninitialWatchName=Classic\n");
    settings.watchOnRightHand = true;
    settings.initialWatchName = "  Zifferblatt \xC3\xBC";
    settings.watchVisibility = WatchVisibility::WhenLookedAt;
    settings.placement = {4.5f, -5, 30};
    settings.notifications = {false, false, true, false};
    ASSERT_TRUE(settings.save(path));
    EXPECT_EQ(readWholeFile(path), "watchOnRightHand=true\ninitialWatchName=  Zifferblatt \xC3\xBC\n"
                                   "watchVisibility=whenLookedAt\nwatchWidthCm=4.5\nwatchOffsetCm=-5\n"
                                   "watchTiltDegrees=30\nnotifications=off\nnotificationsFromDesktop=false\n"
                                   "notificationsFromOvrToolkit=false\n");
    EXPECT_EQ(fields(loadOverChosenValues()), fields(settings));
    EXPECT_EQ(std::distance(fs::directory_iterator(directory.path()), fs::directory_iterator()), 1)
        << "no temporary file stays behind";
}

// Values are read as the config format reads them, from the unnamed first
// section; absent keys and unreadable values give the defaults, numbers out
// of range the nearest in range.
TEST_F(SettingsFile, LoadTakesEachKeysValueOrItsDefault) {
    using V = WatchVisibility;
    const WristPlacement standard;
    const std::tuple<std::string, bool, std::string, WatchVisibility, WristPlacement> files[] = {
        {"", false, "", V::Always, standard},
        {":settings\nwatchOnRightHand=true\ninitialWatchName=Classic\n", false, "", V::Always, standard},
        {"watchOnRightHand=1\ninitialWatchName=First\ninitialWatchName=Second\n", true, "First", V::Always, standard},
        {"watchOnRightHand=true\r\ninitialWatchName=Digital\r\nwatchWidthCm=8\r\nwatchVisibility=off\r", true,
         "Digital", V::Off, {8, standard.offsetCm, standard.tiltDegrees}},
        {"watchVisibility=whenLookedAt\nwatchWidthCm=4\nwatchOffsetCm=-5\nwatchTiltDegrees=30\n", false, "",
         V::WhenLookedAt, {4, -5, 30}},
        {"watchVisibility=off\nwatchWidthCm=12\nwatchOffsetCm=5\nwatchTiltDegrees=-30\nfuture=1\n", false, "", V::Off,
         {12, 5, -30}},
        {"watchVisibility=WhenLookedAt\nwatchWidthCm=3.9\nwatchOffsetCm=5.1\nwatchTiltDegrees=-31\n", false, "",
         V::Always, {4, 5, -30}},
        {"watchOnRightHand=yes\nwatchWidthCm=7cm\nwatchOffsetCm= 1\nwatchTiltDegrees=nan\n", false, "", V::Always,
         standard},
        {"watchWidthCm=inf\nwatchOffsetCm=1e999\nwatchTiltDegrees=0x10\n", false, "", V::Always, standard}};
    for (const auto& [text, right, name, visibility, placement] : files) {
        writeFile(path, text);
        EXPECT_EQ(fields(loadOverChosenValues()), std::make_tuple(right, name, visibility, placement, true, true, true, true))
            << text;
    }
    // Notifications stay on unless a key says "off" or "false"; the log says
    // what is used instead of a value the program cannot take.
    const LogCapture output;
    writeFile(path, "notifications=no\nnotificationsFromDesktop=0\nnotificationsFromXsOverlay=false\n"
                    "notificationsFromOvrToolkit=False\n");
    const Settings loaded = loadOverChosenValues();
    EXPECT_EQ(std::make_tuple(loaded.notifications.shown, loaded.notifications.fromDesktop,
                              loaded.notifications.fromXsOverlay, loaded.notifications.fromOvrToolkit),
              std::make_tuple(true, true, false, true));
    EXPECT_NE(output.messages().find(path + ": notifications=no is not on or off; using on\n"), std::string::npos);
    // A file that cannot be read changes nothing.
    fs::remove(path);
    EXPECT_EQ(loadOverChosenValues().initialWatchName, "Before");
    fs::create_directory(path);
    EXPECT_EQ(loadOverChosenValues().initialWatchName, "Before");
}

// Comments, a newer version's keys and sections survive a save, in their
// order after the program's own lines; the program's own keys are not repeated.
TEST_F(SettingsFile, SaveKeepsTheLinesItDoesNotOwn) {
    writeFile(path, "# chosen by hand\r\nwatchOnRightHand=true\nfutureKey = 3\n\ninitialWatchName=Gone\n"
                    "initialWatchName=Second\n  # indented note\n:later\nwatchWidthCm=9\n");
    Settings settings = loadOverChosenValues();
    settings.initialWatchName = "Classic";
    ASSERT_TRUE(settings.save(path));
    EXPECT_EQ(readWholeFile(path), "watchOnRightHand=true\ninitialWatchName=Classic\n# chosen by hand\n"
                                   "futureKey = 3\n  # indented note\n:later\nwatchWidthCm=9\n");
}

// A save that fails leaves the old file whole and says why, in the settings
// for the menu and once in the log; the next save tries again. A file that
// is replaced keeps its permissions. (A read-only one is the menu's and the
// program's test: menu_panel_test.cpp, program_test.cpp.)
TEST_F(SettingsFile, FailedSavesLeaveTheOldFileAndSayWhy) {
    const LogCapture output;
    Settings settings;
    std::string saidInTheLog;
    auto expectFailure = [&](const std::string& target, const std::string& reason) {
        EXPECT_FALSE(settings.save(target));
        EXPECT_FALSE(settings.save(target));
        EXPECT_EQ(settings.saveFailure.rfind(target + reason, 0), 0u) << settings.saveFailure;
        saidInTheLog += "Your choices cannot be saved: " + settings.saveFailure + "\n";
    };
    const std::string old = "watchOnRightHand=true\ninitialWatchName=Old\n";
    writeFile(path, old);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    const fs::perms chosen = fs::status(path).permissions();
    fs::create_directory(path + ".tmp");  // the temporary file cannot be made
    expectFailure(path, " cannot be written: ");
    EXPECT_EQ(readWholeFile(path), old);
    fs::remove(path + ".tmp");
    EXPECT_TRUE(settings.save(path));
    EXPECT_EQ(settings.saveFailure, "");
    EXPECT_EQ(readWholeFile(path), "watchOnRightHand=false\ninitialWatchName=\n");
    EXPECT_EQ(fs::status(path).permissions(), chosen);

    fs::remove(path);
    fs::create_directory(path);
    expectFailure(path, " is a directory");
    expectFailure(directory.path() + "/missing/settings.conf", " cannot be written: its folder does not exist");
    EXPECT_EQ(output.messages(), saidInTheLog) << "once for each new reason";
}

}  // namespace
