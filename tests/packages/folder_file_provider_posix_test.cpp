#include <gtest/gtest.h>

#include <sys/stat.h>

#include "packages/folder_file_provider.h"
#include "support/test_files.h"

namespace {

// What only a POSIX file system has: named pipes with plain names, and names
// that differ only in case.
TEST(FolderFileProviderOnPosix, PipesAndNamesInAnotherCaseGiveNull) {
    TemporaryDirectory directory;
    ASSERT_EQ(mkfifo((directory.path() + "/pipe").c_str(), 0600), 0);
    writeFile(directory.path() + "/face.png", "png");
    FolderFileProvider provider(directory.path());
    EXPECT_EQ(provider.getFile("pipe"), nullptr) << "must neither block nor read";
    EXPECT_NE(provider.getFile("face.png"), nullptr);
    EXPECT_EQ(provider.getFile("Face.png"), nullptr);
}

}  // namespace
