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
