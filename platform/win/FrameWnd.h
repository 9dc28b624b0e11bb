// CFrameWnd: the main window with its menu, accelerators, bars and client area.
#pragma once
#include <vector>

#include "WinApp.h"

class CView;
// The framework's creation context, which makes a document's views. This program has no
// documents and builds its panes itself, so the context is always empty: it is only passed
// along the signatures that the frame and the splitter are written against.
struct CCreateContext {};

// Frame style bit: show the document name in the title (there is no document, so the title alone).
const DWORD FWS_ADDTOTITLE = 0x00008000;

class CFrameWnd : public CWnd {
public:
    HACCEL m_hAccelTable = nullptr;

    ~CFrameWnd() override;

    // Builds the window from the resources with this id: title string, icon, menu, accelerators.
    // The frame deletes itself with its window; when this fails, it is already gone.
    BOOL LoadFrame(UINT resourceId, DWORD style, CWnd* parent = nullptr,
                   CCreateContext* context = nullptr);

    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* view, BOOL setFocus = TRUE);
    // Forgets a view that is going away.
    void OnViewDestroyed(CView* view);

    // Lays out the bars (their own heights) and gives the rest to the client pane.
    virtual void RecalcLayout();
    // Greys or enables the toolbar buttons and refreshes the status indicators now.
    void UpdateCommandUI();
    // Pane 0 of the status bar: a text, or the prompt part of a command's string.
    void SetMessageText(LPCSTR text);
    void SetMessageText(UINT id);
    // The bar whose control id this is (the toolbar or the status bar), or null.
    CWnd* GetControlBar(UINT id) const;

    BOOL OnCmdMsg(UINT nID, CCmdUI* pUI) override;
    // Keys meant for the frame or its panes: Tab and Shift+Tab move the focus through the views
    // in reading order, wrapping; then the frame's accelerators.
    BOOL PreTranslateMessage(MSG* msg) override;
    // The scale of the monitor the frame is on, as Windows last told it; every child is drawn at it.
    UINT GetDpi() const override { return m_nDpi ? m_nDpi : CWnd::GetDpi(); }

protected:
    // A size the frame is given at creation is a 96-DPI design size: it is made at the scale of
    // the monitor it opens on.
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    int OnCreate(LPCREATESTRUCTA cs);
    virtual BOOL OnCreateClient(LPCREATESTRUCTA cs, CCreateContext* context);
    void OnSize(UINT type, int cx, int cy);
    LRESULT OnInitMenuPopup(WPARAM wParam, LPARAM lParam);
    LRESULT OnMenuSelect(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFocusMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnToolTipText(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    // The frame moved to a monitor of another scale: the place Windows suggests, every child at
    // the new scale (its sizes, pictures and font), and the layout again.
    LRESULT OnDpiChangedMsg(WPARAM wParam, LPARAM lParam);
    // Colours and settings changed: a top-level window passes the news on to the common controls
    // it holds, which redraw with them (toolbar pictures and lists recoloured at once).
    LRESULT OnSystemChangeMsg(WPARAM wParam, LPARAM lParam);
    void OnBarCheck(UINT id);
    // The View menu's item of a bar: enabled when the bar (whose window id is the command's) exists,
    // checked while it shows.
    void OnUpdateControlBarMenu(CCmdUI* pUI);
    void PostNcDestroy() override;
    const MsgMap* GetMessageMap() const override;

private:
    // Gives every window of the frame (tooltips included) the system's font for its kind of text
    // at this scale, made and owned by the frame.
    void ApplyFonts(UINT dpi);
    // Tab or Shift+Tab in a view activates the next or previous one, as F6 does between panes.
    bool TabToNextView(const MSG& msg);
    CView* m_pViewActive = nullptr;
    UINT m_nDpi = 0;                // 0 until the window exists
    UINT m_nSizedDpi = 96;          // the scale the window's size was reckoned at
    SIZE m_designSize{};            // its 96-DPI size, where it was given one
    std::vector<HFONT> m_fonts;     // the fonts made for the windows at the current scale
    char m_szTipText[128] = {};
    wchar_t m_wszTipText[128] = {};
};

namespace layer {
// The status prompt of a command: the part of its string before the newline ("" when none).
void GetMessagePrompt(UINT id, char* buffer, int size);
// The tooltip of a command: the part of its string after the newline ("" when none).
void GetMessageTip(UINT id, char* buffer, int size);
}  // namespace layer
