// Panes: a view is the control itself, subclassed, so its notifications come back to it.
#pragma once
#include "Wnd.h"

class CFrameWnd;

// The style every pane is created with.
const DWORD AFX_WS_DEFAULT_VIEW = WS_CHILD | WS_VISIBLE | WS_BORDER;

class CView : public CWnd {
public:
    static const CRuntimeClass classInfo;
    virtual const CRuntimeClass* GetRuntimeClass() const { return &classInfo; }

    BOOL Create(HWND parent, UINT id, const RECT& rect);
    CFrameWnd* GetParentFrame() const;

protected:
    // The control paints itself; a pane has nothing to add.
    virtual void OnDraw(HDC) {}
    LRESULT OnFocusMsg(WPARAM wParam, LPARAM lParam);
    int OnCreate(LPCREATESTRUCTA cs);
    void OnDestroy();
    void OnNextPaneCmd(UINT id);
    void PostNcDestroy() override { delete this; }
    const MsgMap* GetMessageMap() const override;
    // The control's window class.
    virtual LPCSTR ControlClass() const = 0;
};

// The image lists a pane gives its control stay the pane's: each view takes them back from
// the control before the control is destroyed, so that each is destroyed once, by its owner.
class CTreeView : public CView {
public:
    static const CRuntimeClass classInfo;
    const CRuntimeClass* GetRuntimeClass() const override { return &classInfo; }

protected:
    void OnDestroy();
    const MsgMap* GetMessageMap() const override;
    LPCSTR ControlClass() const override { return WC_TREEVIEWA; }
};

class CListView : public CView {
public:
    static const CRuntimeClass classInfo;
    const CRuntimeClass* GetRuntimeClass() const override { return &classInfo; }

protected:
    void OnDestroy();
    // LVM_DELETEALLITEMS, from whichever writer: the rows that come next start at the top.
    LRESULT OnDeleteAllItemsMsg(WPARAM wParam, LPARAM lParam);
    void OnDeleteAllItems(NMHDR* nmh, LRESULT* result);
    const MsgMap* GetMessageMap() const override;
    LPCSTR ControlClass() const override { return WC_LISTVIEWA; }
};
