// Resource and command ids shared by the program and its resource script.
#pragma once

// The window layer's own ids (exit, the bars, the edit commands, the indicators...).
#include "platform/win/AfxRes.h"

#define IDR_MAINFRAME 128
// The toolbar's pictures for 125, 150 and 200 % display scale; IDR_MAINFRAME's are for 100 %.
#define IDB_TOOLBAR_20 129
#define IDB_TOOLBAR_24 130
#define IDB_TOOLBAR_32 131
#define IDD_ABOUTBOX 100
#define IDC_WEB_LINK 1000

#define ID_REFRESH 32771
#define ID_STOP_PROCESS 32772
#define ID_REBUILD_ICON_CACHE 32773
#define ID_PORT_LIST 32774
