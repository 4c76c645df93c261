// The simulated service control manager: the "Spooler" service stops, starts and reports its state.
#include <cctype>
#include <cstdio>

#include "platform/sim/SimServices.h"

namespace win::sim {

namespace {

constexpr DWORD kManagerAccess = SC_MANAGER_ALL_ACCESS;
// RPC_S_SERVER_UNAVAILABLE: only the local machine is simulated.
constexpr DWORD kServerUnavailable = 1722;

std::string Hex(DWORD value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(value));
    return text;
}

void Fill(const SimServices::Service& service, SERVICE_STATUS* status) {
    *status = SERVICE_STATUS{};
    status->dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status->dwCurrentState = service.state;
    status->dwControlsAccepted = service.state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
    status->dwWaitHint = service.state == SERVICE_START_PENDING ? 2000 : 0;
}

}  // namespace

SimServices::SimServices(SimWindows& w) : w_(w) { services_[Key("Spooler")] = Service{}; }

SimServices::~SimServices() = default;

std::string SimServices::Key(const std::string& name) {
    std::string key = name;
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

SimServices::Service& SimServices::service(const std::string& name) { return services_[Key(name)]; }

bool SimServices::IsRunning(const std::string& name) const {
    auto found = services_.find(Key(name));
    return found != services_.end() && found->second.state == SERVICE_RUNNING;
}

SimServices::Handle* SimServices::Find(SC_HANDLE handle) {
    auto found = handles_.find(handle);
    return found == handles_.end() ? nullptr : &found->second;
}

SimServices::Service* SimServices::Known(const std::string& name) {
    auto found = services_.find(Key(name));
    return found == services_.end() ? nullptr : &found->second;
}

SC_HANDLE SimServices::OpenSCManagerA(LPCSTR machineName, LPCSTR, DWORD desiredAccess) {
    calls.push_back("OpenSCManagerA " + Hex(desiredAccess));
    DWORD error;
    if (w_.TakeFault("OpenSCManagerA", &error)) {
        SetSimLastError(error);
        return nullptr;
    }
    if (machineName != nullptr && machineName[0] != '\0') {
        SetSimLastError(kServerUnavailable);
        return nullptr;
    }
    SC_HANDLE handle = reinterpret_cast<SC_HANDLE>(nextHandle_ += 8);
    handles_[handle] = Handle{true, std::string(), desiredAccess & kManagerAccess};
    return handle;
}

SC_HANDLE SimServices::OpenServiceA(SC_HANDLE manager, LPCSTR serviceName, DWORD desiredAccess) {
    calls.push_back("OpenServiceA " + std::string(serviceName != nullptr ? serviceName : "") + " " +
                    Hex(desiredAccess));
    DWORD error;
    if (w_.TakeFault("OpenServiceA", &error)) {
        SetSimLastError(error);
        return nullptr;
    }
    Handle* owner = Find(manager);
    if (owner == nullptr || !owner->manager) {
        SetSimLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (serviceName == nullptr || Known(serviceName) == nullptr) {
        SetSimLastError(ERROR_SERVICE_DOES_NOT_EXIST);
        return nullptr;
    }
    SC_HANDLE handle = reinterpret_cast<SC_HANDLE>(nextHandle_ += 8);
    handles_[handle] = Handle{false, Key(serviceName), desiredAccess};
    return handle;
}

SimServices::Handle* SimServices::OpenedService(const char* operation, SC_HANDLE handle, DWORD access) {
    DWORD error;
    if (w_.TakeFault(operation, &error)) {
        SetSimLastError(error);
        return nullptr;
    }
    Handle* opened = Find(handle);
    if (opened == nullptr || opened->manager) {
        SetSimLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if ((opened->access & access) != access) {
        SetSimLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return opened;
}

BOOL SimServices::ControlService(SC_HANDLE handle, DWORD control, SERVICE_STATUS* status) {
    calls.push_back("ControlService " + std::to_string(control));
    Handle* opened = OpenedService("ControlService", handle, 0);
    if (opened == nullptr) return FALSE;
    Service& service = services_[opened->service];
    if (control != SERVICE_CONTROL_STOP && control != SERVICE_CONTROL_INTERROGATE) {
        SetSimLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (control == SERVICE_CONTROL_STOP && (opened->access & SERVICE_STOP) == 0) {
        SetSimLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (service.state == SERVICE_STOPPED) {
        SetSimLastError(ERROR_SERVICE_NOT_ACTIVE);
        return FALSE;
    }
    // A service that is still starting takes no stop request.
    if (control == SERVICE_CONTROL_STOP && service.state != SERVICE_RUNNING) {
        SetSimLastError(ERROR_SERVICE_CANNOT_ACCEPT_CTRL);
        return FALSE;
    }
    if (control == SERVICE_CONTROL_STOP) service.state = SERVICE_STOPPED;
    if (status != nullptr) Fill(service, status);
    return TRUE;
}

BOOL SimServices::StartServiceA(SC_HANDLE handle, DWORD, LPCSTR*) {
    calls.push_back("StartServiceA");
    Handle* opened = OpenedService("StartServiceA", handle, SERVICE_START);
    if (opened == nullptr) return FALSE;
    Service& service = services_[opened->service];
    if (service.state != SERVICE_STOPPED) {
        SetSimLastError(ERROR_SERVICE_ALREADY_RUNNING);
        return FALSE;
    }
    if (service.startError != 0) {
        SetSimLastError(service.startError);
        return FALSE;
    }
    service.state = service.neverRuns || service.pendingQueries > 0 ? SERVICE_START_PENDING : SERVICE_RUNNING;
    return TRUE;
}

BOOL SimServices::QueryServiceStatus(SC_HANDLE handle, SERVICE_STATUS* status) {
    calls.push_back("QueryServiceStatus");
    Handle* opened = OpenedService("QueryServiceStatus", handle, SERVICE_QUERY_STATUS);
    if (opened == nullptr) return FALSE;
    if (status == nullptr) {
        SetSimLastError(ERROR_INVALID_ADDRESS);
        return FALSE;
    }
    Service& service = services_[opened->service];
    Fill(service, status);
    // A pending start completes after the configured number of looks at it.
    if (service.state == SERVICE_START_PENDING && !service.neverRuns && --service.pendingQueries <= 0) {
        service.pendingQueries = 0;
        service.state = SERVICE_RUNNING;
    }
    return TRUE;
}

BOOL SimServices::CloseServiceHandle(SC_HANDLE handle) {
    calls.push_back("CloseServiceHandle");
    if (handles_.erase(handle) == 0) {
        SetSimLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

}  // namespace win::sim
