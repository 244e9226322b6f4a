#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "horlox_watch/package_check.h"
#include "support/test_files.h"
#include "support/watch_package_fixture.h"

namespace {

const std::uint8_t red[] = {255, 0, 0, 255};

using Lines = std::vector<std::string>;

// Packages written by the fixture, checked with the program's loader in the
// test GL context.
class PackageCheckTest : public WatchPackageTest {
protected:
    PackageCheck check(const std::string& path) { return checkPackage(path, fontLibrary); }
    Lines findings(const PackageCheck& checked) {
        Lines lines;
        for (const Finding& finding : checked.findings) lines.push_back(formatFinding(checked.packagePath, finding));
        return lines;
    }
    Lines findings(const std::string& path) { return findings(check(path)); }
};

TEST_F(PackageCheckTest, LayersLeftOutForTheirImagesOrFonts) {
    add("dial.png", pngOfColour(8, 8, 4, red));
    add("wide.png", pngOfColour(300, 4, 4, red));
    add("huge.png", pngOfColour(4097, 1, 4, red));
    add("broken.png", pngOfColour(8, 8, 4, red).substr(0, 60));
    add("font.ttf", dejaVuSansBytes());
    add("config",
        ":watch\nname=A\n"
        ":face\nfile=dial.png\n"             // 3: fine
        ":face\nfile=missing.png\n"          // 5
        ":face\nfile=broken.png\n"           // 7
        ":face\nfile=huge.png\n"             // 9
        ":hand\nfile=wide.png\nbind=HOUR\n"  // 11: loads, but overflows the canvas
        ":hand\nbind=HOUR\n"                 // 14
        ":face\nfile=../watch/dial.png\n"    // 16: outside the package
        ":text\nfontfamily=font.ttf\n"       // 18: fine
        ":text\nfontfamily=gone.ttf\n"       // 20
        ":text\nfontfamily=dial.png\n"       // 22
        ":text\nfontsize=9\n");              // 24
    const std::string p = packagePath() + "/config:", out = "; the layer is left out";
    EXPECT_EQ(findings(packagePath()),
              (Lines{p + "6: error: image 'missing.png' is not in the package" + out,
                     p + "8: error: image 'broken.png' cannot be decoded" + out,
                     p + "10: error: image 'huge.png' is 4097 x 1 pixels, over the 4096 a side that the program "
                         "accepts" + out,
                     p + "12: warning: image 'wide.png' is 300 x 4 pixels, larger than the 256 x 256 canvas",
                     p + "14: error: ':hand' has no 'file'" + out,
                     p + "17: error: image '../watch/dial.png' is not in the package" + out,
                     p + "21: error: font 'gone.ttf' is not in the package" + out,
                     p + "23: error: font 'dial.png' cannot be opened" + out,
                     p + "24: error: ':text' has no 'fontfamily'" + out}));
}

// A layer left out does not count; past the 200th nothing is looked at.
TEST_F(PackageCheckTest, OnlyTheFirstTwoHundredLayersAreDrawn) {
    add("dot.png", pngOfColour(1, 1, 4, red));
    std::string config = ":watch\nname=A\n:face\nfile=gone.png\n";
    for (int layer = 0; layer < 200; ++layer) config += ":face\nfile=dot.png\n";
    add("config", config + ":hand\nfile=gone.png\nbind=HOUR\n:face\nfile=dot.png\n");
    const std::string p = packagePath() + "/config:";
    EXPECT_EQ(findings(packagePath()),
              (Lines{p + "4: error: image 'gone.png' is not in the package; the layer is left out",
                     p + "405: error: the program draws only the first 200 layers; from this one on, none is drawn"}));
}

TEST_F(PackageCheckTest, PackagesWithoutConfigAndLaterOnesWithAKnownName) {
    add("dial.png", pngOfColour(8, 8, 4, red));
    writeFile(scratch.path() + "/notes.txt", "not an archive");
    EXPECT_EQ(findings(packagePath()),
              Lines{packagePath() + "/config: error: there is no such file, so the watch has no name and no layers"});
    EXPECT_EQ(findings(scratch.path() + "/notes.txt"),
              Lines{scratch.path() + "/notes.txt/config: error: the archive holds no such file, or is no 7z "
                                     "archive that the program reads"});
    std::vector<PackageCheck> checks;
    for (const char* folder : {"one", "two", "three"}) {
        writeFile(scratch.path() + "/" + folder + "/config",
                  std::string(":watch\ndescription=x\nname=") + (folder[0] == 't' ? "Twin" : "One") + "\n");
        checks.push_back(check(scratch.path() + "/" + folder));
    }
    reportDuplicateNames(checks);
    EXPECT_TRUE(checks[0].findings.empty());
    EXPECT_TRUE(checks[1].findings.empty());
    EXPECT_EQ(findings(checks[2]), Lines{scratch.path() + "/three/config:3: error: watch name 'Twin' is also the "
                                                          "name of " + scratch.path() + "/two; the program shows only "
                                                          "one of them"});
}

}  // namespace
