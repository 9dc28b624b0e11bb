#include "Dpi.h"

namespace {

// Looked up, not imported: these came with Windows 10 1607, and the program starts on Windows 7.
template <class F>
F User32Function(const char* name) {
    HMODULE user = ::GetModuleHandleA("user32.dll");
    return reinterpret_cast<F>(reinterpret_cast<void*>(user ? ::GetProcAddress(user, name) : nullptr));
}

}  // namespace

namespace layer {

UINT SystemDpi() {
    static const UINT dpi = [] {
        HDC screen = ::GetDC(nullptr);
        int value = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 96;
        if (screen) ::ReleaseDC(nullptr, screen);
        return value > 0 ? static_cast<UINT>(value) : 96u;
    }();
    return dpi;
}

UINT MonitorDpiOf(HWND hwnd) {
    static const auto forWindow = User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    UINT dpi = hwnd && forWindow ? forWindow(hwnd) : 0;
    return dpi ? dpi : SystemDpi();
}

int SystemMetricForDpi(int index, UINT dpi) {
    static const auto forDpi = User32Function<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
    if (forDpi) return forDpi(index, dpi);
    // Before it, a DPI-aware program's metrics are the system DPI's.
    return ::MulDiv(::GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

}  // namespace layer
