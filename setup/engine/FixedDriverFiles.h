// The driver files setup copies from the medium under names of its own rather than a model file's: one
// list for the copies and for the release check of a medium.
#pragma once

#include <string>

#include "setup/environment/PlatformGeneration.h"

// When an installation copies the file, besides the generations and models it applies to.
enum class FixedFileNeed {
    kAlways,               // every installation it applies to; a failed copy is reported
    kWhenWindowsLacksIt,   // only when Windows has lost its own copy and its backup
    kUnlessWindowsHasIt,   // Windows' own store is tried first, the medium only when that fails
};

enum FixedDriverFileId {
    kIconLibraryFile,
    kUnidriverFile,
    kTrueTypeSubstitutionFile,
    kStandardNamesFile,
    kUnidriverResourcesFile,
    kColourLibraryFile,
    kFixedDriverFileCount,
};

struct FixedDriverFile {
    const char* name;
    PlatformGeneration firstGeneration;
    PlatformGeneration lastGeneration;
    // Only models whose raster files depend on Windows' unidriver files (their "2KDDKDEV" flag).
    bool ddkModelsOnly;
    // Model names holding one of these, compared with case; an empty list means every model.
    const char* modelParts[2];
    FixedFileNeed need;
};

const FixedDriverFile& GetFixedDriverFile(FixedDriverFileId id);

// Whether an installation of the model for the generation copies the file; usesDdk is the model's
// "2KDDKDEV" flag of the driver kind installed.
bool FixedDriverFileApplies(FixedDriverFileId id, const std::string& modelName, PlatformGeneration generation,
                            bool usesDdk);
