#pragma once

// The conversions that the C library's strftime knows: plain ones, and those
// it takes after the E or O modifier. Windows' C runtime knows only C89's and
// ends the program on any other, so a format is checked against these first.
namespace platform {

struct StrftimeConversions {
    const char* plain;
    const char* withE;
    const char* withO;
};

StrftimeConversions strftimeConversions();

}  // namespace platform
