// A named pipe inside a package, which only POSIX makes with a plain name.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "packages/folder_file_provider.h"
#include "support/temporary_directory.h"

namespace {

TEST(FolderFileProviderOnPosix, NamedPipeGivesNullWithoutBlocking) {
    TemporaryDirectory directory;
    ASSERT_EQ(mkfifo((directory.path() + "/pipe").c_str(), 0600), 0);
    FolderFileProvider provider(directory.path());
    EXPECT_EQ(provider.getFile("pipe"), nullptr) << "must neither block nor read";
}

}  // namespace
