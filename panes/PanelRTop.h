// The properties pane: label/value rows written by the other panes.
#pragma once
#include "platform/win/ImageList.h"
#include "platform/win/View.h"

class CPanelRTop : public CListView {
public:
    static const CRuntimeClass classInfo;
    const CRuntimeClass* GetRuntimeClass() const override { return &classInfo; }

    CImageList m_imageList;

    // The columns in proportion, the image list made again at the new size.
    void OnDpiChanged(UINT oldDpi, UINT newDpi) override;

protected:
    int OnCreate(LPCREATESTRUCTA cs);
    const MsgMap* GetMessageMap() const override;

private:
    // Makes the image list at the pane's scale and gives it to the list.
    void MakeImageList();
};

// Appends a row at the end of the list: label in column 0, value in column 1.
void AppendPropertyRow(CListView* list, LPCSTR value, LPCSTR label);
// Sets the value of the first row carrying this label (ASCII case folded); no such row, no change.
void UpdatePropertyRow(CListView* list, LPCSTR value, LPCSTR label);
