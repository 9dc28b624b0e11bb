/* The floors for start-up: a plain Win32 window shown, then gone when closed. With the argument
   "controls" it first loads the common controls, as every window made of them must. With "fill"
   it also makes, before the window shows, a tree holding what a process fill must ask the system
   for: the process walk, one module snapshot a process, one icon a distinct executable, one image
   and one item a process. Everything beyond user32 is loaded at run time, so that the plain
   window pays for none of it. */
#include <string.h>
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

typedef HIMAGELIST(WINAPI* CreateImages)(int, int, UINT, int, int);
typedef int(WINAPI* ReplaceIcon)(HIMAGELIST, int, HICON);
typedef UINT(WINAPI* ExtractIcons)(LPCSTR, int, HICON*, HICON*, UINT);

static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(h, m, w, l);
}

/* Icons already extracted in this fill, by executable path: a fill reads each file once. */
#define MAX_ICONS 1024
static char g_paths[MAX_ICONS][MAX_PATH];
static HICON g_icons[MAX_ICONS];
static int g_iconCount;

static void Fill(HWND parent, HMODULE controls) {
    CreateImages create = (CreateImages)(void*)GetProcAddress(controls, "ImageList_Create");
    ReplaceIcon replace = (ReplaceIcon)(void*)GetProcAddress(controls, "ImageList_ReplaceIcon");
    HMODULE shell = LoadLibraryA("shell32.dll");
    ExtractIcons extract = shell ? (ExtractIcons)(void*)GetProcAddress(shell, "ExtractIconExA") : NULL;
    RECT r;
    GetClientRect(parent, &r);
    HWND tree = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, r.right, r.bottom,
                                parent, NULL, NULL, NULL);
    HIMAGELIST images = create ? create(16, 16, ILC_COLOR8 | ILC_MASK, 10, 10) : NULL;
    SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, (LPARAM)images);
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry;
    memset(&entry, 0, sizeof(entry));
    entry.dwSize = sizeof(entry);
    if (Process32First(snapshot, &entry)) {
        do {
            int image = -1;
            HANDLE modules = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, entry.th32ProcessID);
            if (modules != INVALID_HANDLE_VALUE) {
                MODULEENTRY32 module;
                memset(&module, 0, sizeof(module));
                module.dwSize = sizeof(module);
                if (Module32First(modules, &module)) {
                    int i = 0;
                    while (i < g_iconCount && lstrcmpiA(g_paths[i], module.szExePath) != 0) ++i;
                    if (i == g_iconCount && i < MAX_ICONS) {
                        lstrcpynA(g_paths[i], module.szExePath, MAX_PATH);
                        g_icons[i] = NULL;
                        if (extract) extract(module.szExePath, 0, NULL, &g_icons[i], 1);
                        ++g_iconCount;
                    }
                    if (i < g_iconCount && g_icons[i] && replace) image = replace(images, -1, g_icons[i]);
                }
                CloseHandle(modules);
            }
            TVINSERTSTRUCTA insert;
            memset(&insert, 0, sizeof(insert));
            insert.hParent = TVI_ROOT;
            insert.hInsertAfter = TVI_LAST;
            insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
            insert.item.pszText = entry.szExeFile;
            insert.item.iImage = image;
            insert.item.iSelectedImage = image;
            SendMessageA(tree, TVM_INSERTITEMA, 0, (LPARAM)&insert);
        } while (Process32Next(snapshot, &entry));
    }
    CloseHandle(snapshot);
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE prev, LPSTR args, int show) {
    (void)prev; (void)show;
    HMODULE controls = NULL;
    if (strstr(args, "controls") || strstr(args, "fill")) {
        controls = LoadLibraryA("comctl32.dll");
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
    if (controls && strstr(args, "fill")) Fill(w, controls);
    ShowWindow(w, SW_SHOW);
    UpdateWindow(w);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
