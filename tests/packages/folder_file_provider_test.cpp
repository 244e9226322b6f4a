#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "packages/folder_file_provider.h"
#include "support/temporary_directory.h"

namespace {

namespace fs = std::filesystem;

std::string text(const FileBytes* bytes) { return bytes ? std::string(bytes->begin(), bytes->end()) : "(null)"; }

class FolderFileProviderTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(root / "img"); }

    void write(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

    TemporaryDirectory directory;
    fs::path root = fs::path(directory.path()) / "package";
    FolderFileProvider provider{directory.path() + "/package"};
};

TEST_F(FolderFileProviderTest, ServesFilesByNameBelowTheRoot) {
    const std::string image("\x89PNG\0\r\n\x1A", 8);
    write(root / "config", "name=Classic\n");
    write(root / "img" / "face.png", image);
    write(root / "empty", "");

    EXPECT_EQ(text(provider.getFile("config")), "name=Classic\n");
    EXPECT_EQ(text(provider.getFile("img/face.png")), image);
    const FileBytes* empty = provider.getFile("empty");
    ASSERT_NE(empty, nullptr) << "an empty file is a file";
    EXPECT_TRUE(empty->empty());
}

TEST_F(FolderFileProviderTest, ReadsEachNameFromTheDiskOnce) {
    write(root / "config", "first");
    const FileBytes* first = provider.getFile("config");
    write(root / "config", "changed on disk");
    EXPECT_EQ(provider.getFile("config"), first);
    fs::remove(root / "config");
    EXPECT_EQ(provider.getFile("config"), first);
    EXPECT_EQ(text(first), "first");
}

TEST_F(FolderFileProviderTest, HandedOutBytesSurviveLaterReads) {
    write(root / "config", "kept");
    const FileBytes* config = provider.getFile("config");
    for (int i = 0; i < 100; ++i) {
        write(root / std::to_string(i), "x");
        provider.getFile(std::to_string(i));
    }
    EXPECT_EQ(provider.getFile("config"), config);
    EXPECT_EQ(text(config), "kept");
}

TEST_F(FolderFileProviderTest, MissIsTriedAgainOnTheNextRequest) {
    EXPECT_EQ(provider.getFile("config"), nullptr);
    write(root / "config", "now here");
    EXPECT_EQ(text(provider.getFile("config")), "now here");
}

TEST_F(FolderFileProviderTest, NamesThatAreNoRegularFileGiveNull) {
    write(root / "config", "name=Classic\n");
    EXPECT_EQ(provider.getFile("img"), nullptr);
    EXPECT_EQ(provider.getFile(""), nullptr);
    EXPECT_EQ(provider.getFile(std::string("config\0.png", 11)), nullptr);
}

TEST_F(FolderFileProviderTest, NamesStayInsideThePackage) {
    write(fs::path(directory.path()) / "beside", "outside the package");
    EXPECT_EQ(provider.getFile("../beside"), nullptr);
    EXPECT_EQ(provider.getFile("img/../../beside"), nullptr);
    EXPECT_EQ(provider.getFile(directory.path() + "/beside"), nullptr);
    write(root / "face.png", "png");
    EXPECT_EQ(text(provider.getFile("img/../face.png")), "png");
    EXPECT_EQ(text(provider.getFile("./face.png")), "png");
}

}  // namespace
