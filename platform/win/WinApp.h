// CWinApp: the one application object, its message loop and the services that hang off it.
#pragma once
#include "Wnd.h"

// Ids the layer itself knows about (the program's resources use the same numbers).
const UINT AFX_IDS_APP_TITLE = 0xE000;        // 57344
const UINT AFX_IDS_IDLEMESSAGE = 0xE001;      // 57345
const UINT ID_APP_EXIT = 0xE141;              // 57665
const UINT ID_APP_ABOUT = 0xE140;             // 57664
const UINT ID_VIEW_TOOLBAR = 0xE800;          // 59392
const UINT ID_VIEW_STATUS_BAR = 0xE801;       // 59393
const UINT ID_NEXT_PANE = 0xE150;             // 57680
const UINT ID_PREV_PANE = 0xE151;             // 57681
const UINT ID_SEPARATOR = 0;
const UINT ID_INDICATOR_CAPS = 0xE701;
const UINT ID_INDICATOR_NUM = 0xE702;
const UINT ID_INDICATOR_SCRL = 0xE703;
const UINT AFX_IDW_TOOLBAR = 0xE800;
const UINT AFX_IDW_STATUS_BAR = 0xE801;
const UINT AFX_IDW_PANE_FIRST = 0xE900;

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(LPCSTR appName = nullptr);
    ~CWinApp() override;

    CWnd* m_pMainWnd = nullptr;
    char m_szAppName[128] = {};  // the title of every message box

    // Loads the title and common controls and enters COM; the entry calls this before InitInstance.
    void AfxWinInit(HINSTANCE instance);
    // Leaves COM; the entry calls this once the message loop has ended.
    void AfxWinTerm();
    virtual BOOL InitInstance() { return TRUE; }
    // The message loop: the main frame's accelerators, then dispatch; idle updates in between.
    virtual int Run();
    // Brings the main frame's toolbar and indicators up to date; TRUE when there is a frame.
    virtual BOOL OnIdle();
    virtual BOOL PreTranslateMessage(MSG* msg);
    void SetRegistryKey(LPCSTR) {}  // the program stores nothing; the key name is not used

protected:
    const MsgMap* GetMessageMap() const override;
    void OnAppExit();

private:
    LPCSTR m_pszConstructedName;
    bool m_bComEntered = false;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// A message box with the application title as caption; the exclamation icon when none is given.
int AfxMessageBox(LPCSTR text, UINT type = MB_OK, UINT helpId = 0);
// Runs the application object: initialisation, InitInstance, then the message loop.
int AfxWinMain(HINSTANCE instance);
