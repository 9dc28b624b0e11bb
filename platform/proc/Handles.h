// Handles that close themselves, so every path out of a handler releases what it opened.
#pragma once
#include <windows.h>

class ScopedHandle {
public:
    ScopedHandle() = default;
    explicit ScopedHandle(HANDLE h) : m_h(h) {}
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ~ScopedHandle() { Close(); }

    // Null and INVALID_HANDLE_VALUE both mean "nothing was opened".
    bool IsValid() const { return m_h != nullptr && m_h != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_h; }
    void Reset(HANDLE h) { Close(); m_h = h; }
    void Close() {
        if (IsValid()) ::CloseHandle(m_h);
        m_h = nullptr;
    }

private:
    HANDLE m_h = nullptr;
};

// An icon the program extracted; an image list keeps its own copy, so this one goes at scope end.
class ScopedIcon {
public:
    explicit ScopedIcon(HICON icon = nullptr) : m_icon(icon) {}
    ScopedIcon(const ScopedIcon&) = delete;
    ScopedIcon& operator=(const ScopedIcon&) = delete;
    ~ScopedIcon() { if (m_icon) ::DestroyIcon(m_icon); }
    HICON Get() const { return m_icon; }
    HICON* Out() { return &m_icon; }

private:
    HICON m_icon;
};
