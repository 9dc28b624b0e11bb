#include "panes/PanelRight.h"

#include <psapi.h>
#include <shlwapi.h>

#include <iterator>

#include "frame/Design.h"
#include "frame/OurFrame.h"
#include "panes/PanelLeft.h"
#include "panes/PanelRTop.h"
#include "panes/ReportList.h"
#include "platform/proc/Handles.h"
#include "platform/proc/ProcessInfo.h"
#include "platform/proc/Toolhelp.h"
#include "platform/os/VersionResource.h"
#include "platform/text/AnsiText.h"
#include "platform/text/Format.h"
#include "platform/seams/Seams.h"

const CRuntimeClass CPanelRight::classInfo = {"CPanelRight", &CreateWndObject<CPanelRight>,
                                              &CListView::classInfo};

namespace {
const int kMaxFallbackModules = 1024;
const std::wstring kNoPath;
// The version strings shown, in this order, each labelled with its own key.
const char* const kVersionKeys[] = {"ProductName", "CompanyName", "FileDescription",
                                    "FileVersion", "ProductVersion", "LegalCopyright"};
}  // namespace

const MsgMap* CPanelRight::GetMessageMap() const {
    using ThisClass = CPanelRight;
    static const MsgMapEntry entries[] = {
        ON_WM_CREATE(),
        ON_NOTIFY_REFLECT(NM_DBLCLK, OnDblclk),
        ON_NOTIFY_REFLECT(LVN_ITEMCHANGED, OnItemchanged),
    };
    MESSAGE_MAP(CListView::GetMessageMap(), entries);
}

int CPanelRight::OnCreate(LPCREATESTRUCTA cs) {
    if (CListView::OnCreate(cs) == -1) return -1;
    SetUpReportList(*this, kModuleColumns, std::size(kModuleColumns));
    MakeImageList();
    return 0;
}

void CPanelRight::MakeImageList() { MakeStockImageList(*this, m_imageList, kModuleIcons, std::size(kModuleIcons)); }

void CPanelRight::OnDpiChanged(UINT oldDpi, UINT newDpi) {
    CListView::OnDpiChanged(oldDpi, newDpi);
    MakeImageList();
}

const std::wstring& CPanelRight::ModulePath(int row) const {
    if (row < 0 || static_cast<size_t>(row) >= m_modulePaths.size()) return kNoPath;
    return m_modulePaths[static_cast<size_t>(row)];
}

void CPanelRight::ShowModules(DWORD processId) {
    // The list paints once, when it is full: a repaint per row costs more than the rows.
    CRedrawSuspended quiet(*this);
    DeleteAllItems();
    m_modulePaths.clear();
    if (processId == 0) return;

    ScopedHandle snapshot(CreateModuleSnapshot(processId));
    if (snapshot.IsValid()) {
        int number = 0;
        for (const std::wstring& path : SnapshotModulePaths(snapshot.Get())) AddModuleRow(number++, path);
        return;
    }

    // No snapshot: ask the process-status services instead.
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!::GetVersionExA(&version) || version.dwPlatformId != VER_PLATFORM_WIN32_NT) return;
    ScopedHandle process(g_seams.openProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process.IsValid()) return;
    int number = 0;
    for (const std::wstring& path : ListProcessModules(process.Get(), kMaxFallbackModules))
        AddModuleRow(number++, path);
}

void CPanelRight::AddModuleRow(int number, const std::wstring& path) {
    // A module whose path can't be read is shown as "unknown", a text and no file: its row has
    // no size, no version and no Properties.
    std::string name = path.empty() ? "unknown" : AnsiText(::PathFindFileNameW(path.c_str()));
    // The row goes where the program's own list says, and keeps its path only where the control
    // put it there: a control that kept rows it was told to delete answers other indexes.
    const int row = static_cast<int>(m_modulePaths.size());
    m_modulePaths.push_back(path);
    int inserted = InsertItem(row, name.c_str(), number == 0 ? 0 : 1);
    if (inserted != row) {
        m_modulePaths.pop_back();
        if (inserted >= 0) DeleteItem(inserted);
        return;
    }
    if (path.empty()) return;

    ScopedHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (file.IsValid() && ::GetFileSizeEx(file.Get(), &size))
        SetItemText(row, 2, FormatKilobytes(static_cast<uint64_t>(size.QuadPart)).c_str());
    file.Close();

    std::wstring directory(path);
    ::PathRemoveFileSpecW(&directory[0]);
    SetItemText(row, 1, AnsiText(directory.c_str()).c_str());
}

void CPanelRight::OnDblclk(NMHDR*, LRESULT* result) {
    *result = 0;
    // The row with the selection mark, not the one under the pointer.
    int mark = GetSelectionMark();
    if (mark < 0) return;
    const std::wstring& path = ModulePath(mark);
    if (path.empty()) return;
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS;
    info.hwnd = m_hWnd;
    info.lpVerb = L"properties";
    info.lpFile = path.c_str();
    info.nShow = SW_HIDE;
    g_seams.shellExecuteEx(&info);
    if (info.hProcess) ::CloseHandle(info.hProcess);
}

void CPanelRight::OnItemchanged(NMHDR* nmh, LRESULT* result) {
    // Any change of state that leaves a row focused rebuilds, also a selection change of the same
    // row. A change of a row's text carries no state to read.
    auto* change = reinterpret_cast<NMLISTVIEW*>(nmh);
    if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_FOCUSED)) ShowVersionInfo(change->iItem);
    *result = 0;
}

void CPanelRight::ShowVersionInfo(int row) {
    auto* frame = static_cast<COurFrame*>(AfxGetMainWnd());
    // Stopped before anything can fail: a tick would write process rows over the module's.
    frame->m_pPanelLeft->KillTimer(DETAIL_TIMER_ID);
    frame->m_pPanelRTop->DeleteAllItems();

    VersionResource resource;
    WORD language = 0, codePage = 0;
    if (!resource.Read(ModulePath(row)) || !resource.FirstTranslation(&language, &codePage)) return;
    std::string prefix = VersionTablePrefix(language, codePage);
    for (const char* key : kVersionKeys) AddVersionRow(prefix.c_str(), key, key, resource);
}

void CPanelRight::AddVersionRow(LPCSTR prefix, LPCSTR key, LPCSTR label, const VersionResource& resource) {
    std::string query = std::string(prefix) + key;  // both ASCII
    std::wstring value;
    if (!resource.String(std::wstring(query.begin(), query.end()), &value)) return;
    AppendPropertyRow(static_cast<COurFrame*>(AfxGetMainWnd())->m_pPanelRTop, AnsiText(value).c_str(), label);
}
