// Display scale. Every size the program gives is a 96-DPI design size; the layer scales it by the
// DPI of the window it is for, here and only here. At 96 DPI every size stays as designed.
#pragma once
#include <windows.h>

namespace layer {

// The DPI of the screen as the process sees it: the scale of the primary monitor at sign-in.
UINT SystemDpi();
// GetDpiForWindow where Windows has it (Windows 10 1607 on), 0 elsewhere.
UINT WINAPI DpiForWindow(HWND hwnd);
// The DPI of the monitor a window is on, where Windows tells (Windows 10 1607 on); the system's
// elsewhere.
UINT MonitorDpiOf(HWND hwnd);
// A 96-DPI design size at this DPI.
inline int Scale(int size, UINT dpi) { return ::MulDiv(size, static_cast<int>(dpi), 96); }
// A system metric at this DPI (a size the system gives, such as the small icon's).
int SystemMetricForDpi(int index, UINT dpi);

// The kinds of text the system has a font for.
enum class UiFont {
    Message,    // dialogs, buttons, toolbars: the non-client metrics' message font
    Status,     // status bars and tooltips: their status font
    IconTitle,  // trees, lists and their headers: the icon-title font
};
// The system's font for that kind of text at this DPI, as the user chose it: asked for that DPI
// where Windows can (Windows 10 1607 on), the system DPI's scaled before it. The face is UTF-16
// because the one call that answers for a DPI has no ANSI form.
LOGFONTW UiFontAt(UiFont kind, UINT dpi);

}  // namespace layer
