#include "Toolhelp.h"

#include "ProcessInfo.h"

HANDLE CreateProcessSnapshot() { return g_seams.createSnapshot(TH32CS_SNAPPROCESS, 0); }

HANDLE CreateModuleSnapshot(DWORD processId) {
    const int kAttempts = 5;
    HANDLE snapshot = INVALID_HANDLE_VALUE;
    for (int i = 0; i < kAttempts; ++i) {
        snapshot = g_seams.createSnapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, processId);
        if (snapshot != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_BAD_LENGTH) break;
    }
    return snapshot;
}

// The entries are read as UTF-16: the ANSI entry holds MAX_PATH bytes, too few for a path of
// MAX_PATH characters in a double-byte code page, and its paths name files the code page can't
// spell by look-alikes.
std::vector<std::wstring> SnapshotModulePaths(HANDLE snapshot) {
    std::vector<ListedModule> listed;
    MODULEENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    if (!g_seams.module32FirstW(snapshot, &entry)) return {};
    do {
        entry.szExePath[MAX_PATH - 1] = L'\0';
        listed.push_back({entry.szExePath, false});  // the snapshot names each file as it is
    } while (g_seams.module32NextW(snapshot, &entry));
    return ModuleFilesToShow(listed, std::wstring(), std::wstring());
}

std::wstring SnapshotExecutablePath(HANDLE snapshot) {
    MODULEENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    if (!g_seams.module32FirstW(snapshot, &entry)) return std::wstring();
    entry.szExePath[MAX_PATH - 1] = L'\0';
    return entry.szExePath;
}
