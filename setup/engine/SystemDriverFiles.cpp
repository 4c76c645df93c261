// Extracting Windows' own unidriver files from the driver cabinets of Windows 2000, XP and Server 2003.
#include <cstring>
#include <string>

#include "platform/FileHandles.h"
#include "setup/engine/DriverFiles.h"

namespace {

// The files taken out, compared exactly with the names stored in the cabinet.
const char* const kExtractedNames[] = {"unidrvui.dll", "unidrv.dll", "unires.dll",
                                       "unidrv.hlp",   "stdnames.gpd", "ttfsub.gpd"};

bool IsExtractedName(const char* name) {
    for (const char* wanted : kExtractedNames)
        if (std::strcmp(name, wanted) == 0) return true;
    return false;
}

win::UINT PLATFORM_STDCALL ExtractSystemFile(void* context, win::UINT notification, win::UINT_PTR param1, win::UINT_PTR) {
    if (notification != win::SPFILENOTIFY_FILEINCABINET) return win::NO_ERROR;
    const auto* state = static_cast<const DriverStagingState*>(context);
    auto* info = reinterpret_cast<win::FILE_IN_CABINET_INFO_A*>(param1);
    const char* name = info->NameInCabinet != nullptr ? info->NameInCabinet : "";
    std::string target = state->extractionDirectory + name;
    // A target that does not fit the record cannot be named, so the file stays in the cabinet.
    if (target.size() >= sizeof(info->FullTargetName)) return win::FILEOP_SKIP;
    std::memcpy(info->FullTargetName, target.c_str(), target.size() + 1);
    return IsExtractedName(name) ? win::FILEOP_DOIT : win::FILEOP_SKIP;
}

}  // namespace

bool ExtractSystemDriverFiles(win::Platform& platform, DriverStagingState& state) {
    win::Files& files = platform.files;
    char buffer[win::MAX_PATH];
    win::UINT length = files.GetWindowsDirectoryA(buffer, sizeof(buffer));
    if (length == 0 || length >= sizeof(buffer)) return false;
    state.cabinetDirectory =
        std::string(buffer, length) + "\\Driver Cache\\" + platform.architecture.cabinetPlatform + "\\";

    win::WIN32_FIND_DATAA data{};
    win::FindHandle find(files, files.FindFirstFileA((state.cabinetDirectory + "*.cab").c_str(), &data));
    if (find.Valid()) {
        do {
            if (data.dwFileAttributes & win::FILE_ATTRIBUTE_DIRECTORY) continue;
            state.cabinets.emplace_back(data.cFileName, strnlen(data.cFileName, sizeof(data.cFileName)));
        } while (files.FindNextFileA(find.Get(), &data));
    }
    find.Close();

    bool lastSucceeded = false;
    for (const std::string& cabinet : state.cabinets) {
        std::string path = state.cabinetDirectory + cabinet;
        length = files.GetTempPathA(sizeof(buffer), buffer);
        // Without a temporary directory the files would land in the current one: leave this cabinet.
        if (length == 0 || length >= sizeof(buffer)) {
            lastSucceeded = false;
            continue;
        }
        state.extractionDirectory.assign(buffer, length);
        lastSucceeded = platform.cabinet.SetupIterateCabinetA(path.c_str(), 0, ExtractSystemFile, &state) != win::FALSE;
    }
    return lastSucceeded;
}
