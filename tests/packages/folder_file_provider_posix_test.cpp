// What a POSIX file system does: named pipes with plain names, names that
// differ only in case.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "packages/folder_file_provider.h"
#include "support/package_files.h"
#include "support/temporary_directory.h"

namespace {

TEST(FolderFileProviderOnPosix, NamedPipeGivesNullWithoutBlocking) {
    TemporaryDirectory directory;
    ASSERT_EQ(mkfifo((directory.path() + "/pipe").c_str(), 0600), 0);
    FolderFileProvider provider(directory.path());
    EXPECT_EQ(provider.getFile("pipe"), nullptr) << "must neither block nor read";
}

TEST(FolderFileProviderOnPosix, CaseFollowsTheFileSystem) {
    TemporaryDirectory directory;
    writeFile(directory.path() + "/face.png", "png");
    FolderFileProvider provider(directory.path());
    EXPECT_NE(provider.getFile("face.png"), nullptr);
    EXPECT_EQ(provider.getFile("Face.png"), nullptr);
}

}  // namespace
