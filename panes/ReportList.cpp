#include "panes/ReportList.h"

#include "platform/os/SystemFiles.h"

void SetUpReportList(CListView& list, const ColumnDesign* columns, size_t count) {
    list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    list.ModifyStyle(0, LVS_REPORT);
    for (size_t i = 0; i < count; ++i) list.InsertColumn(static_cast<int>(i), columns[i].heading, columns[i].width);
}

void MakeStockImageList(CListView& list, CImageList& images, const int* icons, size_t count) {
    images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 10, 10, list.GetDpi());
    for (size_t i = 0; i < count; ++i) images.AddStockIcon(SystemFilePath(L"shell32.dll"), icons[i]);
    list.SetImageList(images.m_hImageList, LVSIL_SMALL);
}
