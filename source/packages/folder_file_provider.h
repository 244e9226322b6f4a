#pragma once

#include <map>
#include <string>

#include "packages/file_provider.h"

// Serves a package folder from the disk, reading each file on first request
// and keeping it for the provider's lifetime.
class FolderFileProvider : public FileProvider {
public:
    // The root is a UTF-8 path.
    explicit FolderFileProvider(std::string root);

    // Names are relative to the root; absolute names, names that lead out
    // of the folder and names that reach a file outside it through a link
    // give null.
    const FileBytes* getFile(std::string name) override;
    // Files are read one by one as asked for.
    void willAskFor(const std::vector<std::string>&) override {}
    bool leadsOutside(const std::string& name) const override;

private:
    std::string root;
    // A node-based map, so handed-out pointers survive later insertions.
    std::map<std::string, FileBytes> fileCache;
};
