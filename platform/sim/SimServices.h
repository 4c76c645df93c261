// The simulated service control manager, with the "Spooler" service and its states.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/Services.h"
#include "platform/sim/SimWindows.h"

namespace win::sim {

class SimServices : public Services {
public:
    explicit SimServices(SimWindows& w);
    ~SimServices() override;
    SimServices(const SimServices&) = delete;
    SimServices& operator=(const SimServices&) = delete;

    SC_HANDLE OpenSCManagerA(LPCSTR machineName, LPCSTR databaseName, DWORD desiredAccess) override;
    SC_HANDLE OpenServiceA(SC_HANDLE manager, LPCSTR serviceName, DWORD desiredAccess) override;
    BOOL ControlService(SC_HANDLE service, DWORD control, SERVICE_STATUS* status) override;
    BOOL StartServiceA(SC_HANDLE service, DWORD argumentCount, LPCSTR* arguments) override;
    BOOL QueryServiceStatus(SC_HANDLE service, SERVICE_STATUS* status) override;
    BOOL CloseServiceHandle(SC_HANDLE handle) override;

    // What tests set and inspect. A service is known by its name without regard to case.
    struct Service {
        DWORD state = SERVICE_RUNNING;
        // Every start fails with this error while it is not 0.
        DWORD startError = 0;
        // After a start the service reports start pending for this many status queries.
        int pendingQueries = 0;
        // The service never gets beyond start pending.
        bool neverRuns = false;
    };
    Service& service(const std::string& name);
    bool IsRunning(const std::string& name) const;
    // Every call as "Name argument", e.g. "OpenServiceA Spooler 0x20", "ControlService 1", "StartServiceA".
    std::vector<std::string> calls;
    // Handles opened and not yet closed.
    size_t OpenHandleCount() const { return handles_.size(); }

private:
    struct Handle {
        bool manager;
        std::string service;
        DWORD access;
    };
    Handle* Find(SC_HANDLE handle);
    // The service handle of a call, after its injected fault, the handle and the access it needs are
    // checked; null with the last error set otherwise.
    Handle* OpenedService(const char* operation, SC_HANDLE handle, DWORD access);
    Service* Known(const std::string& name);
    static std::string Key(const std::string& name);

    SimWindows& w_;
    std::map<std::string, Service> services_;
    std::map<SC_HANDLE, Handle> handles_;
    uintptr_t nextHandle_ = 0x5c000;
};

}  // namespace win::sim
