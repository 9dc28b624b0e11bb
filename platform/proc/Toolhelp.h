// Toolhelp snapshots as the program takes them.
#pragma once
#include <windows.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "../seams/Seams.h"

// A snapshot of every process, or INVALID_HANDLE_VALUE.
HANDLE CreateProcessSnapshot();
// A snapshot of one process's modules, 64-bit and 32-bit alike, or INVALID_HANDLE_VALUE.
// The system answers ERROR_BAD_LENGTH while the process's module list is changing; such a
// snapshot is asked for again, a few times.
HANDLE CreateModuleSnapshot(DWORD processId);

// The full paths of a module snapshot's modules as the system gives them (UTF-16), in the
// snapshot's order, the executable first. For a 32-bit process on 64-bit Windows the snapshot holds
// the process's 64-bit view and then its 32-bit view, each starting with the executable: each file
// is given once.
std::vector<std::wstring> SnapshotModulePaths(HANDLE snapshot);
// The first module of a module snapshot, the executable; "" when there is none.
std::wstring SnapshotExecutablePath(HANDLE snapshot);
