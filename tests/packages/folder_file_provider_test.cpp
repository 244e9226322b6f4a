#include <gtest/gtest.h>
#include <filesystem>
#include <sys/stat.h>

#include "packages/folder_file_provider.h"
#include "support/test_files.h"

namespace {

std::string text(const FileBytes* bytes) { return bytes ? std::string(bytes->begin(), bytes->end()) : "(null)"; }

class FolderFileProviderTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(root + "/img"); }
    TemporaryDirectory directory;
    const std::string root = directory.path() + "/package";
    FolderFileProvider provider{root};
};

TEST_F(FolderFileProviderTest, ServesRegularFilesByNameBelowTheRootOnly) {
    const std::string image("\x89PNG\0\r\n\x1A", 8);
    writeFile(root + "/config", "name=Classic\n");
    writeFile(root + "/img/face.png", image);
    writeFile(root + "/empty", "");
    writeFile(directory.path() + "/beside", "outside the package");
    ASSERT_EQ(mkfifo((root + "/pipe").c_str(), 0600), 0);
    const std::pair<std::string, std::string> names[] = {
        {"config", "name=Classic\n"}, {"img/face.png", image}, {"empty", ""}, {"img/../config", "name=Classic\n"},
        {"./config", "name=Classic\n"}, {"Config", "(null)"},  // case follows the file system
        {"img", "(null)"}, {"", "(null)"}, {"pipe", "(null)"},  // must neither block nor read
        {std::string("config\0.png", 11), "(null)"}, {"../beside", "(null)"}, {"img/../../beside", "(null)"},
        {directory.path() + "/beside", "(null)"}};
    for (const auto& [name, bytes] : names) EXPECT_EQ(text(provider.getFile(name)), bytes) << name;
}

// A name is read from the disk once and its bytes live as long as the
// provider; a miss is tried again on the next request.
TEST_F(FolderFileProviderTest, ReadsEachFoundNameOnceAndMissesAgain) {
    EXPECT_EQ(provider.getFile("config"), nullptr);
    writeFile(root + "/config", "first");
    const FileBytes* first = provider.getFile("config");
    EXPECT_EQ(text(first), "first");
    writeFile(root + "/config", "changed on disk");
    for (int i = 0; i < 100; ++i) {
        writeFile(root + "/" + std::to_string(i), "x");
        provider.getFile(std::to_string(i));
    }
    std::filesystem::remove(root + "/config");
    EXPECT_EQ(provider.getFile("config"), first);
    EXPECT_EQ(text(first), "first");
}

}  // namespace
