#include "Wnd.h"

#include <unordered_map>

namespace {

// Which object each window of the layer belongs to. A map in the process rather than a window
// property: every message looks its window up, and Wine answers property reads through its server.
std::unordered_map<HWND, CWnd*>& HandleMap() {
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

// The object whose window CreateEx is making on this thread, and the hook that binds it.
thread_local CWnd* t_pWndInit = nullptr;
// The message being handled on this thread, for Default(). Here rather than in the object: a
// handler may destroy its own window, and with it the object, before dispatch unwinds.
thread_local MSG t_currentMsg{};
thread_local HHOOK t_hCreateHook = nullptr;

LRESULT CALLBACK CreateHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_pWndInit) {
        HWND hwnd = reinterpret_cast<HWND>(wParam);
        CWnd* wnd = t_pWndInit;
        t_pWndInit = nullptr;  // only the first window of the call is ours; a control's helpers are not
        AfxBind(hwnd, wnd, true);
    }
    return CallNextHookEx(t_hCreateHook, code, wParam, lParam);
}

}  // namespace

HINSTANCE AfxGetInstanceHandle() { return ::GetModuleHandleA(nullptr); }

void AfxBind(HWND hwnd, CWnd* wnd, bool subclass) {
    wnd->m_hWnd = hwnd;
    HandleMap()[hwnd] = wnd;
    if (!subclass) return;
    auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
    if (current != AfxWndProc) {
        wnd->m_pfnSuper = current;
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc));
    } else {
        wnd->m_pfnSuper = ::DefWindowProcA;  // a class the layer registered: nothing to give back
    }
}

void AfxUnbind(HWND hwnd) {
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (!wnd) return;
    if (wnd->m_pfnSuper && wnd->m_pfnSuper != ::DefWindowProcA)
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(wnd->m_pfnSuper));
    HandleMap().erase(hwnd);
    wnd->m_hWnd = nullptr;
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    if (!hwnd) return nullptr;
    auto found = HandleMap().find(hwnd);
    return found == HandleMap().end() ? nullptr : found->second;
}

LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (!wnd) return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    MSG outer = t_currentMsg;
    t_currentMsg.hwnd = hwnd;
    t_currentMsg.message = msg;
    t_currentMsg.wParam = wParam;
    t_currentMsg.lParam = lParam;
    LRESULT result = wnd->WindowProc(msg, wParam, lParam);
    t_currentMsg = outer;  // wnd may be gone by now: nothing below touches it but WM_NCDESTROY's own
    if (msg == WM_NCDESTROY) {
        AfxUnbind(hwnd);
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
    ::RegisterClassA(&wc);
    return name;
}

CWnd::~CWnd() {
    // An object that dies before its window must not leave the window pointing at it.
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) ::DestroyWindow(m_hWnd);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA&) { return TRUE; }

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

    CWnd* outerInit = t_pWndInit;
    HHOOK outerHook = t_hCreateHook;
    t_pWndInit = this;
    t_hCreateHook = ::SetWindowsHookExA(WH_CBT, CreateHookProc, nullptr, ::GetCurrentThreadId());
    HWND hwnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style),
                                  cs.x, cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance,
                                  cs.lpCreateParams);
    // The hook clears t_pWndInit once it has bound this object to its window; from then on the
    // window's end decides the object's fate, and a failed creation has already run it.
    bool neverBound = t_pWndInit == this;
    ::UnhookWindowsHookEx(t_hCreateHook);
    t_pWndInit = outerInit;
    t_hCreateHook = outerHook;
    if (hwnd) return TRUE;
    if (neverBound) PostNcDestroy();
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

void AfxRepositionWindow(HWND hwnd, int x, int y, int cx, int cy) {
    ::SetWindowPos(hwnd, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

void AfxRepaintAll(HWND hwnd) {
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
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

LRESULT CWnd::Default() {
    return DefWindowProc(t_currentMsg.message, t_currentMsg.wParam, t_currentMsg.lParam);
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
    bool handled = false;

    if (msg == WM_REFLECT_NOTIFY) {
        auto* reflected = reinterpret_cast<ReflectedNotify*>(lParam);
        if (const MsgMapEntry* e = FindEntry(MsgKind::Reflect, 0, reflected->pnmh->code)) {
            reflected->result = e->thunk(this, 0, reinterpret_cast<LPARAM>(reflected->pnmh));
            reflected->handled = true;
        }
        handled = true;
    } else if (msg == WM_NOTIFY) {
        handled = OnNotify(wParam, lParam, &result);
    } else if (msg == WM_COMMAND) {
        handled = OnCommand(wParam, lParam);
    }
    if (!handled) {
        if (const MsgMapEntry* e = FindEntry(MsgKind::Message, msg, 0)) {
            result = e->thunk(this, wParam, lParam);
            handled = true;
        }
    }
    if (!handled) result = DefWindowProc(msg, wParam, lParam);
    return result;
}
