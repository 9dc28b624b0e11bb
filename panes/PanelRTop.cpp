#include "panes/PanelRTop.h"

#include <iterator>

#include "frame/Design.h"

#include "platform/os/SystemFiles.h"
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
    SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    ModifyStyle(0, LVS_REPORT);
    for (int i = 0; i < static_cast<int>(std::size(kPropertyColumns)); ++i)
        InsertColumn(i, kPropertyColumns[i].heading, kPropertyColumns[i].width);
    MakeImageList();
    return 0;
}

void CPanelRTop::MakeImageList() {
    m_imageList.Create(16, 16, ILC_COLOR8 | ILC_MASK, 10, 10, GetDpi());
    for (int index : kPropertyIcons) m_imageList.AddFileIcon(SystemFilePath(L"shell32.dll"), index);
    SetImageList(m_imageList.m_hImageList, LVSIL_SMALL);
}

void CPanelRTop::OnDpiChanged(UINT oldDpi, UINT newDpi) {
    CListView::OnDpiChanged(oldDpi, newDpi);
    MakeImageList();
}

void AppendPropertyRow(CListView* list, LPCSTR value, LPCSTR label) {
    int row = list->InsertItem(list->GetItemCount(), label, 0);
    if (row >= 0) list->SetItemText(row, 1, value);
}

void UpdatePropertyRow(CListView* list, LPCSTR value, LPCSTR label) {
    for (int row = 0; row < list->GetItemCount(); ++row) {
        if (LabelsEqual(list->GetItemText(row, 0).c_str(), label)) {
            list->SetItemText(row, 1, value);
            return;
        }
    }
}
