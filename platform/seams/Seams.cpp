#include "Seams.h"

#include <shlobj.h>

#include "../os/SystemFiles.h"
#include "../win/Dpi.h"

const Seams kSystemCalls = {
    ::ShellExecuteExW,
    ::ShellExecuteA,
    SpoolerEnumPorts,
    ::CreateToolhelp32Snapshot,
    ::Module32FirstW,
    ::Module32NextW,
    ::EnumProcessModulesEx,
    ::TerminateProcess,
    ::LoadLibraryExW,
    layer::DpiForWindow,
    ::CreateWindowExA,
    ::ExtractIconExW,
    ::SHDefExtractIconW,
    ::OpenProcess,
    ::GetProcessTimes,
};
Seams g_seams = kSystemCalls;

BOOL WINAPI SpoolerEnumPorts(LPSTR server, DWORD level, LPBYTE ports, DWORD size, LPDWORD needed,
                             LPDWORD returned) {
    static SystemLibrary spooler(L"winspool.drv");
    auto enumPorts = spooler.Get<EnumPortsFunction>("EnumPortsA");
    if (!enumPorts) return FALSE;
    return enumPorts(server, level, ports, size, needed, returned);
}
