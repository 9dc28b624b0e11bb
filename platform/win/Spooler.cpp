#include "Spooler.h"

BOOL WINAPI SpoolerEnumPorts(LPSTR server, DWORD level, LPBYTE ports, DWORD size, LPDWORD needed,
                             LPDWORD returned) {
    static EnumPortsFunction enumPorts = [] {
        HMODULE spooler = ::LoadLibraryA("winspool.drv");
        return spooler ? reinterpret_cast<EnumPortsFunction>(::GetProcAddress(spooler, "EnumPortsA")) : nullptr;
    }();
    if (!enumPorts) {
        ::SetLastError(ERROR_PROC_NOT_FOUND);
        return FALSE;
    }
    return enumPorts(server, level, ports, size, needed, returned);
}
