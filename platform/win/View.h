// Panes: a view is the control itself, subclassed, so its notifications come back to it.
#pragma once
#include <functional>
#include <string>

#include "Wnd.h"

class CFrameWnd;

// A control's text read into a buffer that grows until the text fits. `read` fills a buffer of
// `size` bytes and returns where the text is: the buffer, the control's own copy (which the
// documentation allows), or null when there is no such text. The controls' answers are not used
// for the length: Windows counts characters where Wine counts bytes, and a GBK character is two
// bytes; only the terminating zero tells where the text ends.
std::string ReadGrowingText(const std::function<const char*(char* buffer, int size)>& read);

// The style every pane is created with.
const DWORD AFX_WS_DEFAULT_VIEW = WS_CHILD | WS_VISIBLE | WS_BORDER;

class CView : public CWnd {
public:
    static const CRuntimeClass classInfo;
    virtual const CRuntimeClass* GetRuntimeClass() const { return &classInfo; }

    BOOL Create(HWND parent, UINT id, const RECT& rect);
    CFrameWnd* GetParentFrame() const;

protected:
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

    // The control's messages, one each. Items carry their text, one image for both states, and data.
    HTREEITEM InsertItem(LPCSTR text, int image, LPARAM data, HTREEITEM parent = TVI_ROOT,
                         HTREEITEM after = TVI_LAST) {
        TVINSERTSTRUCTA insert{};
        insert.hParent = parent;
        insert.hInsertAfter = after;
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
        insert.item.pszText = const_cast<LPSTR>(text);
        insert.item.iImage = insert.item.iSelectedImage = image;
        insert.item.lParam = data;
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    BOOL DeleteItem(HTREEITEM item) { return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item))); }
    BOOL DeleteAllItems() { return DeleteItem(TVI_ROOT); }
    BOOL Expand(HTREEITEM item, UINT code) { return static_cast<BOOL>(SendMessage(TVM_EXPAND, code, reinterpret_cast<LPARAM>(item))); }
    // Null selects nothing.
    BOOL SelectItem(HTREEITEM item) { return static_cast<BOOL>(SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item))); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    HTREEITEM GetPrevSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PREVIOUS); }
    HTREEITEM GetNextItem(HTREEITEM item, UINT relation) const {
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
    }
    // Reads what the mask names into item (hItem set by the caller); TRUE on success.
    BOOL GetItem(TVITEMA* item) const { return static_cast<BOOL>(SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(item))); }
    // The whole text of an item, however long; "" for an item that does not exist.
    std::string GetItemText(HTREEITEM item) const;
    LPARAM GetItemData(HTREEITEM item) const;
    void SetImageList(HIMAGELIST images, int which) {
        SendMessage(TVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(images));
    }

protected:
    void OnDestroy();
    const MsgMap* GetMessageMap() const override;
    LPCSTR ControlClass() const override { return WC_TREEVIEWA; }
};

class CListView : public CView {
public:
    static const CRuntimeClass classInfo;
    const CRuntimeClass* GetRuntimeClass() const override { return &classInfo; }

    // The control's messages, one each. A column's width is given at 96 DPI.
    int InsertColumn(int column, LPCSTR heading, int width) {
        LVCOLUMNA col{};
        col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        col.fmt = LVCFMT_LEFT;
        col.cx = Scaled(width);
        col.pszText = const_cast<LPSTR>(heading);
        col.iSubItem = column;
        return static_cast<int>(SendMessage(LVM_INSERTCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&col)));
    }
    DWORD SetExtendedStyle(DWORD style) { return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style)); }
    void SetImageList(HIMAGELIST images, int which) {
        SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(images));
    }
    // The new row's index, or -1.
    int InsertItem(int row, LPCSTR text, int image) {
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = row;
        item.pszText = const_cast<LPSTR>(text);
        item.iImage = image;
        return static_cast<int>(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    }
    BOOL SetItemText(int row, int column, LPCSTR text) {
        LVITEMA cell{};
        cell.iSubItem = column;
        cell.pszText = const_cast<LPSTR>(text);
        return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell)));
    }
    // The whole text of a cell, however long.
    std::string GetItemText(int row, int column) const;
    BOOL SetItemState(int row, UINT state, UINT mask) {
        LVITEMA item{};
        item.state = state;
        item.stateMask = mask;
        return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
    }
    BOOL DeleteAllItems() { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
    BOOL DeleteItem(int row) { return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(row))); }
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    int GetSelectionMark() const { return static_cast<int>(SendMessage(LVM_GETSELECTIONMARK)); }
    BOOL EnsureVisible(int row) { return static_cast<BOOL>(SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE)); }

    // The columns' widths, as the user left them, kept in proportion.
    void OnDpiChanged(UINT oldDpi, UINT newDpi) override;

protected:
    void OnDestroy();
    // LVM_DELETEALLITEMS, from whichever writer: the rows that come next start at the top.
    LRESULT OnDeleteAllItemsMsg(WPARAM wParam, LPARAM lParam);
    void OnDeleteAllItems(NMHDR* nmh, LRESULT* result);
    const MsgMap* GetMessageMap() const override;
    LPCSTR ControlClass() const override { return WC_LISTVIEWA; }
};
