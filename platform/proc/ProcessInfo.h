// Process facts as the panes show them.
#pragma once
#include <windows.h>

#include <string>

// The creation time of a process, a UTC file time, as local "%Y-%m-%d %H:%M:%S", converted with
// the time-zone rules in force at that moment. A time before 1900 (a zero file time, say) stands
// for the start of the calendar, 1970-01-01 00:00:00 UTC.
std::string FormatStartTime(const FILETIME& utc);

// The creation time of an open process; false when it can't be read.
bool GetCreationTime(HANDLE process, FILETIME* created);
