// The simulated cabinet files: each cabinet's members are metadata kept beside the cabinet file.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/Cabinet.h"
#include "platform/sim/SimWindows.h"

namespace win::sim {

class SimCabinet : public Cabinet {
public:
    struct Member {
        std::string name;
        std::string bytes;
    };

    explicit SimCabinet(SimWindows& w) : w_(w) {}
    BOOL SetupIterateCabinetA(LPCSTR cabinetFile, DWORD reserved, PSP_FILE_CALLBACK_A callback,
                              void* context) override;

    // Makes the file a cabinet holding these members, in this order; writes the file when missing.
    void SetCabinet(const std::string& windowsPath, const std::vector<Member>& members);

private:
    SimWindows& w_;
    std::map<std::string, std::vector<Member>> cabinets_;
};

}  // namespace win::sim
