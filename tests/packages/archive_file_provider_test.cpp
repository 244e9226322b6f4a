#include <gtest/gtest.h>

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "packages/archive_file_provider.h"
#include "platform/log.h"
#include "support/child_process.h"
#include "support/debug_output_capture.h"
#include "support/temporary_directory.h"

namespace {

namespace fs = std::filesystem;

const std::string umlautName = "zifferblatt-\xC3\xBC.png";

// Runs the real 7-Zip in `directory` to add the named files (relative to it)
// with the given switches, e.g. {"-ms=on", "-m0=LZMA2"}.
bool packWithSevenZip(const fs::path& directory, const std::string& archive,
                      const std::vector<std::string>& switches, const std::vector<std::string>& files) {
    std::vector<std::string> arguments = {"a", "-t7z", "-bd"};
    arguments.insert(arguments.end(), switches.begin(), switches.end());
    arguments.push_back(archive);
    arguments.push_back("--");
    arguments.insert(arguments.end(), files.begin(), files.end());
    // A UTF-8 locale makes 7-Zip store non-ASCII file names as the characters they are.
    ChildProcess sevenZip("/usr/bin/7zz", arguments, directory, {{"LC_ALL", "C.UTF-8"}});
    return sevenZip.waitForExit(std::chrono::minutes(1)) == 0;
}

// Writes the entries in order with libarchive's 7z writer, which, unlike
// 7-Zip, lets two entries carry the same name.
using ArchiveEntries = std::vector<std::pair<std::string, std::string>>;
bool writeWithLibarchive(const std::string& archive, const ArchiveEntries& entries) {
    struct archive* writer = archive_write_new();
    bool written = archive_write_set_format_7zip(writer) == ARCHIVE_OK &&
                   archive_write_open_filename(writer, archive.c_str()) == ARCHIVE_OK;
    for (const auto& [name, contents] : entries) {
        if (!written) break;
        archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, name.c_str());
        archive_entry_set_filetype(entry, AE_IFREG);
        archive_entry_set_perm(entry, 0644);
        archive_entry_set_size(entry, static_cast<la_int64_t>(contents.size()));
        written = archive_write_header(writer, entry) == ARCHIVE_OK &&
                  archive_write_data(writer, contents.data(), contents.size()) ==
                      static_cast<la_ssize_t>(contents.size());
        archive_entry_free(entry);
    }
    written = archive_write_close(writer) == ARCHIVE_OK && written;
    archive_write_free(writer);
    return written;
}

std::string text(const FileBytes* bytes) { return bytes ? std::string(bytes->begin(), bytes->end()) : "(null)"; }

// Incompressible and the same on every run, so damage lands where intended.
std::string noise(std::size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(generator());
    return bytes;
}

class ArchiveFileProviderTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(package / "img");
        write(package / "config", "name=Classic\n");
        write(package / "img" / "face.png", faceImage);
        write(package / "empty", "");
        write(package / umlautName, "umlaut");
    }

    void write(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

    // Every file of the package, and the folder, through 7-Zip.
    std::string packPackage(const std::vector<std::string>& switches) {
        EXPECT_TRUE(packWithSevenZip(package, archive, switches, {"config", "img", "empty", umlautName}));
        return archive;
    }

    TemporaryDirectory directory;
    fs::path package = fs::path(directory.path()) / "package";
    std::string archive = directory.path() + "/package.7z";
    std::string faceImage = noise(5000, 1) + std::string(3000, 'z');
};

void expectNoEntries(ArchiveFileProvider& provider) {
    for (const char* name : {"config", "img/face.png", "img", "empty", "a.txt", "b.txt", "c.txt", "huge.png"})
        EXPECT_EQ(provider.getFile(name), nullptr) << name;
}

struct SevenZipMethod {
    const char* name;
    std::vector<std::string> switches;
};

void PrintTo(const SevenZipMethod& method, std::ostream* out) { *out << method.name; }

class ArchiveFileProviderFrom7Zip : public ArchiveFileProviderTest,
                                    public ::testing::WithParamInterface<SevenZipMethod> {};

TEST_P(ArchiveFileProviderFrom7Zip, ServesEveryEntryUnderItsStoredName) {
    ArchiveFileProvider provider(packPackage(GetParam().switches));
    EXPECT_EQ(text(provider.getFile("config")), "name=Classic\n");
    EXPECT_EQ(text(provider.getFile("img/face.png")), faceImage);
    EXPECT_EQ(text(provider.getFile(umlautName)), "umlaut");
    for (const char* bytesless : {"img", "empty"}) {
        const FileBytes* entry = provider.getFile(bytesless);
        ASSERT_NE(entry, nullptr) << bytesless;
        EXPECT_TRUE(entry->empty()) << bytesless;
    }
}

INSTANTIATE_TEST_SUITE_P(ArchiveFileProvider, ArchiveFileProviderFrom7Zip,
                         ::testing::Values(SevenZipMethod{"SolidLzma", {"-ms=on", "-m0=LZMA"}},
                                           SevenZipMethod{"SolidLzma2", {"-ms=on", "-m0=LZMA2"}},
                                           SevenZipMethod{"NonSolidLzma", {"-ms=off", "-m0=LZMA"}},
                                           SevenZipMethod{"NonSolidLzma2", {"-ms=off", "-m0=LZMA2"}}),
                         [](const auto& method) { return std::string(method.param.name); });

TEST_F(ArchiveFileProviderTest, NamesMatchExactly) {
    ArchiveFileProvider provider(packPackage({}));
    const FileBytes* face = provider.getFile("img/face.png");
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(provider.getFile("img/face.png"), face);
    for (const char* near : {"img\\face.png", "./img/face.png", "/img/face.png", "Config", "img/", "zifferblatt-u.png"})
        EXPECT_EQ(provider.getFile(near), nullptr) << near;
}

TEST_F(ArchiveFileProviderTest, LaterEntryOfTheSameNameWins) {
    ASSERT_TRUE(writeWithLibarchive(archive, {{"config", "first"}, {"img/face.png", "png"}, {"config", "second"}}));
    ArchiveFileProvider provider(archive);
    EXPECT_EQ(text(provider.getFile("config")), "second");
    EXPECT_EQ(text(provider.getFile("img/face.png")), "png");
}

TEST_F(ArchiveFileProviderTest, DamagedArchiveKeepsTheEntriesBeforeTheDamage) {
    write(package / "a.txt", "first");
    write(package / "b.txt", noise(100000, 2));
    ASSERT_TRUE(packWithSevenZip(package, archive, {"-ms=off"}, {"a.txt", "b.txt"}));
    {
        // Overwrite bytes in the middle of b.txt's packed data; the headers stay intact.
        std::fstream file(archive, std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(50000);
        file << std::string(16, '\xFF');
    }
    ArchiveFileProvider provider(archive);
    EXPECT_EQ(text(provider.getFile("a.txt")), "first");
    EXPECT_EQ(provider.getFile("b.txt"), nullptr);
}

TEST_F(ArchiveFileProviderTest, FilesThatAreNoReadable7zArchiveGiveNoEntries) {
    packPackage({});
    const std::string whole = readWholeFile(archive);
    const std::vector<std::pair<std::string, std::string>> broken = {
        {"truncated.7z", whole.substr(0, whole.size() / 2)},
        {"end-cut.7z", whole.substr(0, whole.size() - 10)},
        {"text.7z", "name=Classic\n"},
        {"signature-only.7z", whole.substr(0, 6)},
        {"empty.7z", ""},
    };
    for (const auto& [name, bytes] : broken) {
        SCOPED_TRACE(name);
        write(fs::path(directory.path()) / name, bytes);
        ArchiveFileProvider provider(directory.path() + "/" + name);
        expectNoEntries(provider);
    }
    for (const std::string& notAFile : {directory.path() + "/missing.7z", package.string()}) {
        ArchiveFileProvider provider(notAFile);
        expectNoEntries(provider);
    }
}

class ArchiveFileProviderLimits : public ArchiveFileProviderTest {
protected:
    void SetUp() override {
        ArchiveFileProviderTest::SetUp();
        loggingEnabled = true;
    }
    void TearDown() override { loggingEnabled = false; }

    void expectRefusedWithOneLine(ArchiveFileProvider& provider) {
        expectNoEntries(provider);
        const std::string& lines = output.text();
        EXPECT_NE(lines.find(archive), std::string::npos) << lines;
        EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 1) << lines;
    }

    DebugOutputCapture output;
};

TEST_F(ArchiveFileProviderLimits, PackageUnpackingPastTheDefaultLimitIsRefused) {
    write(package / "huge.png", "");
    fs::resize_file(package / "huge.png", (std::uintmax_t{256} << 20) + 1);
    ASSERT_TRUE(packWithSevenZip(package, archive, {"-mx=1"}, {"huge.png"}));
    ArchiveFileProvider provider(archive);
    expectRefusedWithOneLine(provider);
}

TEST_F(ArchiveFileProviderLimits, UnpackedBytesAreBoundedToTheByte) {
    const ArchiveEntries entries = {{"a.txt", std::string(400, 'a')}, {"b.txt", std::string(400, 'b')},
                                    {"c.txt", std::string(400, 'c')}};
    ASSERT_TRUE(writeWithLibarchive(archive, entries));

    ArchiveFileProvider atTheLimits(archive, ArchiveLimits{1200, 3});
    EXPECT_EQ(text(atTheLimits.getFile("c.txt")), std::string(400, 'c'));
    EXPECT_EQ(output.text(), "");

    ArchiveFileProvider oneByteTooMany(archive, ArchiveLimits{1199, 3});
    expectRefusedWithOneLine(oneByteTooMany);
}

TEST_F(ArchiveFileProviderLimits, EntryCountIsBounded) {
    ASSERT_TRUE(writeWithLibarchive(archive, {{"a.txt", ""}, {"b.txt", ""}, {"c.txt", ""}}));
    ArchiveFileProvider atTheLimit(archive, ArchiveLimits{1200, 3});
    EXPECT_NE(atTheLimit.getFile("c.txt"), nullptr);
    ArchiveFileProvider oneEntryTooMany(archive, ArchiveLimits{1200, 2});
    expectRefusedWithOneLine(oneEntryTooMany);
}

}  // namespace
