# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (POSIX threads).
# The libraries come from a prefix that scripts/windows-dependencies fills;
# pass it as -DHORLOX_WINDOWS_DEPS=<prefix> (it prints the path).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)

# Programs are linked statically: they import only the system's DLLs, so a
# user needs no mingw runtime beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Libraries, headers and packages are found in the prefix alone: the mingw
# packages' own zlib comes with a DLL import library that a static program
# cannot use. try_compile projects see the prefix too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES HORLOX_WINDOWS_DEPS)
set(CMAKE_FIND_ROOT_PATH ${HORLOX_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config reads only the prefix's own .pc files, never the host's.
if(HORLOX_WINDOWS_DEPS)
  set(ENV{PKG_CONFIG_LIBDIR} ${HORLOX_WINDOWS_DEPS}/lib/pkgconfig)
  set(ENV{PKG_CONFIG_PATH} "")
endif()
