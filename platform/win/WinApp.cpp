#include "WinApp.h"

#include <objbase.h>

namespace {
CWinApp* g_pApp = nullptr;
}

CWinApp* AfxGetApp() { return g_pApp; }
CWnd* AfxGetMainWnd() { return g_pApp ? g_pApp->m_pMainWnd : nullptr; }

CWinApp::CWinApp() { g_pApp = this; }

CWinApp::~CWinApp() {
    if (g_pApp == this) g_pApp = nullptr;
}

void CWinApp::InitApplication(HINSTANCE instance) {
    // The shell's Properties and open calls may use COM objects, which need the calling thread
    // in a single-threaded apartment.
    if (!m_bComEntered)
        m_bComEntered = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    if (!::LoadStringA(instance, AFX_IDS_APP_TITLE, m_szAppName, sizeof(m_szAppName))) m_szAppName[0] = '\0';
}

void CWinApp::ExitInstance() {
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

bool CWinApp::IsIdleMessage(const MSG& msg) {
    // A mouse that did not move (the system repeats the last move after many other messages),
    // a paint, a caret blink or another of the system's own timers change no command's state.
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
        bool same = msg.message == m_lastMouseMessage && msg.pt.x == m_lastMousePoint.x &&
                    msg.pt.y == m_lastMousePoint.y;
        m_lastMouseMessage = msg.message;
        m_lastMousePoint = msg.pt;
        return !same;
    }
    const UINT kSystemTimer = 0x0118;  // WM_SYSTIMER
    return msg.message != WM_PAINT && msg.message != kSystemTimer;
}

int CWinApp::Run() {
    MSG msg;
    bool idleDue = true;
    for (;;) {
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (idleDue) OnIdle();
            idleDue = false;
            ::WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (IsIdleMessage(msg)) idleDue = true;
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
    app->InitApplication(instance);
    int code = 1;
    try {
        code = app->InitInstance() ? app->Run() : 1;
    } catch (...) {
        // Start-up that could not finish (out of memory) ends the program; whatever window it made
        // goes with the process.
        code = 1;
    }
    app->ExitInstance();
    return code;
}
