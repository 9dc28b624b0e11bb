// The module list pane: the modules of one process with directory and size.
#pragma once
#include <string>
#include <vector>

#include "platform/os/VersionResource.h"
#include "platform/win/ImageList.h"
#include "platform/win/View.h"

class CPanelRight : public CListView {
public:
    static const CRuntimeClass classInfo;
    const CRuntimeClass* GetRuntimeClass() const override { return &classInfo; }

    CImageList m_imageList;

    // Replaces the list with the modules of this process (none for id 0).
    void ShowModules(DWORD processId);
    // The columns in proportion, the image list made again at the new size.
    void OnDpiChanged(UINT oldDpi, UINT newDpi) override;
    // The full path of a row's module as the system gave it; "" for a row that does not exist or
    // whose path could not be read.
    const std::wstring& ModulePath(int row) const;

protected:
    int OnCreate(LPCREATESTRUCTA cs);
    void OnDblclk(NMHDR* nmh, LRESULT* result);
    void OnItemchanged(NMHDR* nmh, LRESULT* result);
    // Stops the detail refresh and fills the properties pane with the row's version strings.
    void ShowVersionInfo(int row);
    // Appends one string of the version block's table, labelled, when the table has it.
    void AddVersionRow(LPCSTR prefix, LPCSTR key, LPCSTR label, const VersionResource& resource);
    const MsgMap* GetMessageMap() const override;

private:
    // Makes the image list at the pane's scale and gives it to the list.
    void MakeImageList();
    void AddModuleRow(int number, const std::wstring& path);
    // Each row's full path, kept so the file acted on is always the listed one, however long and
    // whatever characters it holds: the rows show it in the ANSI code page, which may lack some.
    std::vector<std::wstring> m_modulePaths;
};
