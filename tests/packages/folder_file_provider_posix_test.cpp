#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

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

// Links are followed to their end: a package may link its own files, and be
// a link itself, but reaches no file outside its folder through one.
TEST(FolderFileProviderOnPosix, LinksServeOnlyFilesOfThePackage) {
    TemporaryDirectory directory;
    const std::string root = directory.path() + "/Evil";
    writeFile(root + "/dial.png", "own");
    writeFile(directory.path() + "/Classic/dial.png", "another package's");
    const std::pair<const char*, const char*> links[] = {
        {"same.png", "dial.png"},       {"chain.png", "same.png"},         {"outside.png", "../Classic/dial.png"},
        {"absolute.png", "/etc/hostname"}, {"classic", "../Classic"},      {"detour.png", "classic/../Evil/dial.png"},
        {"sneaky.png", "outside.png"},  {"dangling.png", "nothing.png"}};
    for (const auto& [name, target] : links) std::filesystem::create_symlink(target, root + "/" + name);
    std::filesystem::create_directory_symlink(root, directory.path() + "/Linked");
    const std::pair<std::string, std::string> names[] = {
        {"same.png", "own"},          {"chain.png", "own"},        {"outside.png", "(null)"},
        {"absolute.png", "(null)"},   {"classic/dial.png", "(null)"}, {"detour.png", "own"},
        {"sneaky.png", "(null)"},     {"dangling.png", "(null)"}};
    for (const std::string& package : {root, directory.path() + "/Linked"}) {
        FolderFileProvider provider(package);
        for (const auto& [name, bytes] : names) {
            const FileBytes* found = provider.getFile(name);
            EXPECT_EQ(found ? std::string(found->begin(), found->end()) : "(null)", bytes) << package << " " << name;
            EXPECT_EQ(provider.leadsOutside(name), bytes == "(null)" && name != "dangling.png") << name;
        }
    }
}

}  // namespace
