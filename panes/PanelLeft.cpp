#include "panes/PanelLeft.h"

#include <psapi.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <map>
#include <memory>
#include <string>

#include "frame/Design.h"
#include "frame/OurFrame.h"
#include "panes/PanelRTop.h"
#include "panes/PanelRight.h"
#include "platform/proc/Handles.h"
#include "platform/proc/ProcessInfo.h"
#include "platform/proc/Toolhelp.h"
#include "platform/os/SystemFiles.h"
#include "platform/text/AnsiText.h"
#include "platform/seams/Seams.h"
#include "platform/text/Format.h"
#include "app/StartupTrace.h"

const CRuntimeClass CPanelLeft::classInfo = {"CPanelLeft", &CreateWndObject<CPanelLeft>,
                                             &CTreeView::classInfo};

namespace {

const DWORD kQueryAccess = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;
const int kStockImages = 2;  // image 0: the root; image 1: a process without an icon of its own

// What one look at a process gives: each part only where its query succeeded.
struct ProcessLook {
    bool memoryRead = false;
    PROCESS_MEMORY_COUNTERS memory{};
    FILETIME created{};  // zero when it could not be read
    bool parentRead = false;
    std::wstring parentPath;  // "" when the parent's path could not be read
};

// The detail rows in the order a selection appends them: the label, the value when the look has
// one, and whether each tick rewrites it. A selection and a tick both write from this table.
struct DetailRow {
    const char* label;
    bool (*value)(const ProcessLook& look, std::string* text);
    bool refreshed;
};

const DetailRow kDetailRows[] = {
    {"当前使用内存",
     [](const ProcessLook& look, std::string* text) {
         if (look.memoryRead) *text = FormatKilobytes(look.memory.WorkingSetSize);
         return look.memoryRead;
     },
     true},
    {"峰值使用内存",
     [](const ProcessLook& look, std::string* text) {
         if (look.memoryRead) *text = FormatKilobytes(look.memory.PeakWorkingSetSize);
         return look.memoryRead;
     },
     true},
    {"进程启动时间",
     [](const ProcessLook& look, std::string* text) {
         if (IsKnownTime(look.created)) *text = FormatStartTime(look.created);
         return IsKnownTime(look.created);
     },
     true},
    {"父进程",
     [](const ProcessLook& look, std::string* text) {
         if (look.parentRead) *text = look.parentPath.empty() ? "unknown" : AnsiText(look.parentPath);
         return look.parentRead;
     },
     false},
};

// Looks at the listed process (none when the id now belongs to another) and, when asked, at its
// parent.
ProcessLook LookAt(const ProcessItemData& item, bool withParent) {
    ProcessLook look;
    ScopedHandle process(OpenRunningProcess(kQueryAccess, item.processId, item.created, &look.created));
    look.memoryRead = ::GetProcessMemoryInfo(process.Get(), &look.memory, sizeof(look.memory)) != FALSE;
    process.Close();
    if (!withParent || item.parentProcessId == 0) return look;

    ScopedHandle parent(g_seams.openProcess(kQueryAccess, FALSE, item.parentProcessId));
    // A process created after this one can't be its parent: the id has been given again. The
    // fill read this one's creation time with the least rights there are, which are granted
    // where a full query (another user's process) is refused.
    const FILETIME& child = IsKnownTime(item.created) ? item.created : look.created;
    FILETIME parentCreated{};
    if (IsKnownTime(child) && GetCreationTime(parent.Get(), &parentCreated) &&
        ::CompareFileTime(&parentCreated, &child) > 0)
        return look;
    HMODULE executable = nullptr;
    DWORD needed = 0;
    if (::EnumProcessModulesEx(parent.Get(), &executable, sizeof(executable), &needed, LIST_MODULES_ALL)) {
        look.parentRead = true;
        look.parentPath = ModuleFilePath(parent.Get(), executable);
    }
    return look;
}

}  // namespace

const MsgMap* CPanelLeft::GetMessageMap() const {
    using ThisClass = CPanelLeft;
    static const MsgMapEntry entries[] = {
        ON_WM_CREATE(),
        ON_WM_DESTROY(),
        ON_NOTIFY_REFLECT(TVN_SELCHANGEDA, OnSelchanged),
        ON_NOTIFY_REFLECT(TVN_DELETEITEMA, OnDeleteItem),
        ON_WM_TIMER(),
    };
    MESSAGE_MAP(CTreeView::GetMessageMap(), entries);
}

int CPanelLeft::OnCreate(LPCREATESTRUCTA cs) {
    StartupMark("tree window");
    if (CTreeView::OnCreate(cs) == -1) return -1;
    MakeImageList();
    ModifyStyle(0, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, 0);
    StartupMark("tree stock icons");
    FillProcessTree();
    StartupMark("fill");
    return 0;
}

void CPanelLeft::MakeImageList() {
    m_imageList.Create(16, 16, ILC_COLOR32 | ILC_MASK, 10, 10, GetDpi());
    SetImageList(m_imageList.m_hImageList, TVSIL_NORMAL);
    m_imageList.AddStockIcon(WindowsFilePath(L"explorer.exe"), DESIGN_ROOT_ICON);
    m_imageList.AddStockIcon(SystemFilePath(L"shell32.dll"), DESIGN_PROCESS_ICON);
}

void CPanelLeft::OnDpiChanged(UINT, UINT) {
    // The same pictures at the new size, each at its index, so that every item keeps its own.
    HIMAGELIST previous = m_imageList.Detach();
    MakeImageList();
    for (size_t i = 0; i < m_imagePaths.size(); ++i) {
        if (m_imageList.AddFileIcon(m_imagePaths[i], 0) >= 0) continue;
        // The file is no longer there: the old picture, drawn at the new size.
        ScopedIcon old(ImageList_GetIcon(previous, kStockImages + static_cast<int>(i), ILD_NORMAL));
        if (m_imageList.Add(old.Get()) < 0) m_imageList.Add(::LoadIcon(nullptr, IDI_APPLICATION));
    }
    ImageList_Destroy(previous);
}

void CPanelLeft::OnDestroy() {
    CTreeView::OnDestroy();
    m_imageList.DeleteImageList();
}

void CPanelLeft::OnDeleteItem(NMHDR* nmh, LRESULT* result) {
    // Each process item owns its record; it goes with the item, by refill or by the stop command.
    auto* tv = reinterpret_cast<NMTREEVIEWA*>(nmh);
    if (tv->itemOld.lParam) ::GlobalFree(reinterpret_cast<HGLOBAL>(tv->itemOld.lParam));
    *result = 0;
}

HICON CPanelLeft::GetProcessIcon(DWORD processId) { return m_imageList.ExtractIcon(ExecutablePath(processId), 0); }

std::wstring CPanelLeft::ExecutablePath(DWORD processId) {
    ScopedHandle snapshot(CreateModuleSnapshot(processId));
    return snapshot.IsValid() ? SnapshotExecutablePath(snapshot.Get()) : std::wstring();
}

namespace {

// A record on its way into the tree: freed unless an item took it.
struct RecordFree {
    void operator()(ProcessItemData* record) const { ::GlobalFree(record); }
};
using PendingRecord = std::unique_ptr<ProcessItemData, RecordFree>;

}  // namespace

void CPanelLeft::FillProcessTree() {
    // One repaint for the whole fill, not one per item.
    CRedrawSuspended quiet(*this);
    // Native controls delete the items one by one and move a selection off each deleted item, with
    // a selection change each time: the details of processes being deleted would be filled and the
    // detail timer started again. With no selection there is none to move.
    SelectItem(nullptr);
    // The new root before the old items go, so that a control that refuses either leaves one
    // root: the old tree stays as it was, with its records and pictures.
    HTREEITEM root = InsertItem("进程列表", 0, 0);
    if (!root) return;
    for (HTREEITEM top = GetNextItem(nullptr, TVGN_ROOT), next; top; top = next) {
        next = GetNextSiblingItem(top);
        if (top != root) DeleteItem(top);
    }
    // An old item left beside the new root: the old tree stays. Asked of the new root's neighbours,
    // not of the first root: a failed answer there (none) would delete the only root left.
    if (GetPrevSiblingItem(root) || GetNextSiblingItem(root)) {
        DeleteItem(root);
        return;
    }
    m_hRootItem = root;
    m_imageList.SetImageCount(kStockImages);
    m_imagePaths.clear();

    // Processes that run one executable share its extracted icon during a fill; each item still
    // gets an image of its own.
    std::map<std::wstring, ScopedIcon> icons;
    ScopedHandle snapshot(CreateProcessSnapshot());
    // Names as UTF-16: the ANSI entry holds 260 bytes, too few for a long Chinese name.
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    if (snapshot.IsValid() && ::Process32FirstW(snapshot.Get(), &entry)) {
        do {
            if (entry.th32ProcessID == 0) continue;  // the idle process is no process to show
            PendingRecord record(static_cast<ProcessItemData*>(::GlobalAlloc(GMEM_FIXED, sizeof(ProcessItemData))));
            if (!record) continue;
            record->processId = entry.th32ProcessID;
            record->parentProcessId = entry.th32ParentProcessID;
            record->created = ReadCreationTime(entry.th32ProcessID);
            entry.szExeFile[MAX_PATH - 1] = L'\0';
            const std::string name = AnsiText(entry.szExeFile);
            // An image is appended only for an item that will carry it, and only with its path.
            int image = 1;
            std::wstring path = ExecutablePath(entry.th32ProcessID);
            if (!path.empty()) {
                auto found = icons.find(path);
                if (found == icons.end()) found = icons.emplace(path, ScopedIcon(m_imageList.ExtractIcon(path, 0))).first;
                if (found->second.Get()) {
                    m_imagePaths.push_back(path);
                    int added = m_imageList.Add(found->second.Get());
                    if (added >= 0)
                        image = added;
                    else
                        m_imagePaths.pop_back();
                }
            }
            if (InsertItem(name.c_str(), image, reinterpret_cast<LPARAM>(record.get()), m_hRootItem)) {
                record.release();  // the item's now, freed when the item is deleted
            } else if (image >= kStockImages) {
                // No item: its image is the last one, so removing it moves no other item's image.
                m_imageList.Remove(image);
                m_imagePaths.pop_back();
            }
        } while (::Process32NextW(snapshot.Get(), &entry));
    }
    Expand(m_hRootItem, TVE_EXPAND);
}

void CPanelLeft::RefreshProcessList() {
    KillTimer(DETAIL_TIMER_ID);
    FillProcessTree();
}

void CPanelLeft::OnSelchanged(NMHDR* nmh, LRESULT* result) {
    auto* tv = reinterpret_cast<NMTREEVIEWA*>(nmh);
    auto* record = reinterpret_cast<const ProcessItemData*>(tv->itemNew.lParam);
    if (!record) return;  // the root, or no selection: everything stays as it is
    const ProcessItemData selected = *record;

    auto* frame = static_cast<COurFrame*>(AfxGetMainWnd());
    // A process that now holds the listed id is another program: none of its modules are shown.
    frame->m_pPanelRight->ShowModules(IsListedProcess(selected.processId, selected.created) ? selected.processId : 0);
    KillTimer(DETAIL_TIMER_ID);

    const ProcessLook look = LookAt(selected, true);
    CPanelRTop* list = frame->m_pPanelRTop;
    list->DeleteAllItems();
    for (const DetailRow& row : kDetailRows) {
        std::string text;
        if (row.value(look, &text)) AppendPropertyRow(list, text.c_str(), row.label);
    }
    m_dwProcessId = selected.processId;
    m_ftProcessCreated = selected.created;
    SetTimer(DETAIL_TIMER_ID, 1000);
    *result = 0;
}

void CPanelLeft::OnTimer(UINT_PTR id) {
    if (id == DETAIL_TIMER_ID) RefreshDetails();
    Default();
}

void CPanelLeft::RefreshDetails() {
    const ProcessLook look = LookAt(ProcessItemData{m_dwProcessId, 0, m_ftProcessCreated}, false);
    CPanelRTop* list = static_cast<COurFrame*>(AfxGetMainWnd())->m_pPanelRTop;
    for (const DetailRow& row : kDetailRows) {
        std::string text;
        if (row.refreshed && row.value(look, &text)) UpdatePropertyRow(list, text.c_str(), row.label);
    }
}

void CPanelLeft::StopSelectedProcess() {
    HTREEITEM selected = GetSelectedItem();
    if (!selected) return;
    auto* record = reinterpret_cast<const ProcessItemData*>(GetItemData(selected));
    if (!record || record->processId == 0) return;  // the root carries no process
    const std::string name = GetItemText(selected);
    const DWORD processId = record->processId;
    const FILETIME created = record->created;

    std::string question = std::string("是否要结束进程 ") + name + " ？";
    if (AfxMessageBox(question.c_str(), MB_OKCANCEL) != IDOK) return;

    // The id may have been given to another process since the fill, or the process may have
    // ended: only the listed process, still running, is ended. Where the fill could not read its
    // creation time, the executable's name is all that tells them apart.
    ScopedHandle process(OpenRunningProcess(PROCESS_ALL_ACCESS, processId, created));
    std::wstring image = process.IsValid() ? ProcessImagePath(process.Get()) : std::wstring();
    if (image.empty() || !LabelsEqual(AnsiText(::PathFindFileNameW(image.c_str())).c_str(), name.c_str())) {
        AfxMessageBox("不能打开进程", MB_OK);
        return;
    }
    // Exit code 1: anyone who reads it later must see that the process ended, not that it runs.
    if (g_seams.terminateProcess(process.Get(), 1))
        DeleteItem(selected);
    else
        AfxMessageBox("结束进程失败", MB_OK);
}
