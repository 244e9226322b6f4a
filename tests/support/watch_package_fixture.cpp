#include "support/watch_package_fixture.h"

#include "support/gl_test_context.h"
#include "support/test_files.h"
#include "watch/watch_loader.h"

FT_Library testFontLibrary() {
    static FT_Library library = [] {
        FT_Library made = nullptr;
        FT_Init_FreeType(&made);
        return made;
    }();
    return library;
}

void WatchPackageTest::SetUp() {
    ensureGlContext();
    fontLibrary = testFontLibrary();
}

void WatchPackageTest::add(const std::string& name, const std::string& bytes) {
    writeFile(packagePath() + "/" + name, bytes);
}

Watch& WatchPackageTest::load(const std::string& path) {
    watches.push_back(std::make_unique<Watch>());
    watches.back()->fontLibrary = fontLibrary;
    loadWatch(*watches.back(), path);
    return *watches.back();
}
