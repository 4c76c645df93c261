// The USB port monitor's ports: the USB port names setup records under SOFTWARE\TARNOVA\PRINTERPORT.
#include "stand-ins/monitor/PortMonitor.h"

#include <windows.h>

namespace portmonitor {

const wchar_t* const kMonitorName = L"VORL USB Monitor";
const wchar_t* const kPortDescription = L"VORL USB port";

// Setup writes one value per supported USB port name before it installs a printer on one of them.
std::vector<std::wstring> ListPorts() {
    std::vector<std::wstring> ports;
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\TARNOVA\\PRINTERPORT", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return ports;
    DWORD longest = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longest, nullptr,
                     nullptr, nullptr);
    std::wstring name(longest + 1, L'\0');
    for (DWORD i = 0;; ++i) {
        DWORD length = longest + 1;
        if (RegEnumValueW(key, i, &name[0], &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        std::wstring value(name.c_str(), length);
        if (value.compare(0, 4, L"USB_") == 0) ports.push_back(value);
    }
    RegCloseKey(key);
    return ports;
}

}  // namespace portmonitor
