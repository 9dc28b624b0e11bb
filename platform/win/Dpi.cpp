#include "Dpi.h"

#include "../seams/Seams.h"

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

UINT WINAPI DpiForWindow(HWND hwnd) {
    static const auto forWindow = User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    return forWindow ? forWindow(hwnd) : 0;
}

UINT MonitorDpiOf(HWND hwnd) {
    UINT dpi = hwnd ? g_seams.dpiForWindow(hwnd) : 0;
    return dpi ? dpi : SystemDpi();
}

int SystemMetricForDpi(int index, UINT dpi) {
    static const auto forDpi = User32Function<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
    if (forDpi) return forDpi(index, dpi);
    // Before it, a DPI-aware program's metrics are the system DPI's.
    return ::MulDiv(::GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

LOGFONTW UiFontAt(UiFont kind, UINT dpi) {
    static const auto forDpi = User32Function<BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT)>("SystemParametersInfoForDpi");
    UINT answeredFor = dpi;
    auto ask = [&](UINT action, UINT size, void* out) {
        if (forDpi && forDpi(action, size, out, 0, dpi)) return true;
        answeredFor = SystemDpi();
        return ::SystemParametersInfoW(action, size, out, 0) != FALSE;
    };
    LOGFONTW font{};
    bool known;
    if (kind == UiFont::IconTitle) {
        known = ask(SPI_GETICONTITLELOGFONT, sizeof(font), &font);
    } else {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof(metrics);
        known = ask(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics);
        font = kind == UiFont::Status ? metrics.lfStatusFont : metrics.lfMessageFont;
    }
    if (!known) {
        answeredFor = SystemDpi();
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    }
    if (answeredFor != dpi) {
        font.lfHeight = ::MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(answeredFor));
        font.lfWidth = ::MulDiv(font.lfWidth, static_cast<int>(dpi), static_cast<int>(answeredFor));
    }
    return font;
}

}  // namespace layer
