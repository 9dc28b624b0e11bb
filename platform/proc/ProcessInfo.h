// Process facts as the panes show them.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

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

// Full paths as the system gives them (UTF-16), "" when they can't be read.
std::wstring ProcessImagePath(HANDLE process);
std::wstring ModuleFilePath(HANDLE process, HMODULE module);

// One module as the process-status services list it: its path ("" when it can't be read), and
// whether it is a 32-bit module of a 32-bit process on 64-bit Windows.
struct ListedModule {
    std::wstring path;
    bool wow64;
};
// The files to show for listed modules, in their order, each file once ("" for each module whose
// path can't be read). A 32-bit module names the system folder System32, which the system
// redirects to SysWOW64 for its process but not for a 64-bit program, which would find the 64-bit
// files of the same names there: its path is given as the file it is. The process's 64-bit
// modules (ntdll.dll, wow64*.dll) are the System32 files they name.
std::vector<std::wstring> ModuleFilesToShow(const std::vector<ListedModule>& modules, const std::wstring& system,
                                            const std::wstring& wow64);
// The module files of a process through the process-status services, at most `limit`, the
// executable first, as ModuleFilesToShow gives them; empty when they can't be listed.
std::vector<std::wstring> ListProcessModules(HANDLE process, size_t limit);
