// The MONITOR2 table of a stand-in port monitor: enumerates its ports, writes each job to a file.
#include "stand-ins/monitor/PortMonitor.h"

#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

#include <cstring>
#include <new>

namespace {

struct Port {
    std::wstring name;
    HANDLE file = INVALID_HANDLE_VALUE;
    HANDLE printer = nullptr;
    DWORD jobId = 0;
};

// Monitor handle handed to the spooler: the monitor keeps no state of its own.
int monitorTag = 0;

// The file that receives a port's jobs: the temporary directory, the port name without ':' and '\'.
std::wstring OutputPath(const std::wstring& port) {
    DWORD size = GetTempPathW(0, nullptr);
    std::wstring dir(size, L'\0');
    dir.resize(GetTempPathW(size, &dir[0]));
    std::wstring name;
    for (wchar_t c : port) name += (c == L':' || c == L'\\' || c == L'/') ? L'_' : c;
    return dir + name + L".prn";
}

// The spooler finds the monitor of a printer's port by the port's key under the monitor's own key, so
// each port the monitor offers is registered there. A monitor deleted while the spooler still holds its
// DLL must not bring its key back: without its "Driver" value the spooler no longer lists it, and adding
// it again fails as "already installed".
void RegisterPorts(const std::vector<std::wstring>& ports) {
    const std::wstring monitorKey =
        std::wstring(L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\") + portmonitor::kMonitorName;
    HKEY monitor;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, monitorKey.c_str(), 0, KEY_WRITE, &monitor) != ERROR_SUCCESS) return;
    for (const std::wstring& port : ports) {
        HKEY key;
        if (RegCreateKeyExW(monitor, (L"Ports\\" + port).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
            ERROR_SUCCESS)
            RegCloseKey(key);
    }
    RegCloseKey(monitor);
}

// Lays out EnumPorts records at the buffer's start and their strings from its end, as the spooler expects.
BOOL WINAPI EnumPorts(HANDLE, LPWSTR, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                      LPDWORD returned) {
    if (level != 1 && level != 2) {
        SetLastError(ERROR_INVALID_LEVEL);
        return FALSE;
    }
    std::vector<std::wstring> ports = portmonitor::ListPorts();
    RegisterPorts(ports);
    size_t record = level == 1 ? sizeof(PORT_INFO_1W) : sizeof(PORT_INFO_2W);
    size_t description = (wcslen(portmonitor::kMonitorName) + wcslen(portmonitor::kPortDescription) + 2) *
                         sizeof(wchar_t);
    size_t total = 0;
    for (const std::wstring& p : ports)
        total += record + (p.size() + 1) * sizeof(wchar_t) + (level == 2 ? description : 0);
    if (needed != nullptr) *needed = static_cast<DWORD>(total);
    if (returned != nullptr) *returned = 0;
    if (buffer == nullptr || size < total) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    BYTE* strings = buffer + total;
    auto place = [&strings](const wchar_t* text) {
        size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
        strings -= bytes;
        std::memcpy(strings, text, bytes);
        return reinterpret_cast<LPWSTR>(strings);
    };
    for (size_t i = 0; i < ports.size(); ++i) {
        if (level == 1) {
            reinterpret_cast<PORT_INFO_1W*>(buffer)[i].pName = place(ports[i].c_str());
        } else {
            PORT_INFO_2W& info = reinterpret_cast<PORT_INFO_2W*>(buffer)[i];
            info.pPortName = place(ports[i].c_str());
            info.pMonitorName = place(portmonitor::kMonitorName);
            info.pDescription = place(portmonitor::kPortDescription);
            info.fPortType = PORT_TYPE_WRITE;
            info.Reserved = 0;
        }
    }
    if (returned != nullptr) *returned = static_cast<DWORD>(ports.size());
    return TRUE;
}

BOOL WINAPI OpenPort(HANDLE, LPWSTR name, PHANDLE handle) {
    if (name == nullptr || handle == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (const std::wstring& p : portmonitor::ListPorts()) {
        if (_wcsicmp(p.c_str(), name) == 0) {
            Port* port = new (std::nothrow) Port;
            if (port == nullptr) {
                SetLastError(ERROR_NOT_ENOUGH_MEMORY);
                return FALSE;
            }
            port->name = p;
            *handle = port;
            return TRUE;
        }
    }
    SetLastError(ERROR_UNKNOWN_PORT);
    return FALSE;
}

BOOL WINAPI StartDocPort(HANDLE handle, LPWSTR printerName, DWORD jobId, DWORD, LPBYTE) {
    Port* port = static_cast<Port*>(handle);
    port->file = CreateFileW(OutputPath(port->name).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (port->file == INVALID_HANDLE_VALUE) return FALSE;
    // The job is marked as sent at its end, so the queue lets it go.
    port->jobId = jobId;
    if (printerName == nullptr || !OpenPrinterW(printerName, &port->printer, nullptr)) port->printer = nullptr;
    return TRUE;
}

BOOL WINAPI WritePort(HANDLE handle, LPBYTE data, DWORD size, LPDWORD written) {
    Port* port = static_cast<Port*>(handle);
    *written = 0;
    if (port->file == INVALID_HANDLE_VALUE) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return WriteFile(port->file, data, size, written, nullptr);
}

BOOL WINAPI ReadPort(HANDLE, LPBYTE, DWORD, LPDWORD read) {
    *read = 0;  // the printers send nothing back through these ports
    return TRUE;
}

BOOL WINAPI EndDocPort(HANDLE handle) {
    Port* port = static_cast<Port*>(handle);
    if (port->file != INVALID_HANDLE_VALUE) CloseHandle(port->file);
    port->file = INVALID_HANDLE_VALUE;
    if (port->printer != nullptr) {
        SetJobW(port->printer, port->jobId, 0, nullptr, JOB_CONTROL_SENT_TO_PRINTER);
        ClosePrinter(port->printer);
        port->printer = nullptr;
    }
    return TRUE;
}

BOOL WINAPI ClosePort(HANDLE handle) {
    Port* port = static_cast<Port*>(handle);
    if (port->file != INVALID_HANDLE_VALUE) EndDocPort(port);
    delete port;
    return TRUE;
}

VOID WINAPI Shutdown(HANDLE) {}

MONITOR2 MakeTable() {
    MONITOR2 table;
    std::memset(&table, 0, sizeof(table));
    table.cbSize = sizeof(table);
    table.pfnEnumPorts = EnumPorts;
    table.pfnOpenPort = OpenPort;
    table.pfnStartDocPort = StartDocPort;
    table.pfnWritePort = WritePort;
    table.pfnReadPort = ReadPort;
    table.pfnEndDocPort = EndDocPort;
    table.pfnClosePort = ClosePort;
    table.pfnShutdown = Shutdown;
    return table;
}

MONITOR2 table = MakeTable();

}  // namespace

extern "C" __declspec(dllexport) LPMONITOR2 WINAPI InitializePrintMonitor2(PMONITORINIT, PHANDLE monitor) {
    if (monitor != nullptr) *monitor = &monitorTag;
    RegisterPorts(portmonitor::ListPorts());
    return &table;
}
