/* A floor for start-up: Tessilor's own window built in plain Win32, with no window layer and no
   program logic. It links the same resources (manifest included), takes its sizes, columns and
   stock icons from the program's design headers and its toolbar from the toolbar resource, scales
   every size by the window's DPI, and makes the same visible result with the same system calls in
   the same order: the frame with its icon, menu and accelerators; the tree with its two stock
   images, filled as the program fills it; the properties list and the module list with their
   columns, grid lines and stock images; then the toolbar and the status bar; then it shows and
   paints the window. The panes are children of the frame, placed where the splitters put them.
   What Tessilor takes beyond this is what its layer and its own code cost. */
#include <stdlib.h>
#include <wchar.h>
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include "frame/Design.h"
#include "platform/win/LayerSizes.h"
#include "res/resource.h"

#define COUNT(a) ((int)(sizeof(a) / sizeof((a)[0])))

typedef BOOL(WINAPI* SetDirectories)(DWORD);
typedef UINT(WINAPI* DpiForWindow)(HWND);
typedef int(WINAPI* MetricForDpi)(int, UINT);
typedef BOOL(WINAPI* ParametersForDpi)(UINT, UINT, PVOID, UINT, UINT);

static HWND g_tree, g_properties, g_modules, g_toolbar, g_status;
static UINT g_screenDpi = 96, g_dpi = 96;
static LPARAM g_buttonSize;
static MetricForDpi g_metricForDpi;
/* The status bar's parts: 0 stretches, the indicators keep the width of their texts. */
static const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
static int g_indicatorWidths[COUNT(kIndicators)];

static int Scale(int size) { return MulDiv(size, (int)g_dpi, 96); }

/* Looked up, as the program does: these are newer than the oldest Windows it starts on. */
static FARPROC Function(const char* module, const char* name) {
    HMODULE loaded = GetModuleHandleA(module);
    return loaded ? GetProcAddress(loaded, name) : NULL;
}

static void InFolder(UINT(WINAPI* folder)(LPWSTR, UINT), const WCHAR* file, WCHAR* path) {
    UINT length = folder(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) length = 0;
    else if (path[length - 1] != L'\\') path[length++] = L'\\';
    lstrcpynW(path + length, file, MAX_PATH);
}

/* A file's icon at the image lists' size: the shell's small icon when that is the size, else the
   file's picture drawn for the size. */
static HICON ExtractAt(const WCHAR* path, int index) {
    HICON icon = NULL;
    int size = Scale(16);
    if (size == GetSystemMetrics(SM_CXSMICON)) ExtractIconExW(path, index, NULL, &icon, 1);
    else if (FAILED(SHDefExtractIconW(path, index, 0, &icon, NULL, MAKELONG(size, size)))) icon = NULL;
    return icon;
}

static int AddFileIcon(HIMAGELIST images, const WCHAR* path, int index) {
    HICON icon = ExtractAt(path, index);
    int added = icon ? ImageList_ReplaceIcon(images, -1, icon) : -1;
    if (icon) DestroyIcon(icon);
    return added;
}

/* A stock image that can't be read: the system's, so that the images after it keep their indexes. */
static void AddStockIcon(HIMAGELIST images, const WCHAR* path, int index) {
    if (AddFileIcon(images, path, index) < 0) ImageList_ReplaceIcon(images, -1, LoadIcon(NULL, IDI_APPLICATION));
}

static HIMAGELIST NewImages(void) { return ImageList_Create(Scale(16), Scale(16), ILC_COLOR32 | ILC_MASK, 10, 10); }

/* Where the splitters put the panes in a client area: the tree's column and the properties' row
   at their design sizes as far as there is room, a bar between neighbours, the rest to the last. */
static void PaneRects(RECT client, RECT* tree, RECT* properties, RECT* modules) {
    int bar = Scale(LAYER_SPLITTER_BAR), width = client.right - client.left, height = client.bottom - client.top;
    int column = min(Scale(DESIGN_PANE_WIDTH), max(width, 0)), row = min(Scale(DESIGN_PANE_HEIGHT), max(height, 0));
    int x = client.left + column + bar, rest = max(width - column - bar, 0);
    SetRect(tree, client.left, client.top, client.left + column, client.bottom);
    SetRect(properties, x, client.top, x + rest, client.top + row);
    SetRect(modules, x, client.top + row + bar, x + rest, client.top + row + bar + max(height - row - bar, 0));
}

static HWND MakePane(HWND frame, const char* cls, RECT r) {
    return CreateWindowExA(0, cls, NULL, WS_CHILD | WS_VISIBLE | WS_BORDER, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, frame, NULL, GetModuleHandleA(NULL), NULL);
}

/* Icons already extracted in this fill, by executable path: each file is read once. */
#define MAX_ICONS 1024
static WCHAR g_paths[MAX_ICONS][MAX_PATH];
static HICON g_icons[MAX_ICONS];
static int g_iconCount;

static void InsertProcess(const PROCESSENTRY32W* entry, HTREEITEM root, HIMAGELIST images) {
    DWORD* record = (DWORD*)GlobalAlloc(GMEM_FIXED, 4 * sizeof(DWORD));
    if (!record) return;
    record[0] = entry->th32ProcessID;
    record[1] = entry->th32ParentProcessID;
    record[2] = record[3] = 0;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry->th32ProcessID);
    if (process) {
        FILETIME times[3];
        GetProcessTimes(process, (FILETIME*)&record[2], &times[0], &times[1], &times[2]);
        CloseHandle(process);
    }
    int image = 1;
    HANDLE modules = INVALID_HANDLE_VALUE;
    for (int i = 0; i < 5 && modules == INVALID_HANDLE_VALUE; ++i) {
        modules = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, entry->th32ProcessID);
        if (modules == INVALID_HANDLE_VALUE && GetLastError() != ERROR_BAD_LENGTH) break;
    }
    MODULEENTRY32W module = {0};
    module.dwSize = sizeof(module);
    if (modules != INVALID_HANDLE_VALUE && Module32FirstW(modules, &module)) {
        int i = 0;
        while (i < g_iconCount && wcscmp(g_paths[i], module.szExePath) != 0) ++i;
        if (i == g_iconCount && i < MAX_ICONS) {
            lstrcpynW(g_paths[i], module.szExePath, MAX_PATH);
            g_icons[g_iconCount++] = ExtractAt(module.szExePath, 0);
        }
        if (i < g_iconCount && g_icons[i]) {
            int added = ImageList_ReplaceIcon(images, -1, g_icons[i]);
            if (added >= 0) image = added;
        }
    }
    if (modules != INVALID_HANDLE_VALUE) CloseHandle(modules);
    /* Shown in the ANSI code page without look-alike letters; UTF-8 takes neither flag nor default. */
    char name[4 * MAX_PATH] = "";
    BOOL utf8 = GetACP() == CP_UTF8;
    WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, entry->szExeFile, -1, name, sizeof(name),
                        utf8 ? NULL : "?", NULL);
    TVINSERTSTRUCTA insert = {0};
    insert.hParent = root;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = name;
    insert.item.iImage = insert.item.iSelectedImage = image;
    insert.item.lParam = (LPARAM)record;
    if (!SendMessageA(g_tree, TVM_INSERTITEMA, 0, (LPARAM)&insert)) GlobalFree(record);
}

static void MakeTree(HWND frame, RECT r, const WCHAR* explorer, const WCHAR* shell) {
    g_tree = MakePane(frame, WC_TREEVIEWA, r);
    HIMAGELIST images = NewImages();
    SendMessageA(g_tree, TVM_SETIMAGELIST, TVSIL_NORMAL, (LPARAM)images);
    AddStockIcon(images, explorer, DESIGN_ROOT_ICON);
    AddStockIcon(images, shell, DESIGN_PROCESS_ICON);
    SetWindowLongPtrA(g_tree, GWL_STYLE, GetWindowLongPtrA(g_tree, GWL_STYLE) | TVS_HASBUTTONS | TVS_HASLINES |
                                             TVS_LINESATROOT | TVS_SHOWSELALWAYS);
    SendMessageA(g_tree, WM_SETREDRAW, FALSE, 0);
    TVINSERTSTRUCTA insert = {0};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = "进程列表";
    HTREEITEM root = (HTREEITEM)SendMessageA(g_tree, TVM_INSERTITEMA, 0, (LPARAM)&insert);
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {0};
    entry.dwSize = sizeof(entry);
    if (snapshot != INVALID_HANDLE_VALUE && Process32FirstW(snapshot, &entry)) {
        do {
            entry.szExeFile[MAX_PATH - 1] = L'\0';
            if (entry.th32ProcessID != 0) InsertProcess(&entry, root, images);
        } while (Process32NextW(snapshot, &entry));
    }
    if (snapshot != INVALID_HANDLE_VALUE) CloseHandle(snapshot);
    for (int i = 0; i < g_iconCount; ++i)
        if (g_icons[i]) DestroyIcon(g_icons[i]);
    SendMessageA(g_tree, TVM_EXPAND, TVE_EXPAND, (LPARAM)root);
    SendMessageA(g_tree, WM_SETREDRAW, TRUE, 0);
}

static HWND MakeList(HWND frame, RECT r, const struct ColumnDesign* columns, int count, const int* icons,
                     int iconCount, const WCHAR* shell) {
    HWND list = MakePane(frame, WC_LISTVIEWA, r);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    SetWindowLongPtrA(list, GWL_STYLE, GetWindowLongPtrA(list, GWL_STYLE) | LVS_REPORT);
    for (int i = 0; i < count; ++i) {
        LVCOLUMNA column = {0};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = Scale(columns[i].width);
        column.pszText = (char*)columns[i].heading;
        column.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, i, (LPARAM)&column);
    }
    HIMAGELIST images = NewImages();
    for (int i = 0; i < iconCount; ++i) AddStockIcon(images, shell, icons[i]);
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, (LPARAM)images);
    return list;
}

/* The toolbar resource: version, picture width and height, count, then a command a button (0: gap).
   The pictures are the drawing whose width is nearest the scaled one, never one stretched. */
static void MakeToolbar(HWND frame, HINSTANCE inst) {
    g_toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, NULL,
                                WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_TOP, 0, 0,
                                0, 0, frame, (HMENU)AFX_IDW_TOOLBAR, inst, NULL);
    SendMessageA(g_toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(g_toolbar, TB_SETINDENT, Scale(LAYER_GRIPPER_INDENT), 0);
    HRSRC found = FindResourceA(inst, MAKEINTRESOURCEA(IDR_MAINFRAME), MAKEINTRESOURCEA(241));
    const WORD* data = found ? LockResource(LoadResource(inst, found)) : NULL;
    if (!data || SizeofResource(inst, found) < 8 || data[0] != 1 || SizeofResource(inst, found) < 8u + 2u * data[3])
        return;
    int count = data[3], pictures = 0;
    for (int i = 0; i < count; ++i) pictures += data[4 + i] != 0;
    static const UINT art[] = {IDR_MAINFRAME, IDB_TOOLBAR_20, IDB_TOOLBAR_24, IDB_TOOLBAR_32};
    UINT best = 0;
    LONG wanted = Scale(data[1]), bestWidth = 0, bestHeight = 0;
    for (int i = 0; i < COUNT(art) && pictures > 0; ++i) {
        HRSRC bitmap = FindResourceA(inst, MAKEINTRESOURCEA(art[i]), (LPCSTR)RT_BITMAP);
        const BITMAPINFOHEADER* header = bitmap ? LockResource(LoadResource(inst, bitmap)) : NULL;
        if (!header || SizeofResource(inst, bitmap) < sizeof(*header) || header->biWidth % pictures != 0) continue;
        LONG width = header->biWidth / pictures;
        if (!best || labs(width - wanted) < labs(bestWidth - wanted)) {
            best = art[i];
            bestWidth = width;
            bestHeight = labs(header->biHeight);
        }
    }
    HBITMAP bitmap = best ? CreateMappedBitmap(inst, (INT_PTR)best, 0, NULL, 0) : NULL;
    if (!bitmap) return;
    HIMAGELIST images = ImageList_Create(bestWidth, bestHeight, ILC_COLOR24 | ILC_MASK, pictures, 0);
    ImageList_AddMasked(images, bitmap, GetSysColor(COLOR_BTNFACE));
    DeleteObject(bitmap);
    SendMessageA(g_toolbar, TB_SETIMAGELIST, 0, (LPARAM)images);
    g_buttonSize = MAKELPARAM(Scale(data[1] + LAYER_BUTTON_PADDING_X), Scale(data[2] + LAYER_BUTTON_PADDING_Y));
    SendMessageA(g_toolbar, TB_SETBUTTONSIZE, 0, g_buttonSize);
    TBBUTTON* buttons = (TBBUTTON*)calloc((size_t)count, sizeof(TBBUTTON));
    if (!buttons) return;
    for (int i = 0, image = 0; i < count; ++i) {
        buttons[i].idCommand = data[4 + i];
        buttons[i].iString = -1;
        if (data[4 + i] == 0) {
            buttons[i].fsStyle = TBSTYLE_SEP;
        } else {
            buttons[i].iBitmap = image++;
            buttons[i].fsStyle = TBSTYLE_BUTTON;
            buttons[i].fsState = TBSTATE_ENABLED;
        }
    }
    SendMessageA(g_toolbar, TB_ADDBUTTONSA, count, (LPARAM)buttons);
    free(buttons);
}

/* Right edges: part 0 stretches; the indicators keep their widths at the right, clear of the grip. */
static void SetParts(int width) {
    int edges[COUNT(kIndicators)], last = COUNT(kIndicators) - 1;
    int grip = g_metricForDpi ? g_metricForDpi(SM_CXVSCROLL, g_dpi)
                              : MulDiv(GetSystemMetrics(SM_CXVSCROLL), (int)g_dpi, (int)g_screenDpi);
    int right = width - grip;
    for (int i = last; i > 0; --i) {
        edges[i] = i == last ? -1 : right;
        right -= g_indicatorWidths[i];
    }
    edges[0] = max(right, 0);
    SendMessageA(g_status, SB_SETPARTS, COUNT(kIndicators), (LPARAM)edges);
}

static void MeasureIndicators(HINSTANCE inst);

static void MakeStatusBar(HWND frame, HINSTANCE inst) {
    g_status = CreateWindowExA(0, STATUSCLASSNAMEA, NULL, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_BOTTOM, 0, 0,
                               0, 0, frame, (HMENU)AFX_IDW_STATUS_BAR, inst, NULL);
    MeasureIndicators(inst);
    char idle[128] = "";
    LoadStringA(inst, AFX_IDS_IDLEMESSAGE, idle, sizeof(idle));
    SendMessageA(g_status, SB_SETTEXTA, 0, (LPARAM)idle);
}

static void MeasureIndicators(HINSTANCE inst) {
    HDC dc = GetDC(g_status);
    HFONT font = (HFONT)SendMessageA(g_status, WM_GETFONT, 0, 0);
    HGDIOBJ old = SelectObject(dc, font ? (HGDIOBJ)font : GetStockObject(DEFAULT_GUI_FONT));
    for (int i = 1; i < COUNT(kIndicators); ++i) {
        char text[64] = "";
        SIZE extent = {0, 0};
        if (LoadStringA(inst, kIndicators[i], text, sizeof(text))) {
            GetTextExtentPoint32A(dc, text, lstrlenA(text), &extent);
            g_indicatorWidths[i] = extent.cx + Scale(LAYER_INDICATOR_MARGIN);
        }
    }
    SelectObject(dc, old);
    ReleaseDC(g_status, dc);
    RECT r;
    GetClientRect(g_status, &r);
    SetParts(r.right - r.left);
}

/* The system's fonts at the window's scale, given to every control once they are all made: the
   icon-title font to the tree and the lists (their headers take it from them), the status font to
   the status bar and the tooltips, the message font to the toolbar, whose buttons keep their size. */
static void GiveFonts(HINSTANCE inst) {
    ParametersForDpi forDpi = (ParametersForDpi)(void*)Function("user32.dll", "SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics = {0};
    metrics.cbSize = sizeof(metrics);
    LOGFONTW faces[3];
    UINT from = g_dpi;
    if (!forDpi || !forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, g_dpi) ||
        !forDpi(SPI_GETICONTITLELOGFONT, sizeof(faces[2]), &faces[2], 0, g_dpi)) {
        from = g_screenDpi;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(faces[2]), &faces[2], 0);
    }
    faces[0] = metrics.lfMessageFont;
    faces[1] = metrics.lfStatusFont;
    HFONT fonts[3];
    for (int i = 0; i < 3; ++i) {
        faces[i].lfHeight = MulDiv(faces[i].lfHeight, (int)g_dpi, (int)from);
        fonts[i] = CreateFontIndirectW(&faces[i]);
    }
    const HWND icons[] = {g_tree, g_properties, g_modules, (HWND)SendMessageA(g_properties, LVM_GETHEADER, 0, 0),
                          (HWND)SendMessageA(g_modules, LVM_GETHEADER, 0, 0)};
    for (int i = 0; i < COUNT(icons); ++i) SendMessageA(icons[i], WM_SETFONT, (WPARAM)fonts[2], TRUE);
    SendMessageA((HWND)SendMessageA(g_toolbar, TB_GETTOOLTIPS, 0, 0), WM_SETFONT, (WPARAM)fonts[1], TRUE);
    SendMessageA(g_toolbar, WM_SETFONT, (WPARAM)fonts[0], TRUE);
    SendMessageA(g_toolbar, TB_SETBUTTONSIZE, 0, g_buttonSize);
    SendMessageA(g_toolbar, TB_AUTOSIZE, 0, 0);
    SendMessageA(g_status, WM_SETFONT, (WPARAM)fonts[1], TRUE);
    MeasureIndicators(inst);
}

static void Place(HWND pane, RECT r) {
    if (pane) SetWindowPos(pane, NULL, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

static void Layout(HWND frame) {
    RECT r, bar, tree, properties, modules;
    GetClientRect(frame, &r);
    if (g_toolbar) {
        SendMessageA(g_toolbar, TB_AUTOSIZE, 0, 0);
        GetWindowRect(g_toolbar, &bar);
        r.top += bar.bottom - bar.top;
    }
    if (g_status) {
        SendMessageA(g_status, WM_SIZE, 0, 0);
        SetParts(r.right - r.left);
        GetWindowRect(g_status, &bar);
        r.bottom -= bar.bottom - bar.top;
    }
    if (r.bottom < r.top) r.bottom = r.top;
    PaneRects(r, &tree, &properties, &modules);
    Place(g_tree, tree);
    Place(g_properties, properties);
    Place(g_modules, modules);
}

static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_SIZE && w != SIZE_MINIMIZED) Layout(h);
    if (m == WM_SETFOCUS && g_tree) SetFocus(g_tree);  /* keys go to the process tree */
    if (m == WM_NOTIFY && ((NMHDR*)l)->hwndFrom == g_toolbar && ((NMHDR*)l)->code == NM_CUSTOMDRAW) {
        /* The grip: a raised bar in the indent the buttons leave free. */
        NMCUSTOMDRAW* draw = (NMCUSTOMDRAW*)l;
        if (draw->dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYPOSTPAINT;
        if (draw->dwDrawStage == CDDS_POSTPAINT) {
            RECT client, grip;
            GetClientRect(g_toolbar, &client);
            SetRect(&grip, Scale(LAYER_GRIPPER_LEFT), client.top + Scale(LAYER_GRIPPER_MARGIN), Scale(LAYER_GRIPPER_RIGHT),
                    client.bottom - Scale(LAYER_GRIPPER_MARGIN));
            DrawEdge(draw->hdc, &grip, BDR_RAISEDINNER, BF_RECT);
        }
        return CDRF_DODEFAULT;
    }
    if (m == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(h, m, w, l);
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE prev, LPSTR args, int show) {
    (void)prev; (void)args; (void)show;
    /* Before anything can load a library by its bare name. */
    SetDirectories restrictSearch = (SetDirectories)(void*)Function("kernel32.dll", "SetDefaultDllDirectories");
    if (restrictSearch) restrictSearch(LOAD_LIBRARY_SEARCH_SYSTEM32);
    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    char title[256] = "";
    LoadStringA(inst, IDR_MAINFRAME, title, sizeof(title));
    WNDCLASSA wc = {0};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = Proc;
    wc.hInstance = inst;
    wc.hIcon = LoadIconA(inst, MAKEINTRESOURCEA(IDR_MAINFRAME));
    wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = "PlainFrame";
    RegisterClassA(&wc);
    HMENU menu = LoadMenuA(inst, MAKEINTRESOURCEA(IDR_MAINFRAME));
    HACCEL accelerators = LoadAcceleratorsA(inst, MAKEINTRESOURCEA(IDR_MAINFRAME));
    /* No window yet to ask: the frame is sized at the screen's scale, its contents at its own. */
    HDC screen = GetDC(NULL);
    g_screenDpi = screen && GetDeviceCaps(screen, LOGPIXELSX) > 0 ? (UINT)GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ReleaseDC(NULL, screen);
    g_dpi = g_screenDpi;
    HWND frame = CreateWindowExA(0, "PlainFrame", title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                 Scale(DESIGN_FRAME_WIDTH), Scale(DESIGN_FRAME_HEIGHT), NULL, menu, inst, NULL);
    DpiForWindow forWindow = (DpiForWindow)(void*)Function("user32.dll", "GetDpiForWindow");
    UINT dpi = forWindow ? forWindow(frame) : 0;
    if (dpi) g_dpi = dpi;
    g_metricForDpi = (MetricForDpi)(void*)Function("user32.dll", "GetSystemMetricsForDpi");

    WCHAR explorer[2 * MAX_PATH], shell[2 * MAX_PATH];
    InFolder(GetSystemWindowsDirectoryW, L"explorer.exe", explorer);
    InFolder(GetSystemDirectoryW, L"shell32.dll", shell);
    RECT client, tree, properties, modules;
    GetClientRect(frame, &client);
    PaneRects(client, &tree, &properties, &modules);
    MakeTree(frame, tree, explorer, shell);
    g_properties = MakeList(frame, properties, kPropertyColumns, COUNT(kPropertyColumns), kPropertyIcons,
                            COUNT(kPropertyIcons), shell);
    g_modules = MakeList(frame, modules, kModuleColumns, COUNT(kModuleColumns), kModuleIcons, COUNT(kModuleIcons),
                         shell);
    MakeToolbar(frame, inst);
    MakeStatusBar(frame, inst);
    GiveFonts(inst);
    Layout(frame);
    ShowWindow(frame, SW_SHOW);
    UpdateWindow(frame);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        if (TranslateAcceleratorA(frame, accelerators, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
