// Cabinet files (the Setup API's cabinet iteration), passed to the real API.
#include <cstddef>

#include "platform/win32/Win32Families.h"
#include <windows.h>
#include <setupapi.h>

namespace win::win32 {

namespace {

static_assert(sizeof(FILE_IN_CABINET_INFO_A) == sizeof(::FILE_IN_CABINET_INFO_A), "cabinet record layouts differ");
static_assert(offsetof(FILE_IN_CABINET_INFO_A, FullTargetName) == offsetof(::FILE_IN_CABINET_INFO_A, FullTargetName),
              "cabinet record layouts differ");
static_assert(sizeof(FILEPATHS_A) == sizeof(::FILEPATHS_A), "file path record layouts differ");
static_assert(sizeof(CABINET_INFO_A) == sizeof(::CABINET_INFO_A), "cabinet info layouts differ");

class RealCabinet : public Cabinet {
public:
    BOOL SetupIterateCabinetA(LPCSTR cabinetFile, DWORD reserved, PSP_FILE_CALLBACK_A callback,
                              void* context) override {
        return ::SetupIterateCabinetA(cabinetFile, reserved, reinterpret_cast<::PSP_FILE_CALLBACK_A>(callback),
                                      context);
    }
};

}  // namespace

Cabinet& Win32Cabinet() {
    static RealCabinet instance;
    return instance;
}

}  // namespace win::win32
