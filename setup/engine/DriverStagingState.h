// What driver file staging remembers for the rest of a run: the system cabinets and their extraction.
#pragma once

#include <string>
#include <vector>

struct DriverStagingState {
    // Set at start; cleared before the first extraction attempt, so the cabinets are tried once a run.
    bool extractionPending = true;
    // Every cabinet name found in the cabinet directory, in the order found; it only grows.
    std::vector<std::string> cabinets;
    // The Windows directory + "\Driver Cache\<platform>\": i386, or amd64 on XP x64 and Server 2003 x64.
    std::string cabinetDirectory;
    // Where the cabinets' files are extracted to: the temporary directory.
    std::string extractionDirectory;
};
