#include "support/hostile_packages.h"

#include <filesystem>

#include "support/test_files.h"

namespace fs = std::filesystem;

std::string outsideImagePath(const std::string& watchesFolder) {
    return (fs::absolute(watchesFolder).parent_path() / "outside.png").string();
}

void installHostilePackages(const std::string& watchesFolder) {
    const fs::path watches(watchesFolder);
    fs::create_directories(watches);
    fs::copy(HORLOX_HOSTILE_PACKAGES, watches, fs::copy_options::recursive);
    const std::uint8_t opaqueWhite[] = {255, 255, 255, 255};

    // A config of 10 MB without a line feed.
    writeFile(watches / "LongLine" / "config", "description=" + std::string(10'000'000, 'x'));

    // 10000 sections of every kind, each a usable layer.
    const fs::path many = watches / "ManySections";
    writeFile(many / "dot.png", pngOfColour(1, 1, 4, opaqueWhite));
    writeFile(many / "font.ttf", dejaVuSansBytes());
    std::string config = ":watch\nname=Hostile Many Sections\n";
    const char* sections[] = {":face\nfile=dot.png\n", ":hand\nfile=dot.png\nbind=SECOND\n",
                              ":text\nfontfamily=font.ttf\ntext=%S\n", ":unknown\n"};
    for (int i = 0; i < 10000; ++i) config += sections[i % 4];
    writeFile(many / "config", config);

    // Every layer names the same valid image or a real font, by a path that
    // climbs out of the package or is absolute.
    const std::string outside = outsideImagePath(watchesFolder);
    writeFile(outside, pngOfColour(4, 4, 4, opaqueWhite));
    writeFile(watches / "EscapingNames" / "config",
              ":watch\nname=Hostile Escaping Names\n"
              ":face\nfile=../../outside.png\n"
              ":hand\nfile=sub/../../../outside.png\nbind=SECOND\n"
              ":face\nfile=" + outside + "\n"
              ":text\nfontfamily=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf\ntext=%S\n");
}
