// Checks on file names that come from files on the medium before they are joined to system directories.
#pragma once

#include <string>

// A plain name holds no "\\", "/", ":" or "..", so it cannot leave the directory it is joined to.
bool IsPlainFileName(const std::string& name);
