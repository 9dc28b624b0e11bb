#include "Seams.h"

#include "../os/SystemFiles.h"

BOOL(WINAPI* g_pfnShellExecuteEx)(SHELLEXECUTEINFOW*) = ::ShellExecuteExW;
HINSTANCE(WINAPI* g_pfnShellExecute)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) = ::ShellExecuteA;
EnumPortsFunction g_pfnEnumPorts = SpoolerEnumPorts;
HANDLE(WINAPI* g_pfnCreateSnapshot)(DWORD, DWORD) = ::CreateToolhelp32Snapshot;
BOOL(WINAPI* g_pfnModule32FirstW)(HANDLE, MODULEENTRY32W*) = ::Module32FirstW;
BOOL(WINAPI* g_pfnModule32NextW)(HANDLE, MODULEENTRY32W*) = ::Module32NextW;
BOOL(WINAPI* g_pfnEnumProcessModulesEx)(HANDLE, HMODULE*, DWORD, LPDWORD, DWORD) = ::EnumProcessModulesEx;
BOOL(WINAPI* g_pfnTerminateProcess)(HANDLE, UINT) = ::TerminateProcess;
HMODULE(WINAPI* g_pfnLoadLibraryEx)(LPCWSTR, HANDLE, DWORD) = ::LoadLibraryExW;

BOOL WINAPI SpoolerEnumPorts(LPSTR server, DWORD level, LPBYTE ports, DWORD size, LPDWORD needed,
                             LPDWORD returned) {
    static SystemLibrary spooler(L"winspool.drv");
    auto enumPorts = spooler.Get<EnumPortsFunction>("EnumPortsA");
    if (!enumPorts) return FALSE;
    return enumPorts(server, level, ports, size, needed, returned);
}
