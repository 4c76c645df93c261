// A tiny DLL that stands in, under each of their names, for the maker's driver and user-interface DLLs.
// As a printer's configuration file the spooler asks it for a default device mode when the printer is
// added, so it answers the two user-interface entries with a plain DEVMODEW.
#include <windows.h>

#include <cwchar>

namespace {

// The header the spooler hands to DrvDocumentPropertySheets when it wants no dialog.
struct DocumentPropertyHeader {
    WORD cbSize;
    WORD Reserved;
    HANDLE hPrinter;
    LPWSTR pszPrinterName;
    DEVMODEW* pdmIn;
    DEVMODEW* pdmOut;
    DWORD cbOut;
    DWORD fMode;
};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

extern "C" __declspec(dllexport) LONG WINAPI DrvDocumentPropertySheets(void* sheetInfo, LPARAM parameter) {
    auto* header = reinterpret_cast<DocumentPropertyHeader*>(parameter);
    if (sheetInfo != nullptr || header == nullptr) return -1;
    if (header->fMode == 0 || header->pdmOut == nullptr) {
        header->cbOut = sizeof(DEVMODEW);
        return sizeof(DEVMODEW);
    }
    if (header->fMode & DM_OUT_BUFFER) {
        DEVMODEW mode{};
        if (header->pdmIn != nullptr && header->pdmIn->dmSize == sizeof(DEVMODEW)) mode = *header->pdmIn;
        mode.dmSize = sizeof(DEVMODEW);
        mode.dmSpecVersion = DM_SPECVERSION;
        mode.dmDriverExtra = 0;
        mode.dmFields |= DM_ORIENTATION;
        if (mode.dmOrientation == 0) mode.dmOrientation = DMORIENT_PORTRAIT;
        if (header->pszPrinterName != nullptr)
            wcsncpy(mode.dmDeviceName, header->pszPrinterName, CCHDEVICENAME - 1);
        *header->pdmOut = mode;
    }
    return 1;
}

extern "C" __declspec(dllexport) DWORD WINAPI DrvDeviceCapabilities(HANDLE, PWSTR, WORD, void*, DEVMODEW*) {
    return GDI_ERROR;
}
