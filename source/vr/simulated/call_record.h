#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

// What the simulated runtime writes down for whoever watches it: "calls.log",
// one line per call, "pass N: Call(arguments) -> result", where pass 0 is the
// start-up before the first main-loop pass; and the last image handed to each
// overlay as "<name>.png". Every line and image reaches the disk at once, so
// the record is whole whenever the program ends.
class CallRecord {
public:
    // False when the folder cannot be made or the log not written; nothing is
    // recorded then.
    bool open(const std::string& folder);
    bool isOpen() const { return log != nullptr; }

    void writeCall(std::uint64_t pass, const std::string& call);
    // Rows from the bottom up, as OpenGL keeps them; the PNG shows the last
    // row at the top. An image equal to the one already on disk is not written
    // again, which keeps a menu handed over in every pass cheap.
    void writeImage(const std::string& name, int width, int height,
                    std::vector<unsigned char> bottomUpRgba);

private:
    struct FileClose {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    std::string folder;
    std::unique_ptr<std::FILE, FileClose> log;
    std::map<std::string, std::vector<unsigned char>> imagesOnDisk;
};
