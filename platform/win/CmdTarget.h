// Message maps and command routing: the part of the window layer that needs no window.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <cstddef>

class CCmdTarget;

// What a command update learns about one command id from whoever handles it.
struct CCmdUI {
    UINT m_nID = 0;
    bool m_bEnabled = false;
    int m_nCheck = -1;  // -1: the handler says nothing about a check mark
    void Enable(bool on = true) { m_bEnabled = on; }
    void SetCheck(bool on) { m_nCheck = on ? 1 : 0; }
};

enum class MsgKind {
    Message,        // a window message
    Command,        // WM_COMMAND with a command or control id and a notification code
    UpdateCommand,  // command update for an id: lParam carries the CCmdUI
    Reflect,        // a WM_NOTIFY of the window's own control, sent back to it
};

using MsgThunk = LRESULT (*)(CCmdTarget* self, WPARAM wParam, LPARAM lParam);

struct MsgMapEntry {
    MsgKind kind;
    UINT message;  // Message: the message; Command/UpdateCommand: the id
    UINT code;     // Command: the notification code; Reflect: the notification code
    MsgThunk thunk;
};

struct MsgMap {
    const MsgMap* base;
    const MsgMapEntry* entries;
    size_t count;
};

// One line per entry. A class's GetMessageMap declares `using ThisClass = ...;` before its table.
#define ON_MESSAGE(msg, fn) \
    MsgMapEntry{MsgKind::Message, (msg), 0, [](CCmdTarget* p, WPARAM w, LPARAM l) -> LRESULT { \
        return static_cast<ThisClass*>(p)->fn(w, l); }}
#define ON_WM_CREATE() \
    MsgMapEntry{MsgKind::Message, WM_CREATE, 0, [](CCmdTarget* p, WPARAM, LPARAM l) -> LRESULT { \
        return static_cast<ThisClass*>(p)->OnCreate(reinterpret_cast<LPCREATESTRUCTA>(l)); }}
#define ON_WM_DESTROY() \
    MsgMapEntry{MsgKind::Message, WM_DESTROY, 0, [](CCmdTarget* p, WPARAM, LPARAM) -> LRESULT { \
        static_cast<ThisClass*>(p)->OnDestroy(); return 0; }}
#define ON_WM_TIMER() \
    MsgMapEntry{MsgKind::Message, WM_TIMER, 0, [](CCmdTarget* p, WPARAM w, LPARAM) -> LRESULT { \
        static_cast<ThisClass*>(p)->OnTimer(static_cast<UINT_PTR>(w)); return 0; }}
#define ON_WM_SIZE() \
    MsgMapEntry{MsgKind::Message, WM_SIZE, 0, [](CCmdTarget* p, WPARAM w, LPARAM l) -> LRESULT { \
        static_cast<ThisClass*>(p)->OnSize(static_cast<UINT>(w), LOWORD(l), HIWORD(l)); return 0; }}
#define ON_COMMAND(id, fn) \
    MsgMapEntry{MsgKind::Command, (id), 0, [](CCmdTarget* p, WPARAM, LPARAM) -> LRESULT { \
        static_cast<ThisClass*>(p)->fn(); return 0; }}
#define ON_COMMAND_ID(id, fn) \
    MsgMapEntry{MsgKind::Command, (id), 0, [](CCmdTarget* p, WPARAM, LPARAM) -> LRESULT { \
        static_cast<ThisClass*>(p)->fn(id); return 0; }}
#define ON_BN_CLICKED(id, fn) ON_COMMAND(id, fn)
#define ON_UPDATE_COMMAND_UI(id, fn) \
    MsgMapEntry{MsgKind::UpdateCommand, (id), 0, [](CCmdTarget* p, WPARAM, LPARAM l) -> LRESULT { \
        static_cast<ThisClass*>(p)->fn(reinterpret_cast<CCmdUI*>(l)); return 0; }}
#define ON_NOTIFY_REFLECT(code, fn) \
    MsgMapEntry{MsgKind::Reflect, 0, static_cast<UINT>(code), [](CCmdTarget* p, WPARAM, LPARAM l) -> LRESULT { \
        LRESULT result = 0; static_cast<ThisClass*>(p)->fn(reinterpret_cast<NMHDR*>(l), &result); return result; }}

#define MESSAGE_MAP(base, table) \
    static const MsgMap map = {(base), (table), sizeof(table) / sizeof((table)[0])}; \
    return &map

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // Executes the command (pUI null) or asks whether it is handled and how it shows (pUI set).
    virtual BOOL OnCmdMsg(UINT nID, CCmdUI* pUI);
    // How the command shows, asked along the route: enabled only when someone handles it and
    // its update handler, if any, leaves it enabled. Dispatch, menus and the toolbar all ask here.
    CCmdUI ProbeCommand(UINT nID);

protected:
    virtual const MsgMap* GetMessageMap() const { return nullptr; }
    const MsgMapEntry* FindEntry(MsgKind kind, UINT message, UINT code) const;
};
