/* A floor for start-up: Tessilor's own window built in plain Win32, with no window layer and no
   program logic. It links the same resources and imports, and makes the same visible result in
   the same order: the frame with its icon, menu and accelerators; the tree with its two stock
   images, filled with the same system calls as the program's fill; the properties list and the
   module list with their columns, grid lines and stock images; then the toolbar and the status bar;
   then it shows and paints the window. What Tessilor takes beyond this is what its layer and its
   own code cost. */
#include <string.h>
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include "res/resource.h"

#define SPLITTER_GAP 7
#define TREE_WIDTH 180
#define PROPERTIES_HEIGHT 140

static HWND g_tree, g_properties, g_modules, g_toolbar, g_status;

/* Icons already extracted in this fill, by executable path, as the program shares them. */
#define MAX_ICONS 1024
static WCHAR g_paths[MAX_ICONS][MAX_PATH];
static HICON g_icons[MAX_ICONS];
static int g_iconCount;

/* Appends small icons of a system file, found along the search path as the program finds it. */
static void AddStockImages(HIMAGELIST images, const char* file, const int* indexes, int count) {
    char path[MAX_PATH];
    if (!SearchPathA(NULL, file, NULL, MAX_PATH, path, NULL)) lstrcpynA(path, file, MAX_PATH);
    for (int i = 0; i < count; ++i) {
        HICON icon = NULL;
        if (ExtractIconExA(path, indexes[i], NULL, &icon, 1) && icon) {
            ImageList_ReplaceIcon(images, -1, icon);
            DestroyIcon(icon);
        }
    }
}

static HIMAGELIST NewImages(void) { return ImageList_Create(16, 16, ILC_COLOR8 | ILC_MASK, 10, 10); }

static void InsertProcess(const PROCESSENTRY32* entry, HTREEITEM root, HIMAGELIST images) {
    /* The creation time, read as the program reads it. */
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry->th32ProcessID);
    if (process) {
        FILETIME times[4];
        GetProcessTimes(process, &times[0], &times[1], &times[2], &times[3]);
        CloseHandle(process);
    }
    int image = 1;
    HANDLE modules = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, entry->th32ProcessID);
    if (modules != INVALID_HANDLE_VALUE) {
        MODULEENTRY32W module;
        memset(&module, 0, sizeof(module));
        module.dwSize = sizeof(module);
        if (Module32FirstW(modules, &module)) {
            int i = 0;
            while (i < g_iconCount && lstrcmpiW(g_paths[i], module.szExePath) != 0) ++i;
            if (i == g_iconCount && i < MAX_ICONS) {
                char path[2 * MAX_PATH];
                WideCharToMultiByte(CP_ACP, 0, module.szExePath, -1, path, sizeof(path), NULL, NULL);
                lstrcpynW(g_paths[i], module.szExePath, MAX_PATH);
                g_icons[i] = NULL;
                ExtractIconExA(path, 0, NULL, &g_icons[i], 1);
                ++g_iconCount;
            }
            if (i < g_iconCount && g_icons[i]) {
                int added = ImageList_ReplaceIcon(images, -1, g_icons[i]);
                if (added >= 0) image = added;
            }
        }
        CloseHandle(modules);
    }
    DWORD* record = (DWORD*)GlobalAlloc(GMEM_FIXED, 4 * sizeof(DWORD));
    if (record) {
        record[0] = entry->th32ProcessID;
        record[1] = entry->th32ParentProcessID;
    }
    TVINSERTSTRUCTA insert;
    memset(&insert, 0, sizeof(insert));
    insert.hParent = root;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = (char*)entry->szExeFile;
    insert.item.iImage = image;
    insert.item.iSelectedImage = image;
    insert.item.lParam = (LPARAM)record;
    SendMessageA(g_tree, TVM_INSERTITEMA, 0, (LPARAM)&insert);
}

static void MakeTree(HWND frame) {
    g_tree = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, TREE_WIDTH, 100, frame,
                             NULL, NULL, NULL);
    static const int explorerIcon[] = {0}, shellIcon[] = {2};
    HIMAGELIST images = NewImages();
    AddStockImages(images, "explorer.exe", explorerIcon, 1);
    AddStockImages(images, "shell32.dll", shellIcon, 1);
    SendMessageA(g_tree, TVM_SETIMAGELIST, TVSIL_NORMAL, (LPARAM)images);
    SetWindowLongA(g_tree, GWL_STYLE, GetWindowLongA(g_tree, GWL_STYLE) | TVS_HASBUTTONS | TVS_HASLINES |
                                          TVS_LINESATROOT | TVS_SHOWSELALWAYS);
    SendMessageA(g_tree, WM_SETREDRAW, FALSE, 0);
    TVINSERTSTRUCTA insert;
    memset(&insert, 0, sizeof(insert));
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = "进程列表";
    HTREEITEM root = (HTREEITEM)SendMessageA(g_tree, TVM_INSERTITEMA, 0, (LPARAM)&insert);
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry;
    memset(&entry, 0, sizeof(entry));
    entry.dwSize = sizeof(entry);
    if (snapshot != INVALID_HANDLE_VALUE && Process32First(snapshot, &entry)) {
        do {
            if (entry.th32ProcessID != 0) InsertProcess(&entry, root, images);
        } while (Process32Next(snapshot, &entry));
    }
    if (snapshot != INVALID_HANDLE_VALUE) CloseHandle(snapshot);
    SendMessageA(g_tree, TVM_EXPAND, TVE_EXPAND, (LPARAM)root);
    SendMessageA(g_tree, WM_SETREDRAW, TRUE, 0);
}

static HWND MakeList(HWND frame, const char* const* headings, const int* widths, int columns, const int* icons,
                     int iconCount) {
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 100, 100, frame, NULL,
                                NULL, NULL);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    SetWindowLongA(list, GWL_STYLE, GetWindowLongA(list, GWL_STYLE) | LVS_REPORT);
    for (int i = 0; i < columns; ++i) {
        LVCOLUMNA column;
        memset(&column, 0, sizeof(column));
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = widths[i];
        column.pszText = (char*)headings[i];
        column.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, i, (LPARAM)&column);
    }
    HIMAGELIST images = NewImages();
    AddStockImages(images, "shell32.dll", icons, iconCount);
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, (LPARAM)images);
    return list;
}

static void MakeBars(HWND frame, HINSTANCE inst) {
    g_toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, NULL,
                                WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_TOP, 0, 0,
                                0, 0, frame, (HMENU)AFX_IDW_TOOLBAR, inst, NULL);
    SendMessageA(g_toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(g_toolbar, TB_SETINDENT, 8, 0);
    SendMessageA(g_toolbar, TB_SETBITMAPSIZE, 0, MAKELONG(16, 15));
    TBADDBITMAP bitmap = {inst, IDR_MAINFRAME};
    SendMessageA(g_toolbar, TB_ADDBITMAP, 7, (LPARAM)&bitmap);
    static const int commands[] = {ID_REFRESH, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, 0, ID_FILE_PRINT, 0,
                                   ID_STOP_PROCESS, 0, ID_APP_ABOUT};
    TBBUTTON buttons[11];
    memset(buttons, 0, sizeof(buttons));
    for (int i = 0, image = 0; i < 11; ++i) {
        buttons[i].idCommand = commands[i];
        buttons[i].iString = -1;
        if (commands[i] == 0) {
            buttons[i].fsStyle = TBSTYLE_SEP;
        } else {
            buttons[i].iBitmap = image++;
            buttons[i].fsStyle = TBSTYLE_BUTTON;
            buttons[i].fsState = TBSTATE_ENABLED;
        }
    }
    SendMessageA(g_toolbar, TB_ADDBUTTONSA, 11, (LPARAM)buttons);
    g_status = CreateWindowExA(0, STATUSCLASSNAMEA, NULL, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_BOTTOM, 0,
                               0, 0, 0, frame, (HMENU)AFX_IDW_STATUS_BAR, inst, NULL);
    int edges[4] = {300, 360, 420, -1};
    SendMessageA(g_status, SB_SETPARTS, 4, (LPARAM)edges);
    char idle[128] = "";
    LoadStringA(inst, AFX_IDS_IDLEMESSAGE, idle, sizeof(idle));
    SendMessageA(g_status, SB_SETTEXTA, 0, (LPARAM)idle);
}

static void Layout(HWND frame) {
    RECT r;
    GetClientRect(frame, &r);
    if (g_toolbar) {
        SendMessageA(g_toolbar, TB_AUTOSIZE, 0, 0);
        RECT bar;
        GetWindowRect(g_toolbar, &bar);
        r.top += bar.bottom - bar.top;
    }
    if (g_status) {
        SendMessageA(g_status, WM_SIZE, 0, 0);
        RECT bar;
        GetWindowRect(g_status, &bar);
        r.bottom -= bar.bottom - bar.top;
    }
    int height = r.bottom - r.top, right = TREE_WIDTH + SPLITTER_GAP;
    if (g_tree) MoveWindow(g_tree, 0, r.top, TREE_WIDTH, height, TRUE);
    if (g_properties) MoveWindow(g_properties, right, r.top, r.right - right, PROPERTIES_HEIGHT, TRUE);
    if (g_modules)
        MoveWindow(g_modules, right, r.top + PROPERTIES_HEIGHT + SPLITTER_GAP, r.right - right,
                   height - PROPERTIES_HEIGHT - SPLITTER_GAP, TRUE);
}

static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_SIZE) Layout(h);
    if (m == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(h, m, w, l);
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE prev, LPSTR args, int show) {
    (void)prev; (void)args; (void)show;
    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    char title[256] = "";
    LoadStringA(inst, IDR_MAINFRAME, title, sizeof(title));
    WNDCLASSA wc;
    memset(&wc, 0, sizeof(wc));
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
    HWND frame = CreateWindowA("PlainFrame", title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 600, 400, NULL,
                               menu, inst, NULL);
    MakeTree(frame);
    static const char* const propertyHeadings[] = {"参数名称", "参数值"};
    static const int propertyWidths[] = {100, 280}, propertyIcons[] = {55};
    g_properties = MakeList(frame, propertyHeadings, propertyWidths, 2, propertyIcons, 1);
    static const char* const moduleHeadings[] = {"模块名称", "模块路径", "大小"};
    static const int moduleWidths[] = {100, 200, 60}, moduleIcons[] = {2, 72};
    g_modules = MakeList(frame, moduleHeadings, moduleWidths, 3, moduleIcons, 2);
    MakeBars(frame, inst);
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
