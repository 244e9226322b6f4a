#include "support/test_files.h"

#include <cstdlib>

bool packWith7Zip(const std::string& folder, const std::string& archivePath, const std::string& arguments) {
    const std::string command =
        "cd '" + folder + "' && LC_ALL=C.UTF-8 7zz a -bso0 -bsp0 '" + archivePath + "' " + arguments + " >/dev/null";
    return std::system(command.c_str()) == 0;
}
