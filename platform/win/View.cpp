#include "View.h"

#include <cstring>
#include <vector>

#include "FrameWnd.h"
#include "SplitterWnd.h"

const CRuntimeClass CView::classInfo = {"CView", nullptr, nullptr};
const CRuntimeClass CTreeView::classInfo = {"CTreeView", nullptr, &CView::classInfo};
const CRuntimeClass CListView::classInfo = {"CListView", nullptr, &CView::classInfo};

std::string ReadGrowingText(const std::function<const char*(char* buffer, int size)>& read) {
    const size_t kLongest = 1 << 20;
    std::vector<char> buffer(256);
    for (;;) {
        buffer[0] = '\0';
        const char* text = read(buffer.data(), static_cast<int>(buffer.size()));
        if (!text) return std::string();
        if (text != buffer.data()) return text;  // the control's own copy, whole
        size_t length = strnlen(text, buffer.size());
        // A text cut to fit may end one byte short of the buffer, where a double-byte character
        // did not fit whole.
        if (length + 2 < buffer.size() || buffer.size() >= kLongest) return std::string(text, length);
        buffer.assign(buffer.size() * 2, '\0');
    }
}

const MsgMap* CView::GetMessageMap() const {
    using ThisClass = CView;
    static const MsgMapEntry entries[] = {
        ON_MESSAGE(WM_SETFOCUS, OnFocusMsg),
        ON_WM_CREATE(),
        ON_WM_DESTROY(),
        ON_COMMAND_ID(ID_NEXT_PANE, OnNextPaneCmd),
        ON_COMMAND_ID(ID_PREV_PANE, OnNextPaneCmd),
    };
    MESSAGE_MAP(nullptr, entries);
}

BOOL CView::Create(HWND parent, UINT id, const RECT& rect) {
    return CreateEx(0, ControlClass(), nullptr, AFX_WS_DEFAULT_VIEW, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, parent,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

CFrameWnd* CView::GetParentFrame() const {
    for (HWND h = ::GetParent(m_hWnd); h; h = ::GetParent(h)) {
        if (auto* frame = dynamic_cast<CFrameWnd*>(FromHandlePermanent(h))) return frame;
    }
    return nullptr;
}

LRESULT CView::OnFocusMsg(WPARAM, LPARAM) {
    // The pane with the focus is the one commands go to first.
    if (CFrameWnd* frame = GetParentFrame()) frame->SetActiveView(this, FALSE);
    return Default();
}

int CView::OnCreate(LPCREATESTRUCTA) {
    // The control builds itself first; a pane adds to it afterwards.
    return static_cast<int>(Default());
}

void CView::OnDestroy() {
    if (CFrameWnd* frame = GetParentFrame()) frame->OnViewDestroyed(this);
    Default();
}

void CView::OnNextPaneCmd(UINT id) {
    if (auto* splitter = dynamic_cast<CSplitterWnd*>(GetParent()))
        splitter->ActivateNext(this, id == ID_PREV_PANE);
}

const MsgMap* CTreeView::GetMessageMap() const {
    using ThisClass = CTreeView;
    static const MsgMapEntry entries[] = {
        ON_WM_DESTROY(),
    };
    MESSAGE_MAP(CView::GetMessageMap(), entries);
}

void CTreeView::OnDestroy() {
    SetImageList(nullptr, TVSIL_NORMAL);
    SetImageList(nullptr, TVSIL_STATE);
    CView::OnDestroy();
}

std::string CTreeView::GetItemText(HTREEITEM item) const {
    return ReadGrowingText([&](char* buffer, int size) {
        TVITEMA tv{};
        tv.mask = TVIF_TEXT;
        tv.hItem = item;
        tv.pszText = buffer;
        tv.cchTextMax = size;
        return GetItem(&tv) ? tv.pszText : nullptr;
    });
}

LPARAM CTreeView::GetItemData(HTREEITEM item) const {
    TVITEMA tv{};
    tv.mask = TVIF_PARAM;
    tv.hItem = item;
    return GetItem(&tv) ? tv.lParam : 0;
}

const MsgMap* CListView::GetMessageMap() const {
    using ThisClass = CListView;
    static const MsgMapEntry entries[] = {
        ON_WM_DESTROY(),
        ON_MESSAGE(LVM_DELETEALLITEMS, OnDeleteAllItemsMsg),
        ON_NOTIFY_REFLECT(LVN_DELETEALLITEMS, OnDeleteAllItems),
    };
    MESSAGE_MAP(CView::GetMessageMap(), entries);
}

void CListView::OnDestroy() {
    // Without LVS_SHAREIMAGELISTS the control destroys the lists it holds when it goes.
    SetImageList(nullptr, LVSIL_NORMAL);
    SetImageList(nullptr, LVSIL_SMALL);
    SetImageList(nullptr, LVSIL_STATE);
    CView::OnDestroy();
}

std::string CListView::GetItemText(int row, int column) const {
    return ReadGrowingText([&](char* buffer, int size) {
        LVITEMA cell{};
        cell.iSubItem = column;
        cell.pszText = buffer;
        cell.cchTextMax = size;
        SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
        return cell.pszText;
    });
}

void CListView::OnDpiChanged(UINT oldDpi, UINT newDpi) {
    HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    int columns = header ? static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    for (int i = 0; i < columns; ++i) {
        int width = static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i)));
        SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i),
                    MAKELPARAM(::MulDiv(width, static_cast<int>(newDpi), static_cast<int>(oldDpi)), 0));
    }
}

LRESULT CListView::OnDeleteAllItemsMsg(WPARAM, LPARAM) {
    // The control keeps its scroll position across the deletion, and would show the next rows
    // scrolled as far as the old ones were: back to the first row while there is one.
    EnsureVisible(0);
    return Default();
}

void CListView::OnDeleteAllItems(NMHDR*, LRESULT* result) {
    // The panes' rows carry no data of their own: no notification per deleted row is needed.
    *result = TRUE;
}
