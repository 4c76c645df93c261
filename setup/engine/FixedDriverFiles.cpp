// The driver files setup copies under fixed names, with the generations and models each belongs to.
#include "setup/engine/FixedDriverFiles.h"

namespace {

const FixedDriverFile kFixedDriverFiles[kFixedDriverFileCount] = {
    {"ICONLIB.DLL", kGenerationWin98Me, kGenerationWin98Me, false, {}, FixedFileNeed::kAlways},
    {"UNIDRV.DLL", kGenerationWin98Me, kGenerationWin98Me, false, {}, FixedFileNeed::kWhenWindowsLacksIt},
    {"TTFSUB.GPD", kGenerationWin2000, kGenerationVista, true, {}, FixedFileNeed::kUnlessWindowsHasIt},
    {"STDNAMES.GPD", kGenerationWin2000, kGenerationVista, true, {}, FixedFileNeed::kUnlessWindowsHasIt},
    {"UNIRES.DLL", kGenerationWin2000, kGenerationVista, true, {}, FixedFileNeed::kUnlessWindowsHasIt},
    // These two models' 98/Me drivers load the colour library that no model file names.
    {"DMCOLOR.DLL", kGenerationWin98Me, kGenerationWin98Me, false, {"ZMX-M530", "ZMX-R510"},
     FixedFileNeed::kAlways},
};

}  // namespace

const FixedDriverFile& GetFixedDriverFile(FixedDriverFileId id) { return kFixedDriverFiles[id]; }

bool FixedDriverFileApplies(FixedDriverFileId id, const std::string& modelName, PlatformGeneration generation,
                            bool usesDdk) {
    const FixedDriverFile& file = kFixedDriverFiles[id];
    if (generation < file.firstGeneration || generation > file.lastGeneration) return false;
    if (file.ddkModelsOnly && !usesDdk) return false;
    bool anyModel = true;
    for (const char* part : file.modelParts) {
        if (part == nullptr) continue;
        anyModel = false;
        if (modelName.find(part) != std::string::npos) return true;
    }
    return anyModel;
}
