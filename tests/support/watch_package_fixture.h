#pragma once

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "support/test_files.h"
#include "watch/watch.h"
#include "watch/watch_renderer.h"

// Tests that write a watch package folder and load it with the program's
// loader, in the program's GL context.
class WatchPackageTest : public ::testing::Test {
protected:
    void SetUp() override;
    // Writes a file into the package folder.
    void add(const std::string& name, const std::string& bytes);
    std::string packagePath() const { return scratch.path() + "/watch"; }
    // The watch loaded from the path (the package folder by default), kept
    // alive by the fixture.
    Watch& load(const std::string& path);
    Watch& load() { return load(packagePath()); }
    // The watch as the main loop draws it into its 256 x 256 target after the
    // program's fixed GL state; rows from the top.
    static Image draw(const Watch& watch, const WatchReadings& readings, bool rightHand = false);

    TemporaryDirectory scratch;
    FT_Library fontLibrary = nullptr;
    std::vector<std::unique_ptr<Watch>> watches;
};

// The process's FreeType library for tests, made once.
FT_Library testFontLibrary();
