// The serial port monitor's ports: KXCOM1: to KXCOM8:.
#include "stand-ins/monitor/PortMonitor.h"

namespace portmonitor {

const wchar_t* const kMonitorName = L"VORL COM Monitor";
const wchar_t* const kPortDescription = L"VORL serial port";

std::vector<std::wstring> ListPorts() {
    std::vector<std::wstring> ports;
    for (int i = 1; i <= 8; ++i) ports.push_back(L"KXCOM" + std::to_wstring(i) + L":");
    return ports;
}

}  // namespace portmonitor
