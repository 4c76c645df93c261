// Simulated version query and last error.
#include <cstring>

#include "platform/sim/SimPlatform.h"

namespace win::sim {

namespace {
thread_local DWORD lastError = 0;
}

void SetSimLastError(DWORD error) { lastError = error; }

BOOL SimKernel::GetVersionExA(OSVERSIONINFOA* info) {
    DWORD error;
    if (w_.TakeFault("GetVersionExA", &error)) {
        SetSimLastError(error);
        return FALSE;
    }
    if (info == nullptr || (info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA))) {
        SetSimLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    *info = w_.version;
    info->dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    return TRUE;
}

DWORD SimKernel::GetLastError() { return lastError; }

void SimKernel::SetLastError(DWORD error) { lastError = error; }

}  // namespace win::sim
