#include "Toolhelp.h"

#include <unordered_set>

namespace {

// A UTF-16 path in the ANSI code page.
std::string ToAnsiPath(const wchar_t* path) {
    int bytes = ::WideCharToMultiByte(CP_ACP, 0, path, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1) return std::string();
    std::string ansi(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, path, -1, &ansi[0], bytes, nullptr, nullptr);
    ansi.resize(static_cast<size_t>(bytes - 1));
    return ansi;
}

}  // namespace

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

// The entries are read as UTF-16: the ANSI entry holds MAX_PATH bytes, too few for a path of
// MAX_PATH characters in a double-byte code page.
std::vector<std::string> SnapshotModulePaths(HANDLE snapshot) {
    std::vector<std::string> paths;
    // Each path upper-cased as the file system compares names: by code unit, case folded.
    std::unordered_set<std::wstring> seen;
    MODULEENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    if (!g_pfnModule32FirstW(snapshot, &entry)) return paths;
    do {
        entry.szExePath[MAX_PATH - 1] = L'\0';
        std::wstring key(entry.szExePath);
        ::CharUpperBuffW(&key[0], static_cast<DWORD>(key.size()));
        if (!seen.insert(std::move(key)).second) continue;
        paths.push_back(ToAnsiPath(entry.szExePath));
    } while (g_pfnModule32NextW(snapshot, &entry));
    return paths;
}

std::string SnapshotExecutablePath(HANDLE snapshot) {
    MODULEENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    if (!g_pfnModule32FirstW(snapshot, &entry)) return std::string();
    entry.szExePath[MAX_PATH - 1] = L'\0';
    return ToAnsiPath(entry.szExePath);
}
