// Process facts as the panes show them.
#pragma once
#include <windows.h>

#include <string>

// The creation time of a process, a UTC file time, as local "%Y-%m-%d %H:%M:%S", converted with
// the time-zone rules in force at that moment. A time before 1900 (a zero file time, say) stands
// for the start of the calendar, 1970-01-01 00:00:00 UTC.
std::string FormatStartTime(const FILETIME& utc);

// A zero file time: the creation time of a process that could not be read.
inline bool IsKnownTime(const FILETIME& t) { return t.dwLowDateTime != 0 || t.dwHighDateTime != 0; }

// Opens a process that is still running; null when it can't be opened or has ended. When its
// creation time is known, the process that holds the id must have been created then: the system
// gives an ended process's id to new processes, and such a process is not the one listed.
// createdNow, when given, receives the creation time read on the way (zero when it could not be
// read), which spares the caller asking the system for it again.
HANDLE OpenRunningProcess(DWORD access, DWORD processId, const FILETIME& created = FILETIME{},
                          FILETIME* createdNow = nullptr);

// The creation time of an open process; false when it can't be read.
bool GetCreationTime(HANDLE process, FILETIME* created);
// The creation time of the process holding an id, or a zero time when it can't be read.
FILETIME ReadCreationTime(DWORD processId);
// Whether the process holding the id was created at that time; a zero time matches any process.
bool IsListedProcess(DWORD processId, const FILETIME& created);

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
