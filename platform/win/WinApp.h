// CWinApp: the one application object, its message loop and the services that hang off it.
#pragma once
#include "AfxRes.h"
#include "Wnd.h"

class CWinApp : public CCmdTarget {
public:
    // The title comes from the string table (AFX_IDS_APP_TITLE): the program names no application.
    CWinApp();
    ~CWinApp() override;

    CWnd* m_pMainWnd = nullptr;
    char m_szAppName[128] = {};  // the title of every message box

    // Loads the title and common controls and enters COM; the entry calls this before InitInstance.
    void InitApplication(HINSTANCE instance);
    // Leaves COM; the entry calls this once the message loop has ended.
    void ExitInstance();
    virtual BOOL InitInstance() { return TRUE; }
    // The message loop: the main window's PreTranslateMessage, then dispatch; when the queue is
    // empty, an idle update if a message since the last one may have changed a command's state.
    virtual int Run();
    // Whether a message may change a command's state, so that the commands are brought up to date
    // at the next idle time.
    virtual bool IsIdleMessage(const MSG& msg);
    // Asks the main window to bring its commands up to date; TRUE when there is one.
    virtual BOOL OnIdle();
    virtual BOOL PreTranslateMessage(MSG* msg);
    void SetRegistryKey(LPCSTR) {}  // the program stores nothing; the key name is not used

protected:
    const MsgMap* GetMessageMap() const override;
    void OnAppExit();

private:
    bool m_bComEntered = false;
    UINT m_lastMouseMessage = 0;
    POINT m_lastMousePoint{-1, -1};
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// A message box with the application title as caption; the exclamation icon when none is given.
int AfxMessageBox(LPCSTR text, UINT type = MB_OK);
// Runs the application object: initialisation, InitInstance, then the message loop.
int AfxWinMain(HINSTANCE instance);
