#include "Wnd.h"

#include "../seams/Seams.h"

#include <unordered_map>

namespace {

// Which object each window of the layer belongs to. A map in the process rather than a window
// property: every message looks its window up, and Wine answers property reads through its server.
std::unordered_map<HWND, CWnd*>& HandleMap() {
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

// The object whose window is being made, and the hook that binds it. Plain statics: the layer
// serves the one user-interface thread, and per-thread storage would only add ways to fail.
CWnd* g_pWndInit = nullptr;
HHOOK g_hCreateHook = nullptr;
HWND g_hWndBound = nullptr;  // the window the hook bound last
// The message being handled, for Default(). Here rather than in the object: a handler may destroy
// its own window, and with it the object, before dispatch unwinds.
MSG g_currentMsg{};

LRESULT CALLBACK CreateHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && g_pWndInit) {
        CWnd* wnd = g_pWndInit;
        g_pWndInit = nullptr;  // only the first window of the call is ours; a control's helpers are not
        try {
            layer::Bind(reinterpret_cast<HWND>(wParam), wnd);
        } catch (...) {
            return 1;  // not bound: the window is not made, and its creation fails
        }
        g_hWndBound = reinterpret_cast<HWND>(wParam);
    }
    return CallNextHookEx(g_hCreateHook, code, wParam, lParam);
}

// The current message, put back as it was when the dispatch of a nested one ends.
class MessageScope {
public:
    MessageScope(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) : m_outer(g_currentMsg) {
        g_currentMsg.hwnd = hwnd;
        g_currentMsg.message = msg;
        g_currentMsg.wParam = wParam;
        g_currentMsg.lParam = lParam;
    }
    ~MessageScope() { g_currentMsg = m_outer; }
    MessageScope(const MessageScope&) = delete;
    MessageScope& operator=(const MessageScope&) = delete;

private:
    MSG m_outer;
};

}  // namespace

HINSTANCE AfxGetInstanceHandle() { return ::GetModuleHandleA(nullptr); }

namespace layer {

void Bind(HWND hwnd, CWnd* wnd) {
    HandleMap()[hwnd] = wnd;  // first: what can fail has failed before the window is touched
    wnd->m_hWnd = hwnd;
    auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
    if (current != AfxWndProc) {
        wnd->m_pfnSuper = current;
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc));
    } else {
        wnd->m_pfnSuper = ::DefWindowProcA;  // a class the layer registered: nothing to give back
    }
}

void Unbind(HWND hwnd) {
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (!wnd) return;
    if (wnd->m_pfnSuper && wnd->m_pfnSuper != ::DefWindowProcA)
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(wnd->m_pfnSuper));
    HandleMap().erase(hwnd);
    wnd->m_hWnd = nullptr;
}

CreationHook::CreationHook(CWnd* wnd)
    : m_wnd(wnd), m_outerWnd(g_pWndInit), m_outerHook(g_hCreateHook), m_outerBound(g_hWndBound) {
    m_hook = ::SetWindowsHookExA(WH_CBT, CreateHookProc, nullptr, ::GetCurrentThreadId());
    if (!m_hook) return;
    g_hWndBound = nullptr;
    g_pWndInit = wnd;
    g_hCreateHook = m_hook;
}

CreationHook::~CreationHook() {
    if (!m_hook) return;
    ::UnhookWindowsHookEx(m_hook);
    // A child made during the outer window's creation messages must not change what the outer
    // creation reads when its call returns: the window it bound, or none.
    g_pWndInit = m_outerWnd;
    g_hCreateHook = m_outerHook;
    g_hWndBound = m_outerBound;
}

HWND CreationHook::BoundWindow() const {
    // The hook clears the object to bind once it has bound it.
    return m_hook && g_pWndInit != m_wnd ? g_hWndBound : nullptr;
}

void RepositionWindow(HWND hwnd, int x, int y, int cx, int cy) {
    ::SetWindowPos(hwnd, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

void RepaintAll(HWND hwnd) {
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace layer

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    if (!hwnd) return nullptr;
    auto found = HandleMap().find(hwnd);
    return found == HandleMap().end() ? nullptr : found->second;
}

LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (!wnd) return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    LRESULT result;
    {
        MessageScope scope(hwnd, msg, wParam, lParam);
        try {
            result = wnd->WindowProc(msg, wParam, lParam);
        } catch (...) {
            // The message's work is abandoned where it stood. A creation that threw fails.
            result = msg == WM_CREATE ? -1 : 0;
        }
    }
    // wnd may be gone by now: nothing below touches it but WM_NCDESTROY's own, the last message.
    if (msg == WM_NCDESTROY) {
        layer::Unbind(hwnd);
        wnd->PostNcDestroy();
    }
    return result;
}

LPCSTR AfxRegisterWndClass(LPCSTR name, UINT classStyle, HCURSOR cursor, HBRUSH background,
                           HICON icon) {
    WNDCLASSA wc{};
    if (::GetClassInfoA(AfxGetInstanceHandle(), name, &wc)) return name;
    wc.style = classStyle;
    wc.lpfnWndProc = AfxWndProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name;
    return ::RegisterClassA(&wc) ? name : nullptr;
}

CWnd::~CWnd() {
    // An object that dies before its window must not leave the window pointing at it.
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) ::DestroyWindow(m_hWnd);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA&) { return TRUE; }

UINT CWnd::GetDpi() const {
    if (CWnd* parent = m_hWnd ? GetParent() : nullptr) return parent->GetDpi();
    return layer::MonitorDpiOf(m_hWnd);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                    int cx, int cy, HWND parent, HMENU menuOrId, LPVOID param) {
    CREATESTRUCTA cs{};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = static_cast<LONG>(style);
    cs.x = x;
    cs.y = y;
    cs.cx = cx;
    cs.cy = cy;
    cs.hwndParent = parent;
    cs.hMenu = menuOrId;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs)) return FALSE;

    HWND hwnd = nullptr, bound = nullptr;
    {
        layer::CreationHook hook(this);
        // Without the hook the window would have no object: it is not made at all.
        if (hook.Installed())
            hwnd = g_seams.createWindowEx(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x,
                                         cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance,
                                         cs.lpCreateParams);
        bound = hook.BoundWindow();
    }
    if (hwnd) return TRUE;
    // A window that failed in its own creation messages has had its last message, which ended this
    // object (and unbound it); one refused before any message (by another creation hook) has not:
    // it is unbound and ended here, as is an object whose window was never made.
    if (!bound || FromHandlePermanent(bound) == this) {
        if (bound) layer::Unbind(bound);
        PostNcDestroy();
    }
    return FALSE;
}

BOOL CWnd::DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) {
    DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE));
    DWORD changed = (style & ~remove) | add;
    if (changed == style) return FALSE;
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(changed));
    if (flags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

CRedrawSuspended::CRedrawSuspended(CWnd& wnd)
    : m_hWnd(wnd.m_hWnd), m_wasVisible(::IsWindowVisible(wnd.m_hWnd) != FALSE) {
    ::SendMessageA(m_hWnd, WM_SETREDRAW, FALSE, 0);
    if (m_wasVisible) ::DefWindowProcA(m_hWnd, WM_SETREDRAW, FALSE, 0);
}

CRedrawSuspended::~CRedrawSuspended() {
    // The control brings its scroll bars up to date while it is still not drawable.
    ::SendMessageA(m_hWnd, WM_SETREDRAW, TRUE, 0);
    if (!m_wasVisible) return;
    ::DefWindowProcA(m_hWnd, WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void CWnd::CenterWindow(HWND alternateOwner) {
    HWND owner = alternateOwner ? alternateOwner : ::GetWindow(m_hWnd, GW_OWNER);
    // Centred on the owner, but kept inside the work area of the owner's monitor: an owner
    // partly off screen must not take the box with it.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoA(::MonitorFromWindow(owner ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    RECT area = work;
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) ::GetWindowRect(owner, &area);
    RECT me;
    ::GetWindowRect(m_hWnd, &me);
    int w = me.right - me.left, h = me.bottom - me.top;
    int x = area.left + ((area.right - area.left) - w) / 2;
    int y = area.top + ((area.bottom - area.top) - h) / 2;
    if (x + w > work.right) x = work.right - w;
    if (y + h > work.bottom) y = work.bottom - h;
    if (x < work.left) x = work.left;
    if (y < work.top) y = work.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) return ::CallWindowProcA(m_pfnSuper, m_hWnd, msg, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, msg, wParam, lParam);
}

MSG CWnd::GetCurrentMessage() { return g_currentMsg; }

LRESULT CWnd::Default() {
    return DefWindowProc(g_currentMsg.message, g_currentMsg.wParam, g_currentMsg.lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT id = LOWORD(wParam);
    UINT code = HIWORD(wParam);
    // A control names itself in lParam. Its notifications other than a click (an edit's change,
    // a list box's LBN_SELCHANGE, whose code is 1 like an accelerator's) are handled by code
    // here, not routed.
    if (lParam != 0 && code != BN_CLICKED) {
        if (const MsgMapEntry* e = FindEntry(MsgKind::Command, id, code)) {
            e->thunk(this, wParam, 0);
            return TRUE;
        }
        return FALSE;
    }
    if (!ProbeCommand(id).m_bEnabled) return FALSE;  // greyed: the key does nothing
    return OnCmdMsg(id, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
    auto* nmh = reinterpret_cast<NMHDR*>(lParam);
    // Only the control's own parent offers it back: a notification passed further up (by a
    // splitter to the frame) has had its chance.
    CWnd* sender = ::GetParent(nmh->hwndFrom) == m_hWnd ? FromHandlePermanent(nmh->hwndFrom) : nullptr;
    if (sender) {
        ReflectedNotify reflected{nmh, 0, false};
        ::SendMessageA(sender->m_hWnd, WM_REFLECT_NOTIFY, 0, reinterpret_cast<LPARAM>(&reflected));
        if (reflected.handled) {
            *pResult = reflected.result;
            return TRUE;
        }
    }
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(msg, wParam, lParam, &result)) result = DefWindowProc(msg, wParam, lParam);
    return result;
}

bool CWnd::OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    *result = 0;
    if (msg == WM_REFLECT_NOTIFY) {
        auto* reflected = reinterpret_cast<ReflectedNotify*>(lParam);
        if (const MsgMapEntry* e = FindEntry(MsgKind::Reflect, 0, reflected->pnmh->code)) {
            reflected->result = e->thunk(this, 0, reinterpret_cast<LPARAM>(reflected->pnmh));
            reflected->handled = true;
        }
        return true;
    }
    if (msg == WM_NOTIFY && OnNotify(wParam, lParam, result)) return true;
    if (msg == WM_COMMAND && OnCommand(wParam, lParam)) return true;
    if (const MsgMapEntry* e = FindEntry(MsgKind::Message, msg, 0)) {
        *result = e->thunk(this, wParam, lParam);
        return true;
    }
    return false;
}
