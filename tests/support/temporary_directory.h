#pragma once

#include <string>

// A fresh directory under the system's temporary folder, removed with its
// content when the object dies.
class TemporaryDirectory {
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

std::string readWholeFile(const std::string& path);
