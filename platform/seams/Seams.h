// Every system call the tests point elsewhere, in one place: each is a plain function pointer,
// set to the real call, that a test may change for the length of a test. Only calls that can't
// run here or can't be made to fail here have one.
#pragma once
#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>
#include <winspool.h>
#include <psapi.h>

// The shell calls that hand a file or an address to another program: Wine's shell has no
// Properties dialog, and no test should open a browser.
extern BOOL(WINAPI* g_pfnShellExecuteEx)(SHELLEXECUTEINFOW* info);
extern HINSTANCE(WINAPI* g_pfnShellExecute)(HWND owner, LPCSTR operation, LPCSTR file,
                                            LPCSTR parameters, LPCSTR directory, INT show);

// The print spooler's port enumeration: a test hands the program more port records than its
// first buffer holds, which no test machine has.
using EnumPortsFunction = BOOL(WINAPI*)(LPSTR server, DWORD level, LPBYTE ports, DWORD size, LPDWORD needed,
                                        LPDWORD returned);
// The spooler's own EnumPortsA, loaded from the system folder on first use: the spooler library
// costs start-up time and only the port list needs it.
BOOL WINAPI SpoolerEnumPorts(LPSTR server, DWORD level, LPBYTE ports, DWORD size, LPDWORD needed,
                             LPDWORD returned);
extern EnumPortsFunction g_pfnEnumPorts;

// The snapshot call itself: a test makes a snapshot fail.
extern HANDLE(WINAPI* g_pfnCreateSnapshot)(DWORD flags, DWORD processId);
// The module walk: a test hands the program the entries of a 32-bit process on 64-bit Windows,
// which no test machine gives.
extern BOOL(WINAPI* g_pfnModule32FirstW)(HANDLE snapshot, MODULEENTRY32W* entry);
extern BOOL(WINAPI* g_pfnModule32NextW)(HANDLE snapshot, MODULEENTRY32W* entry);

// The fallback module listing: a test hands the program more modules than its buffer holds,
// which no test process has.
extern BOOL(WINAPI* g_pfnEnumProcessModulesEx)(HANDLE process, HMODULE* modules, DWORD size, LPDWORD needed,
                                              DWORD filter);
// Ending a process: a test makes it fail, which no process the test may open can make it do.
extern BOOL(WINAPI* g_pfnTerminateProcess)(HANDLE process, UINT exitCode);
// Loading a library of the system folder: a test makes a load fail once, which no system folder
// here can be made to do.
extern HMODULE(WINAPI* g_pfnLoadLibraryEx)(LPCWSTR file, HANDLE reserved, DWORD flags);
