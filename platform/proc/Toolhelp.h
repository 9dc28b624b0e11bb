// Toolhelp snapshots as the program takes them.
#pragma once
#include <windows.h>
#include <tlhelp32.h>

// The snapshot call itself. Tests point it elsewhere to make a snapshot fail.
extern HANDLE(WINAPI* g_pfnCreateSnapshot)(DWORD flags, DWORD processId);

// A snapshot of every process, or INVALID_HANDLE_VALUE.
HANDLE CreateProcessSnapshot();
// A snapshot of one process's modules, 64-bit and 32-bit alike, or INVALID_HANDLE_VALUE.
// The system answers ERROR_BAD_LENGTH while the process's module list is changing; such a
// snapshot is asked for again, a few times.
HANDLE CreateModuleSnapshot(DWORD processId);
