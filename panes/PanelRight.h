// The module list pane: the modules of one process with directory and size.
#pragma once
#include <string>
#include <vector>

#include "platform/win/ImageList.h"
#include "platform/win/View.h"

class CPanelRight : public CListView {
public:
    static const CRuntimeClass classInfo;
    const CRuntimeClass* GetRuntimeClass() const override { return &classInfo; }

    CImageList m_imageList;

    // Replaces the list with the modules of this process (none for id 0).
    void ShowModules(DWORD processId);
    // The full path of a row's module, as listed; "" for a row that does not exist.
    const std::string& ModulePath(int row) const;

protected:
    int OnCreate(LPCREATESTRUCTA cs);
    void OnDblclk(NMHDR* nmh, LRESULT* result);
    void OnItemchanged(NMHDR* nmh, LRESULT* result);
    // Stops the detail refresh and fills the properties pane with the row's version strings.
    void ShowVersionInfo(int row);
    // Appends one string of the version block's table, labelled, when the table has it.
    void AddVersionRow(LPCSTR prefix, LPCSTR key, LPCSTR label, const void* block);
    const MsgMap* GetMessageMap() const override;

private:
    void AddModuleRow(int number, const char* path);
    // Each row's full path, kept so the file acted on is always the listed one, however long.
    std::vector<std::string> m_modulePaths;
};
