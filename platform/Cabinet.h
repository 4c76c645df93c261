// Cabinet files (the Setup API's cabinet iteration).
#pragma once

#include <cstdint>

#include "platform/Win32Types.h"

namespace win {

typedef uintptr_t UINT_PTR;

constexpr DWORD NO_ERROR = 0;
constexpr DWORD ERROR_INVALID_DATA = 13;

constexpr UINT SPFILENOTIFY_CABINETINFO = 0x10;
constexpr UINT SPFILENOTIFY_FILEINCABINET = 0x11;
constexpr UINT SPFILENOTIFY_NEEDNEWCABINET = 0x12;
constexpr UINT SPFILENOTIFY_FILEEXTRACTED = 0x13;

constexpr UINT FILEOP_ABORT = 0;
constexpr UINT FILEOP_DOIT = 1;
constexpr UINT FILEOP_SKIP = 2;

// The Setup API keeps these records byte-packed on 32-bit Windows.
#if defined(_WIN32) && !defined(_WIN64)
#pragma pack(push, 1)
#endif
struct FILE_IN_CABINET_INFO_A {
    LPCSTR NameInCabinet;
    DWORD FileSize;
    DWORD Win32Error;
    WORD DosDate;
    WORD DosTime;
    WORD DosAttribs;
    CHAR FullTargetName[MAX_PATH];
};

struct FILEPATHS_A {
    LPCSTR Target;
    LPCSTR Source;
    UINT Win32Error;
    DWORD Flags;
};

struct CABINET_INFO_A {
    LPCSTR CabinetPath;
    LPCSTR CabinetFile;
    LPCSTR DiskName;
    WORD SetId;
    WORD CabinetNumber;
};
#if defined(_WIN32) && !defined(_WIN64)
#pragma pack(pop)
#endif

// Shaped like PSP_FILE_CALLBACK_A, so the pass-through hands it to Windows unchanged; callbacks are
// declared UINT PLATFORM_STDCALL Name(...).
#if defined(_WIN32)
#define PLATFORM_STDCALL __stdcall
#else
#define PLATFORM_STDCALL
#endif
typedef UINT(PLATFORM_STDCALL* PSP_FILE_CALLBACK_A)(void* context, UINT notification, UINT_PTR param1,
                                                    UINT_PTR param2);

class Cabinet {
public:
    virtual ~Cabinet() = default;
    // Calls back for each file in the cabinet: FILEINCABINET asks what to do (the callback fills
    // FullTargetName for FILEOP_DOIT), FILEEXTRACTED tells the outcome (param1 a FILEPATHS_A).
    virtual BOOL SetupIterateCabinetA(LPCSTR cabinetFile, DWORD reserved, PSP_FILE_CALLBACK_A callback,
                                      void* context) = 0;
};

}  // namespace win
