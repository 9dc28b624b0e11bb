// The frame's Tools commands: rebuilding the shell's icon cache and listing the ports.
#include <cstdio>
#include <string>
#include <vector>

#include "frame/OurFrame.h"
#include "platform/seams/Seams.h"
#include "platform/win/Dpi.h"
#include "platform/win/WinApp.h"

namespace {

// A top-level window that does not answer would otherwise hold the program up for ever; the
// broadcast still reaches every window in turn before the call returns.
const UINT kBroadcastTimeoutMs = 3000;
const DWORD kPortBufferSize = 10240;

void BroadcastSettingChange() {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, 0, SMTO_ABORTIFHUNG, kBroadcastTimeoutMs, &result);
}

void WriteShellIconSize(HKEY key, int size) {
    // The whole buffer is written, so what follows the digits must be zeros.
    char text[20] = {};
    snprintf(text, sizeof(text), "%d", size);
    ::RegSetValueExA(key, "Shell Icon Size", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof(text));
}

}  // namespace

void COurFrame::OnRebuildIconCache() {
    // The shell rebuilds its icons when the size it is told about changes; setting it one
    // pixel smaller and back makes it do so and leaves it at the system's width.
    // The width at 96 DPI: a program aware of the display's scale would read the scaled width
    // (48 at 150 %) and leave the desktop's icons larger than before; one that is not reads 32.
    int width = layer::SystemMetricForDpi(SM_CXICON, 96);
    HKEY key = nullptr;
    bool open = ::RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop\\WindowMetrics", 0, KEY_ALL_ACCESS,
                                &key) == ERROR_SUCCESS;
    if (open) WriteShellIconSize(key, width - 1);
    BroadcastSettingChange();
    if (open) {
        WriteShellIconSize(key, width);
        ::RegCloseKey(key);
    }
    BroadcastSettingChange();
}

void COurFrame::OnPortList() {
    std::vector<BYTE> buffer(kPortBufferSize);
    DWORD needed = 0, count = 0;
    char server[] = "";  // the local machine; the spooler wants a writable string
    BOOL ok = g_seams.enumPorts(server, 2, buffer.data(), kPortBufferSize, &needed, &count);
    if (!ok && needed > kPortBufferSize) {
        // The spooler says how much room all its records take; a second call gets them all.
        buffer.resize(needed);
        count = 0;
        ok = g_seams.enumPorts(server, 2, buffer.data(), needed, &needed, &count);
    }
    if (!ok) count = 0;

    std::string list;
    const auto* ports = reinterpret_cast<const PORT_INFO_2A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        list += ports[i].pPortName ? ports[i].pPortName : "";
        list += '\t';
        list += ports[i].pDescription ? ports[i].pDescription : "";
        list += "\r\n";
    }
    AfxMessageBox(list.c_str(), MB_OK);
}
