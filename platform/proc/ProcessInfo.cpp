#include "ProcessInfo.h"

#include <psapi.h>

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "Handles.h"
#include "../os/SystemFiles.h"
#include "../seams/Seams.h"
#include "../text/Format.h"

namespace {
// 1970-01-01 00:00:00 UTC in 100-nanosecond ticks since 1601.
const ULONGLONG kUnixEpochTicks = 116444736000000000ULL;
// The longest path the system hands out: 32767 UTF-16 units and the terminator.
const DWORD kLongestPath = 32768;
}  // namespace

std::string FormatStartTime(const FILETIME& utc) {
    SYSTEMTIME system;
    if (!::FileTimeToSystemTime(&utc, &system) || system.wYear < 1900) {
        FILETIME epoch{static_cast<DWORD>(kUnixEpochTicks), static_cast<DWORD>(kUnixEpochTicks >> 32)};
        ::FileTimeToSystemTime(&epoch, &system);
    }
    SYSTEMTIME local;
    if (!::SystemTimeToTzSpecificLocalTime(nullptr, &system, &local)) return std::string();
    return FormatDateTime(local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond);
}

HANDLE OpenRunningProcess(DWORD access, DWORD processId, const FILETIME& created, FILETIME* createdNow) {
    if (createdNow) *createdNow = FILETIME{};
    // A process that has ended is signalled. Its exit code can't tell: a process may itself end
    // with 259, STILL_ACTIVE. Waiting needs SYNCHRONIZE, which the query rights don't include;
    // where that is refused, the exit code is all there is.
    bool canWait = true;
    HANDLE process = g_seams.openProcess(access | SYNCHRONIZE, FALSE, processId);
    if (!process) {
        process = g_seams.openProcess(access, FALSE, processId);
        canWait = (access & SYNCHRONIZE) != 0;
    }
    if (!process) return nullptr;
    bool running;
    if (canWait) {
        running = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    } else {
        DWORD code = 0;
        running = !::GetExitCodeProcess(process, &code) || code == STILL_ACTIVE;
    }
    FILETIME now{};
    if (running && (IsKnownTime(created) || createdNow)) {
        bool read = GetCreationTime(process, &now);
        if (IsKnownTime(created)) running = read && ::CompareFileTime(&now, &created) == 0;
    }
    if (!running) {
        ::CloseHandle(process);
        return nullptr;
    }
    if (createdNow) *createdNow = now;
    return process;
}

bool GetCreationTime(HANDLE process, FILETIME* created) {
    FILETIME exited, kernel, user;
    return g_seams.getProcessTimes(process, created, &exited, &kernel, &user) != 0;
}

FILETIME ReadCreationTime(DWORD processId) {
    // The least right that reads times: it is granted for more processes than full queries.
    ScopedHandle process(g_seams.openProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    FILETIME created{};
    if (!process.IsValid() || !GetCreationTime(process.Get(), &created)) return FILETIME{};
    return created;
}

bool IsListedProcess(DWORD processId, const FILETIME& created) {
    if (!IsKnownTime(created)) return true;
    FILETIME now = ReadCreationTime(processId);
    return IsKnownTime(now) && ::CompareFileTime(&now, &created) == 0;
}

std::wstring ProcessImagePath(HANDLE process) {
    std::vector<wchar_t> path(kLongestPath);
    DWORD length = kLongestPath;
    if (!::QueryFullProcessImageNameW(process, 0, path.data(), &length)) return std::wstring();
    return std::wstring(path.data(), length);
}

std::wstring ModuleFilePath(HANDLE process, HMODULE module) {
    std::vector<wchar_t> path(kLongestPath);
    DWORD length = ::GetModuleFileNameExW(process, module, path.data(), kLongestPath);
    // A full buffer means the path was cut: no path is better than another file's.
    if (length == 0 || length >= kLongestPath - 1) return std::wstring();
    return std::wstring(path.data(), length);
}

namespace {

// The name as the file system compares names: by code unit, case folded.
std::wstring FileKey(std::wstring path) {
    if (!path.empty()) ::CharUpperBuffW(&path[0], static_cast<DWORD>(path.size()));
    return path;
}

bool Wow64Process(HANDLE process) {
    BOOL target = FALSE, self = FALSE;
    return ::IsWow64Process(process, &target) && target && ::IsWow64Process(::GetCurrentProcess(), &self) && !self;
}

// The module handles of one view, at most limit; false when they can't be listed.
bool EnumerateModules(HANDLE process, DWORD filter, size_t limit, std::vector<HMODULE>* modules) {
    modules->assign(limit, nullptr);
    DWORD needed = 0;
    if (!g_seams.enumProcessModulesEx(process, modules->data(), static_cast<DWORD>(limit * sizeof(HMODULE)), &needed,
                                   filter))
        return false;
    modules->resize(std::min<size_t>(needed / sizeof(HMODULE), limit));
    return true;
}

}  // namespace

std::vector<std::wstring> ModuleFilesToShow(const std::vector<ListedModule>& modules, const std::wstring& system,
                                            const std::wstring& wow64) {
    const std::wstring systemKey = FileKey(system);
    std::vector<std::wstring> files;
    std::unordered_set<std::wstring> seen;
    for (const ListedModule& module : modules) {
        std::wstring path = module.path;
        size_t n = systemKey.size();
        if (module.wow64 && n > 0 && !wow64.empty() && path.size() > n && path[n] == L'\\' &&
            FileKey(path.substr(0, n)) == systemKey)
            path = wow64 + path.substr(n);
        if (!path.empty() && !seen.insert(FileKey(path)).second) continue;
        files.push_back(std::move(path));
    }
    return files;
}

std::vector<std::wstring> ListProcessModules(HANDLE process, size_t limit) {
    std::vector<HMODULE> all;
    if (!EnumerateModules(process, LIST_MODULES_ALL, limit, &all)) return {};
    std::unordered_set<HMODULE> thirtyTwoBit;
    std::wstring system, wow64;
    if (Wow64Process(process)) {
        system = SystemFolder();
        wow64 = SystemWow64Folder();
        std::vector<HMODULE> view;
        // Where the 32-bit view can't be told apart, each module is taken for a 32-bit one, as
        // nearly all of them are.
        if (EnumerateModules(process, LIST_MODULES_32BIT, limit, &view))
            thirtyTwoBit.insert(view.begin(), view.end());
        else
            thirtyTwoBit.insert(all.begin(), all.end());
    }
    std::vector<ListedModule> listed;
    for (HMODULE module : all) listed.push_back({ModuleFilePath(process, module), thirtyTwoBit.count(module) != 0});
    return ModuleFilesToShow(listed, system, wow64);
}
