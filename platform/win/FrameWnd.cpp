#include "FrameWnd.h"

#include <functional>

#include "ControlBars.h"
#include "SplitterWnd.h"
#include "View.h"

namespace {

// A command's string: the status prompt, a newline, then the tooltip.
void LoadCommandStringPart(UINT id, bool tip, char* buffer, int size) {
    char text[512];
    buffer[0] = '\0';
    if (id == 0 || !::LoadStringA(AfxGetInstanceHandle(), id, text, sizeof(text))) return;
    char* newline = strchr(text, '\n');
    if (tip) {
        if (newline) lstrcpynA(buffer, newline + 1, size);
    } else {
        if (newline) *newline = '\0';
        lstrcpynA(buffer, text, size);
    }
}

}  // namespace

namespace layer {
void GetMessagePrompt(UINT id, char* buffer, int size) { LoadCommandStringPart(id, false, buffer, size); }
void GetMessageTip(UINT id, char* buffer, int size) { LoadCommandStringPart(id, true, buffer, size); }
}  // namespace layer

const MsgMap* CFrameWnd::GetMessageMap() const {
    using ThisClass = CFrameWnd;
    static const MsgMapEntry entries[] = {
        ON_WM_CREATE(),
        ON_WM_SIZE(),
        ON_MESSAGE(WM_INITMENUPOPUP, OnInitMenuPopup),
        ON_MESSAGE(WM_MENUSELECT, OnMenuSelect),
        ON_MESSAGE(WM_SETFOCUS, OnSetFocusMsg),
        ON_MESSAGE(WM_NOTIFY, OnToolTipText),
        ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString),
        ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI),
        ON_MESSAGE(WM_DPICHANGED, OnDpiChangedMsg),
        ON_MESSAGE(WM_SYSCOLORCHANGE, OnSystemChangeMsg),
        ON_MESSAGE(WM_SETTINGCHANGE, OnSystemChangeMsg),
        ON_COMMAND_ID(ID_VIEW_TOOLBAR, OnBarCheck),
        ON_COMMAND_ID(ID_VIEW_STATUS_BAR, OnBarCheck),
        ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu),
        ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu),
    };
    MESSAGE_MAP(nullptr, entries);
}

BOOL CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context) {
    HINSTANCE inst = AfxGetInstanceHandle();
    char title[256] = "";
    ::LoadStringA(inst, resourceId, title, sizeof(title));
    if (char* newline = strchr(title, '\n')) *newline = '\0';
    HICON icon = ::LoadIconA(inst, MAKEINTRESOURCEA(resourceId));
    LPCSTR cls = AfxRegisterWndClass("LayerFrameWnd", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS,
                                     ::LoadCursor(nullptr, IDC_ARROW),
                                     reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), icon);
    HMENU menu = ::LoadMenuA(inst, MAKEINTRESOURCEA(resourceId));
    m_hAccelTable = ::LoadAcceleratorsA(inst, MAKEINTRESOURCEA(resourceId));
    // The title-bar flag is the layer's own; the window itself only gets real window styles.
    // The context travels with the creation, not in the object: a failed creation deletes it.
    BOOL ok = CreateEx(0, cls, title, style & ~FWS_ADDTOTITLE, CW_USEDEFAULT, CW_USEDEFAULT,
                       CW_USEDEFAULT, CW_USEDEFAULT, parent ? parent->m_hWnd : nullptr, menu, context);
    if (!ok) {
        // A window that was made took its menu with it; one that never was leaves it to us.
        if (menu && ::IsMenu(menu)) ::DestroyMenu(menu);
        return FALSE;
    }
    // Its size was reckoned before the window was on a monitor: where that monitor's scale is
    // another, the window takes the design size at it. The children were made at it already.
    const UINT dpi = GetDpi();
    if (dpi != m_nSizedDpi && m_designSize.cx > 0 && m_designSize.cy > 0) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, layer::Scale(m_designSize.cx, dpi), layer::Scale(m_designSize.cy, dpi),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ApplyFonts(dpi);
    RecalcLayout();
    return TRUE;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs) {
    // No window yet to ask: a window the system places opens on the primary monitor, at the
    // system's scale.
    m_nSizedDpi = layer::SystemDpi();
    m_designSize = {cs.cx == CW_USEDEFAULT ? 0 : cs.cx, cs.cy == CW_USEDEFAULT ? 0 : cs.cy};
    if (cs.cx != CW_USEDEFAULT) cs.cx = layer::Scale(cs.cx, m_nSizedDpi);
    if (cs.cy != CW_USEDEFAULT) cs.cy = layer::Scale(cs.cy, m_nSizedDpi);
    return CWnd::PreCreateWindow(cs);
}

int CFrameWnd::OnCreate(LPCREATESTRUCTA cs) {
    m_nDpi = layer::MonitorDpiOf(m_hWnd);  // before the children, which are made at it
    if (!OnCreateClient(cs, static_cast<CCreateContext*>(cs->lpCreateParams))) return -1;
    return 0;
}

namespace {

// Every window below this one, children before their own children. Walked without a callback of
// Windows', so that what a visit throws unwinds to the message's own dispatch.
void ForEachDescendant(HWND parent, const std::function<void(HWND)>& visit) {
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        visit(child);
        ForEachDescendant(child, visit);
    }
}

}  // namespace

LRESULT CFrameWnd::OnDpiChangedMsg(WPARAM wParam, LPARAM lParam) {
    UINT oldDpi = GetDpi(), newDpi = LOWORD(wParam);
    if (newDpi == 0) return 0;
    m_nDpi = newDpi;
    if (newDpi != oldDpi) {
        ApplyFonts(newDpi);
        ForEachDescendant(m_hWnd, [=](HWND hwnd) {
            if (CWnd* child = FromHandlePermanent(hwnd)) child->OnDpiChanged(oldDpi, newDpi);
        });
    }
    if (const auto* suggested = reinterpret_cast<const RECT*>(lParam)) {
        ::SetWindowPos(m_hWnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                       suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RecalcLayout();
    return 0;
}

namespace {

// The kind of text a window shows, by its class: trees, lists and their headers take the
// icon-title font, status bars and tooltips the status font, everything else the message font.
// A toolbar's tooltips are a top-level window of their own, which no walk of children reaches:
// it is handed back too. The tree's and the lists' are made by the controls when they first show
// one (in Wine, asking for them makes them), so they are left to the controls, in their fonts.
layer::UiFont FontKindOf(HWND hwnd, HWND* tips) {
    char name[64] = "";
    ::GetClassNameA(hwnd, name, sizeof(name));
    *tips = !lstrcmpiA(name, TOOLBARCLASSNAMEA) ? reinterpret_cast<HWND>(::SendMessageA(hwnd, TB_GETTOOLTIPS, 0, 0))
                                                : nullptr;
    for (const char* cls : {WC_TREEVIEWA, WC_LISTVIEWA, WC_HEADERA})
        if (!lstrcmpiA(name, cls)) return layer::UiFont::IconTitle;
    for (const char* cls : {STATUSCLASSNAMEA, TOOLTIPS_CLASSA})
        if (!lstrcmpiA(name, cls)) return layer::UiFont::Status;
    return layer::UiFont::Message;
}

}  // namespace

void CFrameWnd::ApplyFonts(UINT dpi) {
    // Made from the system's own fonts at this scale, never from what a control holds, so that
    // no error of an earlier scale is carried on. A control that hands its font on to its own
    // children (a list to its header) gives them the same one. The old fonts go once every window
    // holds a new one; when one can't be made, the windows keep theirs.
    const layer::UiFont kinds[] = {layer::UiFont::Message, layer::UiFont::Status, layer::UiFont::IconTitle};
    HFONT made[3] = {};
    const size_t previous = m_fonts.size();
    m_fonts.reserve(previous + 3);  // the places first: a font is never made without one
    bool all = true;
    for (int i = 0; i < 3; ++i) {
        LOGFONTW face = layer::UiFontAt(kinds[i], dpi);
        made[i] = ::CreateFontIndirectW(&face);
        if (made[i]) m_fonts.push_back(made[i]); else all = false;
    }
    if (!all) {
        for (size_t i = previous; i < m_fonts.size(); ++i) ::DeleteObject(m_fonts[i]);
        m_fonts.resize(previous);
        return;
    }
    std::function<void(HWND)> give = [&](HWND hwnd) {
        HWND tips = nullptr;
        HFONT font = made[static_cast<int>(FontKindOf(hwnd, &tips))];
        ::SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        if (tips) give(tips);
    };
    ForEachDescendant(m_hWnd, give);
    for (size_t i = 0; i < previous; ++i) ::DeleteObject(m_fonts[i]);
    m_fonts.erase(m_fonts.begin(), m_fonts.begin() + static_cast<std::ptrdiff_t>(previous));
}

LRESULT CFrameWnd::OnSystemChangeMsg(WPARAM, LPARAM) {
    const MSG news = GetCurrentMessage();
    ForEachDescendant(m_hWnd, [&](HWND child) { ::SendMessageA(child, news.message, news.wParam, news.lParam); });
    return Default();
}

CFrameWnd::~CFrameWnd() {
    // The children that held these fonts are gone.
    for (HFONT font : m_fonts) ::DeleteObject(font);
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCTA, CCreateContext*) {
    // Without a context there is nothing to create: the derived frame builds its own panes.
    return TRUE;
}

CWnd* CFrameWnd::GetControlBar(UINT id) const {
    return FromHandlePermanent(::GetDlgItem(m_hWnd, static_cast<int>(id)));
}

void CFrameWnd::RecalcLayout() {
    if (!m_hWnd) return;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    if (auto* bar = dynamic_cast<CToolBar*>(GetControlBar(AFX_IDW_TOOLBAR));
        bar && ::IsWindowVisible(bar->m_hWnd)) {
        client.top += bar->Layout();
    }
    if (auto* bar = dynamic_cast<CStatusBar*>(GetControlBar(AFX_IDW_STATUS_BAR));
        bar && ::IsWindowVisible(bar->m_hWnd)) {
        client.bottom -= bar->Layout(client.right - client.left);
    }
    if (client.bottom < client.top) client.bottom = client.top;
    if (HWND pane = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST)) {
        layer::RepositionWindow(pane, client.left, client.top, client.right - client.left,
                            client.bottom - client.top);
        layer::RepaintAll(pane);
    }
}

void CFrameWnd::OnSize(UINT type, int, int) {
    if (type != SIZE_MINIMIZED) RecalcLayout();
}

void CFrameWnd::SetActiveView(CView* view, BOOL setFocus) {
    m_pViewActive = view;
    if (view && setFocus && ::GetFocus() != view->m_hWnd) ::SetFocus(view->m_hWnd);
}

void CFrameWnd::OnViewDestroyed(CView* view) {
    if (m_pViewActive == view) m_pViewActive = nullptr;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, CCmdUI* pUI) {
    if (m_pViewActive && m_pViewActive->OnCmdMsg(nID, pUI)) return TRUE;
    if (CWnd::OnCmdMsg(nID, pUI)) return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, pUI);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* msg) {
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return FALSE;
    // Only keys meant for the frame or its panes; a modal box or a menu runs its own loop.
    if (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd)) return FALSE;
    if (TabToNextView(*msg)) return TRUE;
    return m_hAccelTable && ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, msg) != 0;
}

bool CFrameWnd::TabToNextView(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB) return false;
    if (::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0) return false;
    const int kMaxViews = 16;
    CView* views[kMaxViews];
    int count = 0;
    CWnd* client = FromHandlePermanent(::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST));
    if (auto* splitter = dynamic_cast<CSplitterWnd*>(client))
        splitter->AppendViews(views, count, kMaxViews);
    else if (auto* view = dynamic_cast<CView*>(client))
        views[count++] = view;
    // A Tab meant for a window inside a pane (an edit box, say) is that window's.
    int at = 0;
    while (at < count && views[at]->m_hWnd != msg.hwnd) ++at;
    if (at == count) return false;
    bool back = ::GetKeyState(VK_SHIFT) < 0;
    SetActiveView(views[(at + (back ? count - 1 : 1)) % count]);
    return true;
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
    UpdateCommandUI();
    return 0;
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM) {
    SetMessageText(static_cast<UINT>(wParam));
    return 0;
}

void CFrameWnd::UpdateCommandUI() {
    if (auto* bar = dynamic_cast<CToolBar*>(GetControlBar(AFX_IDW_TOOLBAR)))
        bar->UpdateButtons(this);
    if (auto* bar = dynamic_cast<CStatusBar*>(GetControlBar(AFX_IDW_STATUS_BAR)))
        bar->UpdateIndicators();
}

LRESULT CFrameWnd::OnInitMenuPopup(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(lParam)) return Default();  // the system menu is the system's
    HMENU popup = reinterpret_cast<HMENU>(wParam);
    int count = ::GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        UINT id = ::GetMenuItemID(popup, i);
        if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separator or sub-menu
        CCmdUI state = ProbeCommand(id);
        ::EnableMenuItem(popup, static_cast<UINT>(i), MF_BYPOSITION | (state.m_bEnabled ? MF_ENABLED : MF_GRAYED));
        if (state.m_nCheck >= 0)
            ::CheckMenuItem(popup, static_cast<UINT>(i),
                            MF_BYPOSITION | (state.m_nCheck ? MF_CHECKED : MF_UNCHECKED));
    }
    return 0;
}

LRESULT CFrameWnd::OnMenuSelect(WPARAM wParam, LPARAM lParam) {
    UINT item = LOWORD(wParam);
    UINT flags = HIWORD(wParam);
    if ((flags == 0xFFFF && lParam == 0) || (flags & (MF_POPUP | MF_SEPARATOR | MF_SYSMENU))) {
        SetMessageText(AFX_IDS_IDLEMESSAGE);  // menu closed, or nothing with a prompt
    } else {
        SetMessageText(item);
    }
    return 0;
}

LRESULT CFrameWnd::OnSetFocusMsg(WPARAM, LPARAM) {
    // The frame itself takes no keys: the active pane does.
    if (m_pViewActive) ::SetFocus(m_pViewActive->m_hWnd);
    return 0;
}

LRESULT CFrameWnd::OnToolTipText(WPARAM, LPARAM lParam) {
    auto* nmh = reinterpret_cast<NMHDR*>(lParam);
    // Every notification of the panes passes here; only tooltip requests need the toolbar.
    if (nmh->code != TTN_GETDISPINFOA && nmh->code != TTN_GETDISPINFOW) return Default();
    auto* bar = dynamic_cast<CToolBar*>(GetControlBar(AFX_IDW_TOOLBAR));
    HWND tips = bar ? reinterpret_cast<HWND>(bar->SendMessage(TB_GETTOOLTIPS)) : nullptr;
    if (!tips || nmh->hwndFrom != tips) return Default();
    UINT id = static_cast<UINT>(nmh->idFrom);
    if (nmh->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
        layer::GetMessageTip(id, m_szTipText, sizeof(m_szTipText));
        info->lpszText = m_szTipText;
        info->hinst = nullptr;
        return 0;
    }
    if (nmh->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        layer::GetMessageTip(id, m_szTipText, sizeof(m_szTipText));
        ::MultiByteToWideChar(CP_ACP, 0, m_szTipText, -1, m_wszTipText, 128);
        info->lpszText = m_wszTipText;
        info->hinst = nullptr;
        return 0;
    }
    return Default();
}

void CFrameWnd::SetMessageText(LPCSTR text) {
    if (auto* bar = dynamic_cast<CStatusBar*>(GetControlBar(AFX_IDW_STATUS_BAR)))
        bar->SetPaneText(0, text);
}

void CFrameWnd::SetMessageText(UINT id) {
    char prompt[256];
    layer::GetMessagePrompt(id, prompt, sizeof(prompt));
    SetMessageText(prompt);
}

void CFrameWnd::OnBarCheck(UINT id) {
    CWnd* bar = GetControlBar(id);
    if (!bar) return;
    bar->ShowWindow(::IsWindowVisible(bar->m_hWnd) ? SW_HIDE : SW_SHOW);
    RecalcLayout();
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pUI) {
    CWnd* bar = GetControlBar(pUI->m_nID);
    pUI->Enable(bar != nullptr);
    pUI->SetCheck(bar && ::IsWindowVisible(bar->m_hWnd));
}

void CFrameWnd::PostNcDestroy() {
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    delete this;
}
