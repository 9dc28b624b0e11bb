#include "ProcessInfo.h"

#include "platform/text/Format.h"

namespace {
// 1970-01-01 00:00:00 UTC in 100-nanosecond ticks since 1601.
const ULONGLONG kUnixEpochTicks = 116444736000000000ULL;
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

HANDLE OpenRunningProcess(DWORD access, DWORD processId) {
    HANDLE process = ::OpenProcess(access, FALSE, processId);
    DWORD code = 0;
    if (process && ::GetExitCodeProcess(process, &code) && code != STILL_ACTIVE) {
        ::CloseHandle(process);
        return nullptr;
    }
    return process;
}

bool GetCreationTime(HANDLE process, FILETIME* created) {
    FILETIME exited, kernel, user;
    return ::GetProcessTimes(process, created, &exited, &kernel, &user) != 0;
}
