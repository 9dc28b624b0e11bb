// The ids the window layer itself knows: its commands, strings and bar and pane windows. Plain
// #defines, so that the resource compiler reads this header as well as the compiler, and each
// id is written once.
#pragma once

#define ID_SEPARATOR 0

// Strings.
#define AFX_IDS_APP_TITLE 0xE000    // 57344: the caption of every message box
#define AFX_IDS_IDLEMESSAGE 0xE001  // 57345: the status bar's idle text

// Commands.
#define ID_FILE_PRINT 0xE107  // 57607
#define ID_EDIT_COPY 0xE122   // 57634
#define ID_EDIT_CUT 0xE123    // 57635
#define ID_EDIT_PASTE 0xE125  // 57637
#define ID_EDIT_UNDO 0xE12B   // 57643
#define ID_APP_ABOUT 0xE140   // 57664
#define ID_APP_EXIT 0xE141    // 57665
#define ID_NEXT_PANE 0xE150   // 57680
#define ID_PREV_PANE 0xE151   // 57681

// Status bar indicators: the id is also the string shown while the key is on.
#define ID_INDICATOR_CAPS 0xE701  // 59137
#define ID_INDICATOR_NUM 0xE702   // 59138
#define ID_INDICATOR_SCRL 0xE703  // 59139

// A bar's window id is the command that shows and hides it.
#define ID_VIEW_TOOLBAR 0xE800     // 59392
#define ID_VIEW_STATUS_BAR 0xE801  // 59393
#define AFX_IDW_TOOLBAR 0xE800
#define AFX_IDW_STATUS_BAR 0xE801
#define AFX_IDW_PANE_FIRST 0xE900  // 59648: the frame's client pane; a splitter's panes follow
