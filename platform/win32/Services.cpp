// The service control manager, passed to the real API.
#include "platform/win32/Win32Families.h"
#include <windows.h>
#include <winsvc.h>

static_assert(sizeof(win::SERVICE_STATUS) == sizeof(::SERVICE_STATUS), "SERVICE_STATUS must keep the Windows layout");

namespace win::win32 {

namespace {

::SC_HANDLE Real(SC_HANDLE handle) { return reinterpret_cast<::SC_HANDLE>(handle); }
SC_HANDLE Ours(::SC_HANDLE handle) { return reinterpret_cast<SC_HANDLE>(handle); }

class RealServices : public Services {
public:
    SC_HANDLE OpenSCManagerA(LPCSTR machineName, LPCSTR databaseName, DWORD desiredAccess) override {
        return Ours(::OpenSCManagerA(machineName, databaseName, desiredAccess));
    }
    SC_HANDLE OpenServiceA(SC_HANDLE manager, LPCSTR serviceName, DWORD desiredAccess) override {
        return Ours(::OpenServiceA(Real(manager), serviceName, desiredAccess));
    }
    BOOL ControlService(SC_HANDLE service, DWORD control, SERVICE_STATUS* status) override {
        return ::ControlService(Real(service), control, reinterpret_cast<::SERVICE_STATUS*>(status));
    }
    BOOL StartServiceA(SC_HANDLE service, DWORD argumentCount, LPCSTR* arguments) override {
        return ::StartServiceA(Real(service), argumentCount, arguments);
    }
    BOOL QueryServiceStatus(SC_HANDLE service, SERVICE_STATUS* status) override {
        return ::QueryServiceStatus(Real(service), reinterpret_cast<::SERVICE_STATUS*>(status));
    }
    BOOL CloseServiceHandle(SC_HANDLE handle) override { return ::CloseServiceHandle(Real(handle)); }
};

}  // namespace

Services& Win32Services() {
    static RealServices instance;
    return instance;
}

}  // namespace win::win32
