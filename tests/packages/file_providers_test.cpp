// The two kinds of package: a folder and a 7z archive.
#include <gtest/gtest.h>
#include <algorithm>
#include <filesystem>
#include <cstdlib>
#include <fstream>
#include <string>
#include <random>

#include "packages/archive_file_provider.h"
#include "packages/folder_file_provider.h"
#include "support/debug_output_capture.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;

std::string text(const FileBytes* bytes) { return bytes ? std::string(bytes->begin(), bytes->end()) : "(null)"; }

// Incompressible and the same on every run, so damage lands where intended.
std::string noise(std::size_t size) {
    std::mt19937 generator(1);
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(generator());
    return bytes;
}

class ArchiveFileProviderTest : public ::testing::Test {
protected:
    // Refused with one diagnostic line that names the archive.
    void expectRefused(const ArchiveLimits& limits) {
        const LogCapture output;
        ArchiveFileProvider provider(archive, limits);
        for (const char* name : {"a.txt", "b.txt", "c.txt", "huge.png"}) EXPECT_EQ(provider.getFile(name), nullptr);
        EXPECT_NE(output.text().find(archive), std::string::npos) << output.text();
        EXPECT_EQ(std::count(output.text().begin(), output.text().end(), '\n'), 1) << output.text();
    }

    TemporaryDirectory directory;
    const std::string package = directory.path() + "/package", archive = directory.path() + "/package.7z";
};

TEST_F(ArchiveFileProviderTest, ServesEveryEntryOfEveryMethodUnderItsStoredName) {
    const std::pair<std::string, std::string> entries[] = {
        {"config", "name=Classic\n"}, {"img/face.png", noise(5000) + std::string(3000, 'z')},
        {"empty", ""}, {"zifferblatt-\xC3\xBC.png", "umlaut"}};
    for (const auto& [name, bytes] : entries) writeFile(package + "/" + name, bytes);
    for (const std::string solid : {"-ms=on", "-ms=off"})
        for (const std::string method : {"-m0=LZMA", "-m0=LZMA2"}) {
            SCOPED_TRACE(solid + " " + method);
            fs::remove(archive);
            ASSERT_TRUE(packWith7Zip(package, archive, solid + " " + method + " config img empty zifferblatt-*"));
            ArchiveFileProvider provider(archive);
            for (const auto& [name, bytes] : entries) EXPECT_EQ(text(provider.getFile(name)), bytes) << name;
            EXPECT_EQ(text(provider.getFile("img")), "") << "a folder is an entry without bytes";
            EXPECT_EQ(provider.getFile("config"), provider.getFile("config"));
            for (const char* lookalike : {"img\\face.png", "./img/face.png", "/img/face.png", "Config", "img/",
                                          "zifferblatt-u.png"})
                EXPECT_EQ(provider.getFile(lookalike), nullptr) << lookalike;
        }
}

TEST_F(ArchiveFileProviderTest, DamagedArchiveKeepsTheEntriesBeforeTheDamage) {
    writeFile(package + "/a.txt", "first");
    writeFile(package + "/b.txt", noise(100000));
    ASSERT_TRUE(packWith7Zip(package, archive, "-ms=off a.txt b.txt"));
    const std::string whole = readWholeFile(archive);
    {
        // Bytes in the middle of b.txt's packed data; the headers stay intact.
        std::fstream file(archive, std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(50000);
        file << std::string(16, '\xFF');
    }
    ArchiveFileProvider provider(archive);
    EXPECT_EQ(text(provider.getFile("a.txt")), "first");
    EXPECT_EQ(provider.getFile("b.txt"), nullptr);

    // Files that are no readable 7z archive give no entries.
    for (const std::string& broken : {whole.substr(0, whole.size() / 2), whole.substr(0, whole.size() - 10),
                                      std::string("name=Classic\n"), whole.substr(0, 6), std::string()}) {
        writeFile(archive, broken);
        EXPECT_EQ(ArchiveFileProvider(archive).getFile("a.txt"), nullptr) << broken.size() << " bytes";
    }
    for (const std::string& notAFile : {directory.path() + "/missing.7z", package})
        EXPECT_EQ(ArchiveFileProvider(notAFile).getFile("a.txt"), nullptr) << notAFile;
}

TEST_F(ArchiveFileProviderTest, UnpackedBytesAndEntriesAreBoundedToTheLast) {
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) writeFile(package + "/" + name, std::string(400, name[0]));
    ASSERT_TRUE(packWith7Zip(package, archive, "a.txt b.txt c.txt"));
    DebugOutputCapture output;
    EXPECT_EQ(text(ArchiveFileProvider(archive, ArchiveLimits{1200, 3}).getFile("c.txt")), std::string(400, 'c'));
    EXPECT_EQ(output.text(), "");
    expectRefused(ArchiveLimits{1199, 3});
    expectRefused(ArchiveLimits{1200, 2});

    // By default a package may unpack to 256 MiB.
    fs::remove(archive);
    writeFile(package + "/huge.png", "");
    fs::resize_file(package + "/huge.png", (std::uintmax_t{256} << 20) + 1);
    ASSERT_TRUE(packWith7Zip(package, archive, "-mx=1 huge.png"));
    expectRefused({});
}

// The most memory the process has held, in KiB.
long peakKibibytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

// Only what is asked for is unpacked: with an entry of 200 MiB of zeros
// beside them, neither the list nor the config nor the face takes more than a
// fraction of it, in a process of its own, whatever the order of the entries
// in the archive's solid block.
TEST_F(ArchiveFileProviderTest, OnlyTheEntriesAskedForAreUnpacked) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    writeFile(package + "/config", ":watch\nname=Lean\n");
    writeFile(package + "/face.png", "face");
    writeFile(package + "/blob", "");
    fs::resize_file(package + "/blob", std::uintmax_t{200} << 20);
    ASSERT_TRUE(packWith7Zip(package, archive, "-mx=1 blob config face.png"));
    EXPECT_EXIT(
        {
            const long before = peakKibibytes();
            ArchiveFileProvider provider(archive);
            const bool served = text(provider.getFile("config")) == ":watch\nname=Lean\n" &&
                                text(provider.getFile("face.png")) == "face";
            std::exit(served && peakKibibytes() - before < (50 << 10) ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

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
    const std::pair<std::string, std::string> names[] = {
        {"config", "name=Classic\n"}, {"img/face.png", image}, {"empty", ""}, {"img/../config", "name=Classic\n"},
        {"./config", "name=Classic\n"}, {"img", "(null)"}, {"", "(null)"},
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
