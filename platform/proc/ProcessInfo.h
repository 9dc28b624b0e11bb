// Process facts as the panes show them.
#pragma once
#include <windows.h>

#include <string>

// The creation time of a process, a UTC file time, as local "%Y-%m-%d %H:%M:%S", converted with
// the time-zone rules in force at that moment. A time before 1900 (a zero file time, say) stands
// for the start of the calendar, 1970-01-01 00:00:00 UTC.
std::string FormatStartTime(const FILETIME& utc);

// Opens a process that is still running; null when it can't be opened or has ended. An ended
// process may still open while anything holds it (Wine keeps it for a while), but it has no
// memory or times left to show.
HANDLE OpenRunningProcess(DWORD access, DWORD processId);

// The creation time of an open process; false when it can't be read.
bool GetCreationTime(HANDLE process, FILETIME* created);

// Full paths in the ANSI code page, "" when they can't be read. In a double-byte code page a path
// within the system's limit of characters may take twice as many bytes, so the buffers hold more
// than MAX_PATH.
std::string ProcessImagePath(HANDLE process);
std::string ModuleFilePath(HANDLE process, HMODULE module);
// The module paths of a 32-bit process on 64-bit Windows, as a 64-bit program must open them:
// the process names its system folder System32, which the system redirects to SysWOW64 for it
// but not for a 64-bit program, which would find the 64-bit files of the same names there.
class SystemFolderRedirection {
public:
    explicit SystemFolderRedirection(HANDLE process);
    std::string Apply(const std::string& path) const;

private:
    std::string m_system, m_wow64;  // both empty: nothing redirected
};
