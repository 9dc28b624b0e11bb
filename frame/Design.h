/* The window's design at 96 DPI, in one place for the program and for its plain-Win32 twin, the
   benchmark's floor (bench/plain_window.c), which must build the same window. C and C++ alike.
   The layer scales every size by the window's DPI. */
#pragma once

#define DESIGN_FRAME_WIDTH 600
#define DESIGN_FRAME_HEIGHT 400
/* The tree's column and the properties pane's row: the splitters' ideal sizes. */
#define DESIGN_PANE_WIDTH 180
#define DESIGN_PANE_HEIGHT 140

struct ColumnDesign {
    const char* heading;
    int width;
};
static const struct ColumnDesign kPropertyColumns[] = {{"参数名称", 100}, {"参数值", 280}};
static const struct ColumnDesign kModuleColumns[] = {{"模块名称", 100}, {"模块路径", 200}, {"大小", 60}};

/* The stock icons, by their index in shell32.dll of the system folder: the properties rows',
   and the module list's first row and later rows. The tree's root shows icon 0 of explorer.exe in
   the Windows folder; a process without an icon of its own, icon 2 of shell32.dll. */
static const int kPropertyIcons[] = {55};
static const int kModuleIcons[] = {2, 72};
#define DESIGN_ROOT_ICON 0
#define DESIGN_PROCESS_ICON 2
