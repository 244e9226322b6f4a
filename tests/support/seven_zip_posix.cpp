#include "support/package_files.h"

#include <cstdlib>

bool packWith7Zip(const std::string& folder, const std::string& archivePath) {
    const std::string command = "cd '" + folder + "' && 7zz a -bso0 -bsp0 '" + archivePath + "' . >/dev/null";
    return std::system(command.c_str()) == 0;
}
