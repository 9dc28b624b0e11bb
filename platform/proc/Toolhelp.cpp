#include "Toolhelp.h"

HANDLE(WINAPI* g_pfnCreateSnapshot)(DWORD, DWORD) = ::CreateToolhelp32Snapshot;

HANDLE CreateProcessSnapshot() { return g_pfnCreateSnapshot(TH32CS_SNAPPROCESS, 0); }

HANDLE CreateModuleSnapshot(DWORD processId) {
    const int kAttempts = 5;
    HANDLE snapshot = INVALID_HANDLE_VALUE;
    for (int i = 0; i < kAttempts; ++i) {
        snapshot = g_pfnCreateSnapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, processId);
        if (snapshot != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_BAD_LENGTH) break;
    }
    return snapshot;
}
