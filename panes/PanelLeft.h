// The process tree pane: every process under one root item, and the details of the selected one.
#pragma once
#include <string>
#include <vector>

#include "platform/win/ImageList.h"
#include "platform/win/View.h"

// What each process item carries; the root item carries none (item data 0).
struct ProcessItemData {
    DWORD processId;
    DWORD parentProcessId;
    // When the process was created, as read at the fill; zero when it couldn't be read. The system
    // gives an ended process's id to new processes: the id alone doesn't name the listed one.
    FILETIME created;
};

const UINT_PTR DETAIL_TIMER_ID = 200;

class CPanelLeft : public CTreeView {
public:
    static const CRuntimeClass classInfo;
    const CRuntimeClass* GetRuntimeClass() const override { return &classInfo; }

    DWORD m_dwProcessId = 0;
    HTREEITEM m_hRootItem = nullptr;
    CImageList m_imageList;
    // The creation time of the process on show, from its item: each tick checks it is still that one.
    FILETIME m_ftProcessCreated{};

    // Rebuilds the tree from a new process snapshot.
    void FillProcessTree();
    // The small icon of the process's executable, or null; the caller owns it.
    HICON GetProcessIcon(DWORD processId);
    void RefreshProcessList();
    // The full path of the process's executable, or "" when its modules can't be read.
    static std::wstring ExecutablePath(DWORD processId);
    // Ends the selected process once the user has confirmed it.
    void StopSelectedProcess();
    // The image list made again at the new size.
    void OnDpiChanged(UINT oldDpi, UINT newDpi) override;

protected:
    int OnCreate(LPCREATESTRUCTA cs);
    void OnDestroy();
    void OnSelchanged(NMHDR* nmh, LRESULT* result);
    void OnDeleteItem(NMHDR* nmh, LRESULT* result);
    void OnTimer(UINT_PTR id);
    void RefreshDetails();
    const MsgMap* GetMessageMap() const override;

private:
    // Makes the image list at the pane's scale with its two stock images, and gives it to the tree.
    void MakeImageList();
    // The executable each process image was extracted from, image 2 first: the pictures are
    // extracted again when the scale changes.
    std::vector<std::wstring> m_imagePaths;
};
