// Simulated cabinet iteration: notifications as the Setup API sends them, members written on FILEOP_DOIT.
#include <cstring>
#include <string>

#include "platform/Files.h"
#include "platform/sim/SimPlatform.h"

namespace win::sim {

namespace {

BOOL Fail(DWORD error) {
    SetSimLastError(error);
    return FALSE;
}

}  // namespace

void SimCabinet::SetCabinet(const std::string& windowsPath, const std::vector<Member>& members) {
    if (!w_.FileExists(windowsPath)) w_.WriteFile(windowsPath, "MSCF");
    cabinets_[w_.FileKey(windowsPath)] = members;
}

BOOL SimCabinet::SetupIterateCabinetA(LPCSTR cabinetFile, DWORD, PSP_FILE_CALLBACK_A callback, void* context) {
    DWORD error;
    if (w_.TakeFault("SetupIterateCabinetA", &error)) return Fail(error);
    if (cabinetFile == nullptr || callback == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    if (!w_.FileExists(cabinetFile)) return Fail(ERROR_FILE_NOT_FOUND);
    auto found = cabinets_.find(w_.FileKey(cabinetFile));
    if (found == cabinets_.end()) return Fail(ERROR_INVALID_DATA);

    std::string full = w_.FullPath(cabinetFile);
    size_t slash = full.find_last_of('\\');
    std::string folder = full.substr(0, slash + 1);
    std::string file = full.substr(slash + 1);
    CABINET_INFO_A cabinet{folder.c_str(), file.c_str(), "", 0, 0};
    callback(context, SPFILENOTIFY_CABINETINFO, reinterpret_cast<UINT_PTR>(&cabinet), 0);

    // A copy, so a callback that changes the simulation's cabinets cannot pull the list away.
    const std::vector<Member> members = found->second;
    for (const Member& member : members) {
        FILE_IN_CABINET_INFO_A info{};
        info.NameInCabinet = member.name.c_str();
        info.FileSize = static_cast<DWORD>(member.bytes.size());
        info.DosAttribs = static_cast<WORD>(FILE_ATTRIBUTE_ARCHIVE);
        UINT action = callback(context, SPFILENOTIFY_FILEINCABINET, reinterpret_cast<UINT_PTR>(&info),
                               reinterpret_cast<UINT_PTR>(cabinetFile));
        if (action == FILEOP_SKIP) continue;
        // FILEOP_ABORT keeps the error the callback set.
        if (action != FILEOP_DOIT) return FALSE;

        std::string target(info.FullTargetName, strnlen(info.FullTargetName, sizeof(info.FullTargetName)));
        std::string parent = w_.FullPath(target);
        parent = parent.substr(0, parent.find_last_of('\\'));
        DWORD failure = 0;
        if (target.empty() || !w_.FileExists(parent)) failure = ERROR_PATH_NOT_FOUND;
        else if (w_.FileExists(target) && (w_.StoredAttributes(target) & FILE_ATTRIBUTE_READONLY))
            failure = ERROR_ACCESS_DENIED;
        else failure = w_.OpenConflict(target, GENERIC_WRITE, 0);
        if (failure != 0) return Fail(failure);
        w_.WriteFile(target, member.bytes);

        FILEPATHS_A paths{target.c_str(), cabinetFile, 0, 0};
        UINT result = callback(context, SPFILENOTIFY_FILEEXTRACTED, reinterpret_cast<UINT_PTR>(&paths), 0);
        if (result != NO_ERROR) return Fail(result);
    }
    return TRUE;
}

}  // namespace win::sim
