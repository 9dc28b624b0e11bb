#include "app/MainApp.h"

#include "about/AboutDlg.h"
#include "frame/OurFrame.h"
#include "app/StartupTrace.h"
#include "res/resource.h"

CMainApp theApp;

const MsgMap* CMainApp::GetMessageMap() const {
    using ThisClass = CMainApp;
    static const MsgMapEntry entries[] = {
        ON_COMMAND(ID_APP_ABOUT, OnAppAbout),
    };
    MESSAGE_MAP(CWinApp::GetMessageMap(), entries);
}

BOOL CMainApp::InitInstance() {
    SetRegistryKey("Local AppWizard-Generated Applications");
    StartupMark("initialisation");  // COM, the common controls and the title, since the entry
    auto* frame = new COurFrame;
    m_pMainWnd = frame;
    // A frame that fails to load has deleted itself and left the application without a main
    // window; start-up ends here.
    if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, nullptr))
        return FALSE;
    frame->ShowWindow(SW_SHOW);
    StartupMark("shown");
    frame->UpdateWindow();
    StartupMark("first paint");
    StartupTraceWrite();
    return TRUE;
}

void CMainApp::OnAppAbout() {
    CAboutDlg dlg;
    dlg.DoModal();
}
