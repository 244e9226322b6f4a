#pragma once

#include <locale.h>

// 7z stores names as UTF-16 and libarchive converts them from and to the
// thread's locale; under the "C" locale every non-ASCII name would be lost.
// While this lives, the thread converts to and from UTF-8, the program's
// narrow text.
class Utf8Names {
public:
    Utf8Names();
    ~Utf8Names();
    Utf8Names(const Utf8Names&) = delete;
    Utf8Names& operator=(const Utf8Names&) = delete;

private:
    locale_t utf8;
    locale_t previous;
};
