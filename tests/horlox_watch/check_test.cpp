// What horlox-watch check finds in the config text alone and in the package's
// files; what it finds across packages is the whole tool's test.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "horlox_watch/config_lint.h"
#include "horlox_watch/package_check.h"
#include "support/test_files.h"
#include "support/watch_package_fixture.h"

namespace {

using Lines = std::vector<std::string>;

// The findings as the check prints them, for a package named "w".
Lines lint(const std::string& config) {
    Lines lines;
    for (const Finding& finding : lintConfig(parseConfig(config.data(), config.data() + config.size())))
        lines.push_back(formatFinding("w", finding));
    return lines;
}

TEST(ConfigLint, FindsWhatTheProgramIgnoresOrReadsOtherwiseThanMeant) {
    const std::string longest(63, 'x'), badArc = "' is not EMPTY,FULL in degrees, apart by more than 0 and at "
                                                "most 360; the hand turns from -90 to 90",
                      arcIgnored = "'arc' is ignored: the hand shows no battery",
                      noSize = "':text' has no 'fontsize'; the text is drawn 1 pixel high";
    const std::pair<std::string, Lines> cases[] = {
        // Every key that the program reads passes silently.
        {":watch\nname=Classic\ndescription=Steel\n:face\nfile=dial.png\nmirrorOnRight=1\n:hand\nfile=hour.png\n"
         "bind=HOUR\nmovement=CONTINUOUS\ncenter=14, 20\n:text\nfontfamily=a.ttf\nfontsize= 9\ncenter=204,133\n"
         "text=%d\n",
         {"w/config:14: warning: value of 'fontsize' begins with a blank, which the program keeps"}},
        // Ignored sections are errors when they misspell one.
        {"name=Classic\n:watch\nname=Classic\n:Face\n: hand\n:txet\n:notes\nfile=x\n:\n",
         {"w/config:1: warning: key 'name' is ignored: it stands before the first section",
          "w/config:4: error: section ':Face' is ignored; did you mean ':face'?",
          "w/config:5: error: section ': hand' is ignored; did you mean ':hand'?",
          "w/config:6: error: section ':txet' is ignored; did you mean ':text'?",
          "w/config:7: warning: section ':notes' is ignored", "w/config:9: warning: section ':' is ignored"}},
        // Misspelt keys are errors, and so is every value the program reads otherwise than written.
        {":watch\nname=A\n:face\nFile=dial.png\nfile=dial.png\nfile=other.png\nmirrorOnright=1\ncolour=red\n"
         "CONTINUOUS\n:hand\ncetner=6,10\nflie=h.png\nbind=HOUR\n:text\nfontsise=12\nfontsize=9\n:face\nfilee=x\n",
         {"w/config:4: error: key 'File' in ':face' is ignored; did you mean 'file'?",
          "w/config:6: warning: key 'file' is repeated; the program keeps the value from line 5",
          "w/config:7: error: key 'mirrorOnright' in ':face' is ignored; did you mean 'mirrorOnRight'?",
          "w/config:8: warning: key 'colour' in ':face' is ignored",
          "w/config:9: warning: key 'CONTINUOUS' in ':face' is ignored",
          "w/config:11: error: key 'cetner' in ':hand' is ignored; did you mean 'center'?",
          "w/config:12: error: key 'flie' in ':hand' is ignored; did you mean 'file'?",
          "w/config:15: error: key 'fontsise' in ':text' is ignored; did you mean 'fontsize'?",
          "w/config:18: error: key 'filee' in ':face' is ignored; did you mean 'file'?"}},
        {":watch\nname=A\n:face\nmirrorOnRight=yes\n:face\nmirrorOnRight=TRUE\n:hand\nbind=minute\nmovement=smooth\n"
         "center=6;10\n:hand\nbind=MINUTES\nmovement=continuous\ncenter=6.5,10\n:text\nfontsize=twelve\ncenter=1.5,2\n"
         "text=%H:%M:%Q %i%\n:text\nfontsize=0\nbattery=left\ntext=%c%% %+ %d\n:text\n",
         {"w/config:4: error: 'mirrorOnRight' value 'yes' is not true or false (1 or 0); the program reads it as false",
          "w/config:8: error: bind value 'minute' is not HOUR, MINUTE or SECOND; the program reads it as MINUTE",
          "w/config:9: error: movement 'smooth' is not CONTINUOUS; the hand moves in steps",
          "w/config:10: error: center '6;10' is not X,Y in pixels; the program reads only the numbers at its start",
          "w/config:12: error: bind value 'MINUTES' is not HOUR, MINUTE or SECOND; the program reads it as MINUTE",
          "w/config:16: error: fontsize 'twelve' is no size in points; the text is drawn 1 pixel high",
          "w/config:17: error: center '1.5,2' is not X,Y in whole pixels; the program reads only the numbers at its start",
          "w/config:18: error: text '%H:%M:%Q %i%' holds '%Q', '%i', '%', which the program does not know and writes "
          "as it stands",
          "w/config:20: error: fontsize '0' is no size in points; the text is drawn 1 pixel high",
          "w/config:22: error: text '%c%% %+ %d' holds '%d', which the program does not know and writes as it stands",
          "w/config:23: error: ':text' has no 'fontsize'; the text is drawn 1 pixel high"}},
        // CR LF ends lines; blanks and a second CR stay in the value.
        {":watch\r\nname=A\r\n:face\r\nfile= dial.png\r\nmirrorOnRight=1\r\r\n:text\nfontsize=9\ntext=\t%H\r\n",
         {"w/config:4: warning: value of 'file' begins with a blank, which the program keeps",
          "w/config:5: warning: value of 'mirrorOnRight' ends with a carriage return, which the program keeps",
          "w/config:5: error: 'mirrorOnRight' value '1\\r' is not true or false (1 or 0); the program reads it as true",
          "w/config:8: warning: value of 'text' begins with a blank, which the program keeps"}},
        // The last watch section names the watch.
        {":watch\nname=A\n:watch\ndescription=B\n",
         {"w/config:3: warning: section ':watch' is repeated; its name and description replace those from line 1",
          "w/config:3: error: the watch has no name, so the program leaves it out"}},
        {":watch\nname=\n", {"w/config:2: error: the watch has no name, so the program leaves it out"}},
        {"", {"w/config: error: there is no ':watch' section, so the watch has no name and the program leaves it out"}},
        {":watch\nname=A\n:hand\nbind=hour_hand\n:hand\nbind=hr\n:hand\nbind= SECOND\n:hand\n",
         {"w/config:4: error: bind value 'hour_hand' is not HOUR, MINUTE or SECOND; the program reads it as HOUR",
          "w/config:6: error: bind value 'hr' matches no hand (HOUR, MINUTE or SECOND); the hand stays at twelve",
          "w/config:8: warning: value of 'bind' begins with a blank, which the program keeps",
          "w/config:8: error: bind value ' SECOND' matches no hand (HOUR, MINUTE or SECOND); the hand stays at "
          "twelve",
          "w/config:9: warning: ':hand' has no 'bind'; the hand stays at twelve"}},
        {"\xEF\xBB\xBF:watch\nname=A\n",
         {"w/config: error: there is no ':watch' section, so the watch has no name and the program leaves it out",
          "w/config:1: error: the file begins with a byte order mark, which the program reads as part of the first "
          "line; save it as UTF-8 without one",
          "w/config:2: warning: key 'name' is ignored: it stands before the first section"}},
        // Quotes show UTF-8 and escape every other byte.
        {":watch\nname=A\n:Z\xC3\xBCrich \xFC\x01\x7F\n",
         {"w/config:3: warning: section ':Z\xC3\xBCrich \\xFC\\x01\\x7F' is ignored"}},
        {":watch\nname=A\n:text\nfontsize=9\ntext=" + longest + "\n:text\nfontsize=9\ntext=" + longest + "yz\n",
         {"w/config:8: error: text is 65 bytes long; the program keeps only '" + longest + "'"}},
        // Batteries, zones and gauge arcs, and the keys that they make pointless.
        {":watch\nname=A\n:hand\nfile=h.png\nbattery=left\narc=-180,180\nbind=HOUR\n"
         ":text\nfontfamily=f.ttf\nzone=Asia/Tokyo\ntext=%H\ncharging=*\n"
         ":hand\nfile=h.png\nbattery=Left\narc=0,400\nzone=Asia/Tokio\n"
         ":text\nfontfamily=f.ttf\nbattery=hmd\nzone=UTC\ncharging=*\n:hand\nfile=h.png\nbind=HOUR\narc=0,90x\n",
         {"w/config:7: warning: 'bind' is ignored: the hand shows a battery", "w/config:8: error: " + noSize,
          "w/config:12: warning: 'charging' is ignored: the text shows no battery",
          "w/config:13: warning: ':hand' has no 'bind'; the hand stays at twelve",
          "w/config:15: error: battery 'Left' names no device (left, right or hmd); the element shows the time",
          "w/config:16: error: arc '0,400" + badArc, "w/config:16: warning: " + arcIgnored,
          "w/config:17: error: time zone 'Asia/Tokio' is not in the system's tz database; the element shows local time",
          "w/config:18: error: " + noSize,
          "w/config:21: warning: 'zone' is ignored: the element shows a battery",
          "w/config:26: error: arc '0,90x" + badArc, "w/config:26: warning: " + arcIgnored}},
    };
    for (const auto& [config, findings] : cases) EXPECT_EQ(lint(config), findings) << config;
}

const std::uint8_t red[] = {255, 0, 0, 255};

// Packages written by the fixture, checked with the program's loader in the
// test GL context.
class PackageCheckTest : public WatchPackageTest {
protected:
    Lines findings(const std::string& path) {
        Watch watch;
        watch.fontLibrary = fontLibrary;
        const PackageCheck checked = checkPackage(path, watch);
        Lines lines;
        for (const Finding& finding : checked.findings) lines.push_back(formatFinding(checked.packagePath, finding));
        return lines;
    }
};

TEST_F(PackageCheckTest, LayersLeftOutForTheirImagesOrFonts) {
    add("dial.png", pngOfColour(8, 8, 4, red));
    add("wide.png", pngOfColour(300, 4, 4, red));
    add("huge.png", pngOfColour(4097, 1, 4, red));
    add("broken.png", pngOfColour(8, 8, 4, red).substr(0, 60));
    add("font.ttf", dejaVuSansBytes());
    // Which links lead outside is the folder provider's test.
    writeFile(scratch.path() + "/beside/font.ttf", dejaVuSansBytes());
    add("config",
        ":watch\nname=A\n"
        ":face\nfile=dial.png\n"             // 3: fine
        ":face\nfile=missing.png\n"          // 5
        ":face\nfile=broken.png\n"           // 7
        ":face\nfile=huge.png\n"             // 9
        ":hand\nfile=wide.png\nbind=HOUR\n"  // 11: loads, but overflows the canvas
        ":hand\nbind=HOUR\n"                 // 14
        ":face\nfile=../watch/dial.png\n"    // 16: outside the package
        ":text\nfontfamily=font.ttf\nfontsize=9\n"  // 18: fine
        ":text\nfontfamily=gone.ttf\nfontsize=9\n"  // 21
        ":text\nfontfamily=dial.png\nfontsize=9\n"  // 24
        ":text\nfontsize=9\n"                        // 27
        ":text\nfontfamily=../beside/font.ttf\nfontsize=9\n");  // 29
    const std::string p = packagePath() + "/config:", out = "; the layer is left out",
                      outside = " lies outside the package, which the program does not read";
    EXPECT_EQ(findings(packagePath()),
              (Lines{p + "6: error: image 'missing.png' is not in the package" + out,
                     p + "8: error: image 'broken.png' cannot be decoded" + out,
                     p + "10: error: image 'huge.png' is 4097 x 1 pixels, over the 4096 a side that the program "
                         "accepts" + out,
                     p + "12: warning: image 'wide.png' is 300 x 4 pixels, larger than the 256 x 256 canvas",
                     p + "14: error: ':hand' has no 'file'" + out,
                     p + "17: error: image '../watch/dial.png'" + outside + out,
                     p + "22: error: font 'gone.ttf' is not in the package" + out,
                     p + "25: error: font 'dial.png' cannot be opened" + out,
                     p + "27: error: ':text' has no 'fontfamily'" + out,
                     p + "30: error: font '../beside/font.ttf'" + outside + out}));
}

}  // namespace
