#pragma once

// While one lives, the calling thread's C library converts between multibyte
// and wide text as UTF-8, the program's narrow text. libarchive converts 7z
// names, stored as UTF-16, through it: under the "C" locale every non-ASCII
// name would be lost. Windows needs no change: there libarchive turns UTF-16
// names into wide text itself.
namespace platform {

class Utf8Locale {
public:
    Utf8Locale();
    ~Utf8Locale();
    Utf8Locale(const Utf8Locale&) = delete;
    Utf8Locale& operator=(const Utf8Locale&) = delete;

private:
    // The POSIX thread locales (locale_t) in force and in force before.
    void* utf8 = nullptr;
    void* previous = nullptr;
};

}  // namespace platform
