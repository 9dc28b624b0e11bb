#include "ProcessInfo.h"

#include <psapi.h>

#include <vector>

#include "platform/proc/Handles.h"
#include "platform/text/Format.h"

namespace {
// 1970-01-01 00:00:00 UTC in 100-nanosecond ticks since 1601.
const ULONGLONG kUnixEpochTicks = 116444736000000000ULL;
// The longest path the system hands out is 32767 UTF-16 units; each is at most two bytes in a
// double-byte code page.
const DWORD kAnsiPathBytes = 2 * 32767 + 1;
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
    HANDLE process = ::OpenProcess(access | SYNCHRONIZE, FALSE, processId);
    if (!process) {
        process = ::OpenProcess(access, FALSE, processId);
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
    return ::GetProcessTimes(process, created, &exited, &kernel, &user) != 0;
}

FILETIME ReadCreationTime(DWORD processId) {
    // The least right that reads times: it is granted for more processes than full queries.
    ScopedHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    FILETIME created{};
    if (!process.IsValid() || !GetCreationTime(process.Get(), &created)) return FILETIME{};
    return created;
}

bool IsListedProcess(DWORD processId, const FILETIME& created) {
    if (!IsKnownTime(created)) return true;
    FILETIME now = ReadCreationTime(processId);
    return IsKnownTime(now) && ::CompareFileTime(&now, &created) == 0;
}

std::string ProcessImagePath(HANDLE process) {
    std::vector<char> path(kAnsiPathBytes);
    DWORD length = kAnsiPathBytes;
    if (!::QueryFullProcessImageNameA(process, 0, path.data(), &length)) return std::string();
    return std::string(path.data(), length);
}

std::string ModuleFilePath(HANDLE process, HMODULE module) {
    std::vector<char> path(kAnsiPathBytes);
    DWORD length = ::GetModuleFileNameExA(process, module, path.data(), kAnsiPathBytes);
    // A full buffer means the path was cut: no path is better than another file's.
    if (length == 0 || length >= kAnsiPathBytes) return std::string();
    return std::string(path.data(), length);
}

SystemFolderRedirection::SystemFolderRedirection(HANDLE process) {
    BOOL target = FALSE, self = FALSE;
    if (!::IsWow64Process(process, &target) || !target || !::IsWow64Process(::GetCurrentProcess(), &self) || self)
        return;
    char system[MAX_PATH], wow64[MAX_PATH];
    UINT systemLength = ::GetSystemDirectoryA(system, MAX_PATH);
    UINT wow64Length = ::GetSystemWow64DirectoryA(wow64, MAX_PATH);
    if (systemLength == 0 || systemLength >= MAX_PATH || wow64Length == 0 || wow64Length >= MAX_PATH) return;
    m_system.assign(system, systemLength);
    m_wow64.assign(wow64, wow64Length);
}

std::string SystemFolderRedirection::Apply(const std::string& path) const {
    size_t n = m_system.size();
    if (n == 0 || path.size() <= n || path[n] != '\\' || !LabelsEqual(path.substr(0, n).c_str(), m_system.c_str()))
        return path;
    return m_wow64 + path.substr(n);
}
