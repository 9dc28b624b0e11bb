// The frame's two bars: a toolbar loaded from a toolbar resource, and a status bar with indicators.
#pragma once
#include <initializer_list>
#include <string>
#include <vector>

#include "AfxRes.h"
#include "ImageList.h"
#include "Wnd.h"

// Bar styles of the frame's bars. They describe placement and behaviour, not window styles. Of
// these the bars act on the gripper, tooltips and fly-by prompts; the alignment, border and
// sizing bits, like the toolbar's border rectangle, are taken and have no effect: the bars
// stay docked where the frame lays them out.
const DWORD CBRS_SIZE_DYNAMIC = 0x0004;
const DWORD CBRS_TOOLTIPS = 0x0010;
const DWORD CBRS_FLYBY = 0x0020;
const DWORD CBRS_BORDER_TOP = 0x0200;
const DWORD CBRS_BORDER_BOTTOM = 0x0800;
const DWORD CBRS_ALIGN_TOP = 0x2000;
const DWORD CBRS_ALIGN_BOTTOM = 0x8000;
const DWORD CBRS_GRIPPER = 0x00400000;
const DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
const DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;
const DWORD CBRS_ALL = 0x0040FFFF;

class CToolBar : public CWnd {
public:
    BOOL CreateEx(CWnd* parent, DWORD ctrlStyle, DWORD style, RECT borders, UINT id);
    // Buttons and their pictures from the toolbar resource and the bitmap of the same id, drawn at
    // the resource's size for 96 DPI; largerArt names bitmaps of the same pictures drawn larger,
    // for other scales.
    BOOL LoadToolBar(UINT resourceId, std::initializer_list<UINT> largerArt = {});
    // Sizes the bar to its parent's width (the control does this itself) and returns its height.
    int Layout();
    // Enables each button whose command someone along the route (the frame's) handles.
    void UpdateButtons(CCmdTarget* route);
    // The gripper, padding and pictures at the new scale.
    void OnDpiChanged(UINT oldDpi, UINT newDpi) override;

protected:
    void OnCustomDraw(NMHDR* nmh, LRESULT* result);
    // The prompt of the button under the mouse, greyed or not, while the mouse is over the bar.
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    // The pictures mapped again to the system's new button colours.
    LRESULT OnSysColorChangeMsg(WPARAM wParam, LPARAM lParam);
    // A new font: the buttons keep the size of their pictures.
    LRESULT OnSetFontMsg(WPARAM wParam, LPARAM lParam);
    const MsgMap* GetMessageMap() const override;

private:
    // The command's prompt, or the idle text for 0, shown by the parent frame.
    void ShowPrompt(UINT id);
    void ApplyScale();
    // The pictures for the toolbar's scale, in an image list of the system's button colours.
    bool MakeImages();
    DWORD m_dwBarStyle = 0;
    std::vector<UINT> m_art;  // the bitmaps of the pictures, each drawn at another size
    SIZE m_designSize{16, 15};  // a picture's, at 96 DPI
    int m_imageCount = 0;
    CImageList m_images;
    bool m_bTracking = false;    // a WM_MOUSELEAVE is asked for
};

class CStatusBar : public CWnd {
public:
    BOOL Create(CWnd* parent, DWORD style, UINT id);
    // One pane per id: ID_SEPARATOR stretches, an indicator's width fits its string.
    BOOL SetIndicators(const UINT* ids, int count);
    BOOL SetPaneText(int index, LPCSTR text);
    std::string GetPaneText(int index) const;
    // Places the bar at its parent's bottom, spreads its panes over this width, returns its height.
    int Layout(int width);
    // Shows an indicator's text while its key is on, nothing otherwise.
    void UpdateIndicators();

protected:
    // A new font: the indicators measured again in it.
    LRESULT OnSetFontMsg(WPARAM wParam, LPARAM lParam);
    const MsgMap* GetMessageMap() const override;

private:
    // Each indicator as wide as its text in the font the bar draws it in, with a margin.
    void MeasureIndicators();
    void SetParts(int width);
    UINT m_ids[8] = {};
    int m_widths[8] = {};
    int m_count = 0;
};
