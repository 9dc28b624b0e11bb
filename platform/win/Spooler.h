// The print spooler's port enumeration. Tests point this elsewhere to hand the program more
// port records than its first buffer holds, which no test machine has.
#pragma once
#include <windows.h>
#include <winspool.h>

inline BOOL(WINAPI* g_pfnEnumPorts)(LPSTR server, DWORD level, LPBYTE ports, DWORD size, LPDWORD needed,
                                    LPDWORD returned) = ::EnumPortsA;
