#include "WinApp.h"

#include <objbase.h>

#include "StartupTrace.h"

namespace {
CWinApp* g_pApp = nullptr;
}

CWinApp* AfxGetApp() { return g_pApp; }
CWnd* AfxGetMainWnd() { return g_pApp ? g_pApp->m_pMainWnd : nullptr; }

CWinApp::CWinApp() { g_pApp = this; }

CWinApp::~CWinApp() {
    if (g_pApp == this) g_pApp = nullptr;
}

void CWinApp::AfxWinInit(HINSTANCE instance) {
    // The shell's Properties and open calls may use COM objects, which need the calling thread
    // in a single-threaded apartment.
    if (!m_bComEntered)
        m_bComEntered = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    StartupMark("COM");
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    StartupMark("common controls");
    if (!::LoadStringA(instance, AFX_IDS_APP_TITLE, m_szAppName, sizeof(m_szAppName))) m_szAppName[0] = '\0';
}

void CWinApp::AfxWinTerm() {
    if (m_bComEntered) ::CoUninitialize();
    m_bComEntered = false;
}

const MsgMap* CWinApp::GetMessageMap() const {
    using ThisClass = CWinApp;
    static const MsgMapEntry entries[] = {
        ON_COMMAND(ID_APP_EXIT, OnAppExit),
    };
    MESSAGE_MAP(nullptr, entries);
}

void CWinApp::OnAppExit() {
    // Closing the main window ends the loop; the frame posts the quit itself.
    if (m_pMainWnd && m_pMainWnd->m_hWnd) m_pMainWnd->SendMessage(WM_CLOSE);
}

BOOL CWinApp::PreTranslateMessage(MSG* msg) {
    return m_pMainWnd && m_pMainWnd->m_hWnd && m_pMainWnd->PreTranslateMessage(msg);
}

BOOL CWinApp::OnIdle() {
    if (!m_pMainWnd || !m_pMainWnd->m_hWnd) return FALSE;
    m_pMainWnd->SendMessage(WM_IDLEUPDATECMDUI);
    return TRUE;
}

int CWinApp::Run() {
    MSG msg;
    for (;;) {
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            OnIdle();
            ::WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

int AfxMessageBox(LPCSTR text, UINT type) {
    if ((type & MB_ICONMASK) == 0) type |= MB_ICONEXCLAMATION;
    CWnd* main = AfxGetMainWnd();
    HWND owner = main ? main->m_hWnd : nullptr;
    if (owner) owner = ::GetLastActivePopup(owner);
    const char* caption = g_pApp ? g_pApp->m_szAppName : "";
    return ::MessageBoxA(owner, text, caption, type);
}

int AfxWinMain(HINSTANCE instance) {
    CWinApp* app = AfxGetApp();
    if (!app) return 1;
    StartupMark("entry");
    app->AfxWinInit(instance);
    int code = app->InitInstance() ? app->Run() : 1;
    app->AfxWinTerm();
    return code;
}
