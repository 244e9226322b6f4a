#pragma once

#include <string>
#include <vector>

// The bytes of one file of a package, exactly as stored.
using FileBytes = std::vector<char>;

// Read access to the files of one watch package by name, whether the package
// is a folder or an archive.
class FileProvider {
public:
    virtual ~FileProvider() = default;

    // The named file's bytes, or null when the package has no such file or it
    // cannot be read. The provider owns the bytes; they stay valid and
    // unchanged until the provider is destroyed.
    virtual const FileBytes* getFile(std::string name) = 0;

    // The names the caller is about to ask for, so that a provider that
    // reads its files in one stream can read them in one go.
    virtual void willAskFor(const std::vector<std::string>& names) = 0;

    // Whether the name is refused because it leads out of the package, so
    // that a tool can say why the file is not served.
    virtual bool leadsOutside(const std::string& name) const = 0;
};
