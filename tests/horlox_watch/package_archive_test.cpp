#include <gtest/gtest.h>

#include <sys/stat.h>
#include <filesystem>

#include "horlox_watch/package_archive.h"
#include "packages/archive_file_provider.h"
#include "support/package_files.h"
#include "support/temporary_directory.h"

namespace {

class PackageArchiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeFile(folder() + "/config", ":watch\nname=A\n");
        writeFile(folder() + "/img/face.png", std::string("\x89PNG\0\x01", 6));
        writeFile(folder() + "/empty", "");
        writeFile(folder() + "/Gr\xC3\xBC\xC3\x9F.txt", "utf-8 name");
    }
    std::string folder() const { return scratch.path() + "/watch"; }
    TemporaryDirectory scratch;
};

TEST_F(PackageArchiveTest, NamesEveryRegularFileBelowTheFolderButTheArchiveItself) {
    writeFile(folder() + "/Watch.7z", "an earlier archive");
    mkfifo((folder() + "/pipe").c_str(), 0644);
    EXPECT_EQ(
        packageFileNames(folder(), folder() + "/Watch.7z"),
        (std::vector<std::string>{"Gr\xC3\xBC\xC3\x9F.txt", "config", "empty", "img/face.png"}));
}

TEST_F(PackageArchiveTest, TheArchiveHoldsTheSameBytesUnderTheSameNames) {
    const std::vector<std::string> names = packageFileNames(folder(), "");
    const PackedArchive packed = packSevenZip(folder(), names);
    ASSERT_EQ(packed.error, "");
    writeFile(scratch.path() + "/watch.7z", packed.bytes);
    EXPECT_EQ(packSevenZip(folder(), names).bytes, packed.bytes) << "the same files pack alike";

    ArchiveFileProvider archive(scratch.path() + "/watch.7z");
    for (const std::string& name : names) {
        const FileBytes* bytes = archive.getFile(name);
        ASSERT_NE(bytes, nullptr) << name;
        EXPECT_EQ(std::string(bytes->begin(), bytes->end()), readWholeFile(folder() + "/" + name))
            << name;
    }
    EXPECT_EQ(archive.getFile("img"), nullptr) << "folders are no entries of their own";
}

TEST_F(PackageArchiveTest, SaysWhichFileCouldNotBePacked) {
    EXPECT_EQ(packSevenZip(folder(), {"config", "gone.png"}).error,
              "cannot read " + folder() + "/gone.png");
    writeFile(folder() + "/Latin1 \xE9.png", "x");
    EXPECT_EQ(packSevenZip(folder(), {"Latin1 \xE9.png"}).error,
              "cannot store the name Latin1 \xE9.png (it is not UTF-8)");
}

}  // namespace
