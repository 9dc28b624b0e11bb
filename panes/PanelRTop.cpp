#include "panes/PanelRTop.h"

#include <shellapi.h>

#include <vector>

#include "platform/proc/Handles.h"
#include "platform/text/Format.h"

const CRuntimeClass CPanelRTop::classInfo = {"CPanelRTop", &CreateWndObject<CPanelRTop>,
                                             &CListView::classInfo};

const MsgMap* CPanelRTop::GetMessageMap() const {
    using ThisClass = CPanelRTop;
    static const MsgMapEntry entries[] = {
        ON_WM_CREATE(),
    };
    MESSAGE_MAP(CListView::GetMessageMap(), entries);
}

int CPanelRTop::OnCreate(LPCREATESTRUCTA cs) {
    if (CListView::OnCreate(cs) == -1) return -1;
    SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    ModifyStyle(0, LVS_REPORT);
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = 100;
    column.pszText = const_cast<char*>("参数名称");
    SendMessage(LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    column.cx = 280;
    column.pszText = const_cast<char*>("参数值");
    column.iSubItem = 1;
    SendMessage(LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
    m_imageList.Create(16, 16, ILC_COLOR8 | ILC_MASK, 10, 10);
    ScopedIcon icon;
    ::ExtractIconExA("shell32.dll", 55, nullptr, icon.Out(), 1);
    m_imageList.Add(icon.Get());
    SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_imageList.m_hImageList));
    return 0;
}

void AppendPropertyRow(CWnd* list, LPCSTR value, LPCSTR label) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = static_cast<int>(list->SendMessage(LVM_GETITEMCOUNT));
    item.pszText = const_cast<char*>(label);
    item.iImage = 0;
    int index = static_cast<int>(list->SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (index < 0) return;
    LVITEMA cell{};
    cell.iSubItem = 1;
    cell.pszText = const_cast<char*>(value);
    list->SendMessage(LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&cell));
}

namespace {
// The whole text of a cell, however long: the buffer grows until the text fits.
std::string CellText(CWnd* list, int row, int column) {
    std::vector<char> buffer(256);
    for (;;) {
        LVITEMA cell{};
        cell.iSubItem = column;
        cell.pszText = buffer.data();
        cell.cchTextMax = static_cast<int>(buffer.size());
        int length = static_cast<int>(
            list->SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell)));
        if (length < static_cast<int>(buffer.size()) - 1) return std::string(cell.pszText, length);
        buffer.resize(buffer.size() * 2);
    }
}
}  // namespace

void UpdatePropertyRow(CWnd* list, LPCSTR value, LPCSTR label) {
    for (int i = 0; i < static_cast<int>(list->SendMessage(LVM_GETITEMCOUNT)); ++i) {
        if (!LabelsEqual(CellText(list, i, 0).c_str(), label)) continue;
        LVITEMA cell{};
        cell.iSubItem = 1;
        cell.pszText = const_cast<char*>(value);
        list->SendMessage(LVM_SETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&cell));
        return;
    }
}
