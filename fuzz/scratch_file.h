#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// An anonymous in-memory file with a path, for code under test that reads
// its input by name. Nothing touches the disk, and nothing is left behind.
class ScratchFile {
public:
    ScratchFile();
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    // Makes the file hold exactly these bytes.
    void replaceContents(const std::uint8_t* data, std::size_t size);
    const std::string& path() const { return path_; }

private:
    int fd_;
    std::string path_;
};
