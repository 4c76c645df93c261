// The port monitor both stand-in monitors share; each DLL supplies its port names and description.
#pragma once

#include <string>
#include <vector>

namespace portmonitor {

// The ports the monitor offers now; asked again on every enumeration.
std::vector<std::wstring> ListPorts();
// The texts EnumPorts level 2 gives as each port's monitor and description.
extern const wchar_t* const kMonitorName;
extern const wchar_t* const kPortDescription;

}  // namespace portmonitor
