// Resource and command ids shared by the program and its resource script.
#pragma once

#define IDR_MAINFRAME 128
#define IDD_ABOUTBOX 100
#define IDC_WEB_LINK 1000

#define ID_REFRESH 32771
#define ID_STOP_PROCESS 32772
#define ID_REBUILD_ICON_CACHE 32773
#define ID_PORT_LIST 32774

// Command ids the window layer defines as well; the resource script needs them as numbers.
#define IDS_APP_TITLE 57344
#define IDS_IDLEMESSAGE 57345
#define IDM_APP_ABOUT 57664
#define IDM_APP_EXIT 57665
#define IDM_FILE_PRINT 57607
#define IDM_EDIT_COPY 57634
#define IDM_EDIT_CUT 57635
#define IDM_EDIT_PASTE 57637
#define IDM_EDIT_UNDO 57643
#define IDM_NEXT_PANE 57680
#define IDM_PREV_PANE 57681
#define IDS_INDICATOR_CAPS 59137
#define IDS_INDICATOR_NUM 59138
#define IDS_INDICATOR_SCRL 59139
#define IDM_VIEW_TOOLBAR 59392
#define IDM_VIEW_STATUS_BAR 59393
