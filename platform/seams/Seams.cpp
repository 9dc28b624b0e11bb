#include "Seams.h"

BOOL(WINAPI* g_pfnShellExecuteEx)(SHELLEXECUTEINFOA*) = ::ShellExecuteExA;
HINSTANCE(WINAPI* g_pfnShellExecute)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) = ::ShellExecuteA;
EnumPortsFunction g_pfnEnumPorts = SpoolerEnumPorts;
HANDLE(WINAPI* g_pfnCreateSnapshot)(DWORD, DWORD) = ::CreateToolhelp32Snapshot;
BOOL(WINAPI* g_pfnModule32FirstW)(HANDLE, MODULEENTRY32W*) = ::Module32FirstW;
BOOL(WINAPI* g_pfnModule32NextW)(HANDLE, MODULEENTRY32W*) = ::Module32NextW;
BOOL(WINAPI* g_pfnEnumProcessModulesEx)(HANDLE, HMODULE*, DWORD, LPDWORD, DWORD) = ::EnumProcessModulesEx;
BOOL(WINAPI* g_pfnTerminateProcess)(HANDLE, UINT) = ::TerminateProcess;

BOOL WINAPI SpoolerEnumPorts(LPSTR server, DWORD level, LPBYTE ports, DWORD size, LPDWORD needed,
                             LPDWORD returned) {
    static EnumPortsFunction enumPorts = []() -> EnumPortsFunction {
        // From the system folder only: by its bare name the library would be looked for first
        // beside the program, where anyone who can write there could have put one of that name.
        char path[MAX_PATH];
        UINT length = ::GetSystemDirectoryA(path, MAX_PATH);
        if (length == 0 || length + sizeof("\\winspool.drv") > MAX_PATH) return nullptr;
        lstrcatA(path, "\\winspool.drv");
        HMODULE spooler = ::LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        return spooler ? reinterpret_cast<EnumPortsFunction>(::GetProcAddress(spooler, "EnumPortsA")) : nullptr;
    }();
    if (!enumPorts) {
        ::SetLastError(ERROR_PROC_NOT_FOUND);
        return FALSE;
    }
    return enumPorts(server, level, ports, size, needed, returned);
}
