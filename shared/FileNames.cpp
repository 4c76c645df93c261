// Checks on file names from the medium.
#include "shared/FileNames.h"

bool IsPlainFileName(const std::string& name) {
    return name.find_first_of("\\/:") == std::string::npos && name.find("..") == std::string::npos;
}
