#include "panes/PanelRTop.h"

#include <iterator>

#include "frame/Design.h"
#include "panes/ReportList.h"

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
    SetUpReportList(*this, kPropertyColumns, std::size(kPropertyColumns));
    MakeImageList();
    return 0;
}

void CPanelRTop::MakeImageList() { MakeStockImageList(*this, m_imageList, kPropertyIcons, std::size(kPropertyIcons)); }

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
