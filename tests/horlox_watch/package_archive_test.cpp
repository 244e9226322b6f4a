#include <gtest/gtest.h>
#include <sys/stat.h>

#include "horlox_watch/package_archive.h"
#include "packages/archive_file_provider.h"
#include "support/test_files.h"

namespace {

TEST(PackageArchiveTest, PacksEveryRegularFileButTheArchiveItselfAndNamesTheFilesItCannot) {
    TemporaryDirectory scratch;
    const std::string folder = scratch.path() + "/watch";
    for (const auto& [name, bytes] : {std::pair<std::string, std::string>{"config", ":watch\nname=A\n"},
                                      {"img/face.png", std::string("\x89PNG\0\x01", 6)},
                                      {"empty", ""},
                                      {"Gr\xC3\xBC\xC3\x9F.txt", "utf-8 name"}})
        writeFile(folder + "/" + name, bytes);
    writeFile(folder + "/Watch.7z", "an earlier archive");
    mkfifo((folder + "/pipe").c_str(), 0644);
    const std::vector<std::string> names = packageFileNames(folder, folder + "/Watch.7z");
    EXPECT_EQ(names, (std::vector<std::string>{"Gr\xC3\xBC\xC3\x9F.txt", "config", "empty", "img/face.png"}));
    const PackedArchive packed = packSevenZip(folder, names);
    ASSERT_EQ(packed.error, "");
    writeFile(scratch.path() + "/watch.7z", packed.bytes);
    ArchiveFileProvider archive(scratch.path() + "/watch.7z");
    for (const std::string& name : names) {
        const FileBytes* bytes = archive.getFile(name);
        ASSERT_NE(bytes, nullptr) << name;
        EXPECT_EQ(std::string(bytes->begin(), bytes->end()), readWholeFile(folder + "/" + name)) << name;
    }
    EXPECT_EQ(archive.getFile("img"), nullptr) << "folders are no entries of their own";

    // A file that is gone or whose name is no UTF-8 fails the packing, by name.
    EXPECT_EQ(packSevenZip(folder, {"config", "gone.png"}).error, "cannot read " + folder + "/gone.png");
    writeFile(folder + "/Latin1 \xE9.png", "x");
    EXPECT_EQ(packSevenZip(folder, {"Latin1 \xE9.png"}).error,
              "cannot store the name Latin1 \xE9.png (it is not UTF-8)");
}

}  // namespace
