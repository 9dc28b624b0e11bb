/* The floor for start-up: a plain Win32 window shown, then gone when closed. With the argument
   "controls" it first loads the common controls, as every window made of them must. */
#include <string.h>
#include <windows.h>

static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(h, m, w, l);
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE prev, LPSTR args, int show) {
    (void)prev; (void)show;
    if (strstr(args, "controls")) {
        HMODULE controls = LoadLibraryA("comctl32.dll");
        FARPROC init = controls ? GetProcAddress(controls, "InitCommonControls") : NULL;
        if (init) ((void(WINAPI*)(void))init)();
    }
    WNDCLASSA wc = {0};
    wc.lpfnWndProc = Proc;
    wc.hInstance = inst;
    wc.lpszClassName = "BareWindow";
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    RegisterClassA(&wc);
    HWND w = CreateWindowA("BareWindow", "BareWindowBench", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                           600, 400, NULL, NULL, inst, NULL);
    ShowWindow(w, SW_SHOW);
    UpdateWindow(w);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
