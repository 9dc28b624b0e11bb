// Every system call the tests point elsewhere, in one place: one plain function pointer each, set
// to the real call, in one struct, so that a test saves and puts back all of them at once (the
// test harness's ScopedSeams). Only calls that can't run here or can't be made to fail here have
// one. A new seam is one member here and its real call in Seams.cpp.
#pragma once
#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>
#include <winspool.h>
#include <psapi.h>

using EnumPortsFunction = BOOL(WINAPI*)(LPSTR server, DWORD level, LPBYTE ports, DWORD size, LPDWORD needed,
                                        LPDWORD returned);

struct Seams {
    // The shell calls that hand a file or an address to another program: Wine's shell has no
    // Properties dialog, and no test should open a browser.
    BOOL(WINAPI* shellExecuteEx)(SHELLEXECUTEINFOW* info);
    HINSTANCE(WINAPI* shellExecute)(HWND owner, LPCSTR operation, LPCSTR file, LPCSTR parameters,
                                    LPCSTR directory, INT show);
    // The print spooler's port enumeration: a test hands the program more port records than its
    // first buffer holds, which no test machine has.
    EnumPortsFunction enumPorts;
    // The snapshot call itself: a test makes a snapshot fail.
    HANDLE(WINAPI* createSnapshot)(DWORD flags, DWORD processId);
    // The module walk: a test hands the program the entries of a 32-bit process on 64-bit Windows,
    // which no test machine gives.
    BOOL(WINAPI* module32FirstW)(HANDLE snapshot, MODULEENTRY32W* entry);
    BOOL(WINAPI* module32NextW)(HANDLE snapshot, MODULEENTRY32W* entry);
    // The fallback module listing: a test hands the program more modules than its buffer holds,
    // which no test process has.
    BOOL(WINAPI* enumProcessModulesEx)(HANDLE process, HMODULE* modules, DWORD size, LPDWORD needed, DWORD filter);
    // Ending a process: a test makes it fail, which no process the test may open can make it do.
    BOOL(WINAPI* terminateProcess)(HANDLE process, UINT exitCode);
    // Loading a library of the system folder: a test makes a load fail once, which no system folder
    // here can be made to do.
    HMODULE(WINAPI* loadLibraryEx)(LPCWSTR file, HANDLE reserved, DWORD flags);
    // The DPI of the monitor a window is on (0 where Windows can't tell): a test puts the window on
    // a monitor of another scale than the system's, which Wine never does.
    UINT(WINAPI* dpiForWindow)(HWND hwnd);
    // Making a window of the layer: a test makes it fail before any creation message, as Windows
    // does when the process is out of window handles or desktop heap.
    HWND(WINAPI* createWindowEx)(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                                 int cx, int cy, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
    // A file's icon, as the shell's small one and drawn for another size: a test makes a stock
    // icon of the system folder unreadable, which no system folder here can be made to be.
    UINT(WINAPI* extractIconEx)(LPCWSTR file, int index, HICON* large, HICON* small, UINT icons);
    HRESULT(WINAPI* shDefExtractIcon)(LPCWSTR file, int index, UINT flags, HICON* large, HICON* small,
                                      UINT sizes);
    // Opening a process and reading its times: a test plays a standard user's processes, which
    // refuse rights or hide their creation time; Wine grants everything to everyone.
    HANDLE(WINAPI* openProcess)(DWORD access, BOOL inherit, DWORD processId);
    BOOL(WINAPI* getProcessTimes)(HANDLE process, LPFILETIME created, LPFILETIME exited, LPFILETIME kernel,
                                  LPFILETIME user);
};
extern Seams g_seams;
// The real calls, as g_seams starts.
extern const Seams kSystemCalls;

// The spooler's own EnumPortsA, loaded from the system folder on first use: the spooler library
// costs start-up time and only the port list needs it.
BOOL WINAPI SpoolerEnumPorts(LPSTR server, DWORD level, LPBYTE ports, DWORD size, LPDWORD needed,
                             LPDWORD returned);
