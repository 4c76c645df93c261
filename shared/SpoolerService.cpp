// The spooler service control shared by setup and uninstall.
#include "shared/SpoolerService.h"

#include <utility>

using namespace win;

namespace {

// Owns one service or manager handle and closes it on every path.
class ServiceHandle {
public:
    ServiceHandle(Services& services, SC_HANDLE handle) : services_(services), handle_(handle) {}
    ServiceHandle(const ServiceHandle&) = delete;
    ServiceHandle& operator=(const ServiceHandle&) = delete;
    ~ServiceHandle() {
        if (handle_ != nullptr) services_.CloseServiceHandle(std::exchange(handle_, nullptr));
    }

    bool Valid() const { return handle_ != nullptr; }
    SC_HANDLE Get() const { return handle_; }

private:
    Services& services_;
    SC_HANDLE handle_;
};

ServiceHandle OpenManager(Platform& platform) {
    return ServiceHandle(platform.services,
                         platform.services.OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
}

void SendStop(Platform& platform, const ServiceHandle& manager) {
    ServiceHandle service(platform.services,
                          platform.services.OpenServiceA(manager.Get(), kSpoolerServiceName, SERVICE_STOP));
    if (!service.Valid()) return;
    SERVICE_STATUS status{};
    platform.services.ControlService(service.Get(), SERVICE_CONTROL_STOP, &status);
}

// 0 when the service started or already runs, else the error of the step that failed.
DWORD SendStart(Platform& platform, const ServiceHandle& manager) {
    ServiceHandle service(platform.services,
                          platform.services.OpenServiceA(manager.Get(), kSpoolerServiceName, SERVICE_START));
    if (!service.Valid()) return platform.kernel.GetLastError();
    if (platform.services.StartServiceA(service.Get(), 0, nullptr)) return 0;
    DWORD error = platform.kernel.GetLastError();
    return error == ERROR_SERVICE_ALREADY_RUNNING ? 0 : error;
}

}  // namespace

std::string StartSpoolerErrorText(DWORD error) {
    return "Start spool service error, error code = " + std::to_string(static_cast<unsigned long>(error));
}

void StopSpooler(Platform& platform) {
    ServiceHandle manager = OpenManager(platform);
    if (!manager.Valid()) return;
    SendStop(platform, manager);
    // Give the service a moment to begin stopping before the caller touches its files.
    platform.clock.Sleep(kStopSpoolerPause);
}

void StartSpooler(Platform& platform, std::string& message) {
    ServiceHandle manager = OpenManager(platform);
    // A manager that cannot be opened is a failed start too, reported with its own error.
    DWORD error = manager.Valid() ? SendStart(platform, manager) : platform.kernel.GetLastError();
    if (error != 0) message = StartSpoolerErrorText(error);
}

bool WaitForSpooler(Platform& platform, std::string& message) {
    bool running = false;
    ServiceHandle manager = OpenManager(platform);
    if (manager.Valid()) {
        ServiceHandle service(
            platform.services,
            platform.services.OpenServiceA(manager.Get(), kSpoolerServiceName, SERVICE_QUERY_STATUS));
        for (int query = 0; service.Valid() && query < kWaitForSpoolerQueries; ++query) {
            SERVICE_STATUS status{};
            if (platform.services.QueryServiceStatus(service.Get(), &status) &&
                status.dwCurrentState == SERVICE_RUNNING) {
                running = true;
                break;
            }
            platform.clock.Sleep(kWaitForSpoolerPause);
        }
    }
    if (!running) message = kSpoolerNotRunningMessage;
    return running;
}

void RestartSpooler(Platform& platform) {
    ServiceHandle manager = OpenManager(platform);
    if (manager.Valid()) SendStop(platform, manager);
    // Callers rely on the pause even when the service manager cannot be reached.
    platform.clock.Sleep(kRestartSpoolerPause);
    // A spooler left stopped breaks every printer of the machine: a failed start is tried once more.
    if (manager.Valid() && SendStart(platform, manager) != 0) {
        platform.clock.Sleep(kWaitForSpoolerPause);
        SendStart(platform, manager);
    }
}
