// The print spooler's port enumeration. Tests point this elsewhere to hand the program more
// port records than its first buffer holds, which no test machine has.
#pragma once
#include <windows.h>
#include <winspool.h>

using EnumPortsFunction = BOOL(WINAPI*)(LPSTR server, DWORD level, LPBYTE ports, DWORD size, LPDWORD needed,
                                        LPDWORD returned);

// The spooler's own EnumPortsA, loaded on first use: the spooler library costs start-up time
// and only the port list needs it.
BOOL WINAPI SpoolerEnumPorts(LPSTR server, DWORD level, LPBYTE ports, DWORD size, LPDWORD needed,
                             LPDWORD returned);

inline EnumPortsFunction g_pfnEnumPorts = SpoolerEnumPorts;
