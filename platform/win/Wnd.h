// CWnd: a C++ object bound to one window for the window's whole life.
//
// Ownership: an object whose window reached creation is deleted only by its PostNcDestroy, the
// last thing that happens to it. A creation that fails before the window exists ends in
// PostNcDestroy too, so the caller of Create never owns the object afterwards either way. No code
// touches an object after a call that may have destroyed its window (a dispatched message,
// a creation, DestroyWindow): the message state Default() needs is kept beside the dispatch, not
// in the object, so unwinding out of a handler whose window went away writes nothing into freed
// memory. The layer serves one thread, the user-interface thread.
//
// No exception crosses back into Windows: one thrown by a handler (out of memory, say) ends that
// message's work at the window procedure, the message is answered as unhandled (WM_CREATE as a
// failed creation), and the window goes on answering.
#pragma once
#include "CmdTarget.h"
#include "Dpi.h"

class CWnd;

namespace layer {
void Bind(HWND hwnd, CWnd* wnd);
void Unbind(HWND hwnd);
}  // namespace layer

// Dynamic creation by class, so that a splitter can make the panes it is told about. Each class's
// record names it and its base, as the design describes every dynamically created pane; the layer
// itself only ever creates objects from it.
struct CRuntimeClass {
    const char* m_lpszClassName;
    CWnd* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;
    CWnd* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
};

template <class T>
CWnd* CreateWndObject() { return new T; }

#define RUNTIME_CLASS(T) (&T::classInfo)

// A control's WM_NOTIFY comes back to the control's own object as this message first.
struct ReflectedNotify {
    NMHDR* pnmh;
    LRESULT result;
    bool handled;
};
const UINT WM_REFLECT_NOTIFY = WM_APP + 0x3F00;
// A bar asks its frame to show a command's prompt in the status bar (wParam: the command id, or
// the idle text's id), so that the bars need not know the frame.
const UINT WM_SETMESSAGESTRING = WM_APP + 0x3F01;
// The application's message loop, at idle, asks its main window to bring its commands up to date.
const UINT WM_IDLEUPDATECMDUI = WM_APP + 0x3F02;

class CWnd : public CCmdTarget {
public:
    HWND m_hWnd = nullptr;

    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    ~CWnd() override;

    // The object bound to hwnd, or null for a window the layer did not create.
    static CWnd* FromHandlePermanent(HWND hwnd);

    // Creates the window of any class. A window of a class the layer did not register is
    // subclassed before its first message, so it too sees its own WM_NCCREATE and WM_CREATE.
    BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                  int cx, int cy, HWND parent, HMENU menuOrId, LPVOID param = nullptr);
    BOOL DestroyWindow();

    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, msg, wParam, lParam);
    }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    CWnd* GetParent() const { return FromHandlePermanent(::GetParent(m_hWnd)); }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse) { return ::SetTimer(m_hWnd, id, elapse, nullptr); }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    BOOL UpdateWindow() { return ::UpdateWindow(m_hWnd); }
    void CenterWindow(HWND alternateOwner = nullptr);

    // The DPI the window is drawn at: its parent's, up to the frame, which follows the monitor.
    virtual UINT GetDpi() const;
    // A 96-DPI design size at the window's DPI.
    int Scaled(int size) const { return layer::Scale(size, GetDpi()); }
    // The window's frame has moved to another scale: sizes the window keeps in pixels are scaled
    // from the old DPI to the new, pictures made again at the new. Fonts are the frame's care.
    virtual void OnDpiChanged(UINT /*oldDpi*/, UINT /*newDpi*/) {}

    // Everything the window receives passes here: the map, and the default handling for what it
    // leaves.
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // The map alone, for windows and dialogs alike: reflected notifications, notifications,
    // commands, then messages, class by class up to the base. False when nothing handled it.
    virtual bool OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // The message being handled now, for a handler that serves several.
    static MSG GetCurrentMessage();
    // A queued message before it is dispatched; TRUE when it was used up here (a frame's
    // accelerators). The message loop asks the main window.
    virtual BOOL PreTranslateMessage(MSG*) { return FALSE; }

protected:
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    // Called after the window is gone, or when its creation failed before the window existed;
    // objects that own themselves delete themselves here.
    virtual void PostNcDestroy() {}
    // WM_COMMAND: route the command, but only when someone enables it.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY: the sending control's own object first, then this window's map.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The handling the window would have had without this object.
    LRESULT Default();
    virtual LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

    WNDPROC m_pfnSuper = nullptr;  // the class's own procedure, for subclassed controls

    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend void layer::Bind(HWND, CWnd*);
    friend void layer::Unbind(HWND);
};

// Drawing of one window stopped for a bulk change, and the window repainted once, frame and all,
// when the guard ends. The control hears WM_SETREDRAW, and the window is also marked not drawable
// as the system's default handling of that message does: Wine's list and tree controls keep that
// message to themselves and repaint a visible scroll bar, at a cost of milliseconds under a theme,
// at every scroll-range update, even with their own drawing off.
class CRedrawSuspended {
public:
    explicit CRedrawSuspended(CWnd& wnd);
    ~CRedrawSuspended();
    CRedrawSuspended(const CRedrawSuspended&) = delete;
    CRedrawSuspended& operator=(const CRedrawSuspended&) = delete;

private:
    HWND m_hWnd;
    bool m_wasVisible;  // a window hidden before stays hidden
};

LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Registers (once) a window class whose procedure is the layer's own; null when it can't be.
LPCSTR AfxRegisterWndClass(LPCSTR name, UINT classStyle, HCURSOR cursor, HBRUSH background,
                           HICON icon);
HINSTANCE AfxGetInstanceHandle();

// The layer's own helpers, apart from the framework's names.
namespace layer {

// Layout changes. A moved child keeps none of its old pixels, and the window whose children
// were laid out is repainted whole, children, borders, scroll bars and headers included: the
// system's copying of old pixels into a moved child, and the parts it then thinks still valid,
// leave stale strips in the list and tree controls when their parent moves them in turn.
void RepositionWindow(HWND hwnd, int x, int y, int cx, int cy);
void RepaintAll(HWND hwnd);

// Binding, the one way a window finds its object: before the window's first message, from a
// creation hook, so the object sees its own WM_NCCREATE and WM_CREATE; windows and dialogs alike.
// Each window is unbound at WM_NCDESTROY, its last message. The binding is a map in the process,
// not a window property or the window's user data: every message looks its window up, Wine answers
// property reads through its server, and user data belongs to whoever made the window class. A
// bound window's procedure is AfxWndProc; the class's own (a control's, the dialog manager's) is
// called for default handling, and given back when the window is unbound.
void Bind(HWND hwnd, CWnd* wnd);
void Unbind(HWND hwnd);

// While it lives, the next window created on this thread is bound to wnd. Made around the call
// that creates the window (CreateWindowEx, DialogBoxParam).
class CreationHook {
public:
    explicit CreationHook(CWnd* wnd);
    ~CreationHook();
    CreationHook(const CreationHook&) = delete;
    CreationHook& operator=(const CreationHook&) = delete;
    // False when the hook could not be set: the window must not be made, it would have no object.
    bool Installed() const { return m_hook != nullptr; }
    // The window the hook bound to the object, or null when none was.
    HWND BoundWindow() const;

private:
    CWnd* m_wnd;
    CWnd* m_outerWnd;
    HHOOK m_outerHook;
    HWND m_outerBound;
    HHOOK m_hook;
};

}  // namespace layer
