#include "panes/PanelRight.h"

#include <psapi.h>
#include <shlwapi.h>

#include "frame/OurFrame.h"
#include "panes/PanelLeft.h"
#include "panes/PanelRTop.h"
#include "platform/proc/Handles.h"
#include "platform/proc/ProcessInfo.h"
#include "platform/proc/Toolhelp.h"
#include "platform/text/Format.h"
#include "platform/win/Shell.h"

const CRuntimeClass CPanelRight::classInfo = {"CPanelRight", &CreateWndObject<CPanelRight>,
                                              &CListView::classInfo};

namespace {
const int kMaxFallbackModules = 1024;
const std::string kNoPath;
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
    SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    ModifyStyle(0, LVS_REPORT);
    struct { const char* heading; int width; } const columns[] = {
        {"模块名称", 100}, {"模块路径", 200}, {"大小", 60}};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = columns[i].width;
        column.pszText = const_cast<char*>(columns[i].heading);
        column.iSubItem = i;
        SendMessage(LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    m_imageList.Create(16, 16, ILC_COLOR8 | ILC_MASK, 10, 10);
    for (int index : {2, 72}) {
        ScopedIcon icon;
        ::ExtractIconExA("shell32.dll", index, nullptr, icon.Out(), 1);
        m_imageList.Add(icon.Get());
    }
    SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_imageList.m_hImageList));
    return 0;
}

const std::string& CPanelRight::ModulePath(int row) const {
    if (row < 0 || static_cast<size_t>(row) >= m_modulePaths.size()) return kNoPath;
    return m_modulePaths[static_cast<size_t>(row)];
}

void CPanelRight::ShowModules(DWORD processId) {
    // The list paints once, when it is full: a repaint per row costs more than the rows.
    CRedrawSuspended quiet(*this);
    SendMessage(LVM_DELETEALLITEMS);
    m_modulePaths.clear();
    if (processId == 0) return;

    ScopedHandle snapshot(CreateModuleSnapshot(processId));
    if (snapshot.IsValid()) {
        int number = 0;
        for (const std::string& path : SnapshotModulePaths(snapshot.Get())) AddModuleRow(number++, path.c_str());
        return;
    }

    // No snapshot: ask the process-status services instead.
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!::GetVersionExA(&version) || version.dwPlatformId != VER_PLATFORM_WIN32_NT) return;
    ScopedHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process.IsValid()) return;
    std::vector<HMODULE> modules(kMaxFallbackModules);
    DWORD needed = 0;
    if (!::EnumProcessModulesEx(process.Get(), modules.data(),
                                static_cast<DWORD>(modules.size() * sizeof(HMODULE)), &needed,
                                LIST_MODULES_ALL))
        return;
    size_t count = needed / sizeof(HMODULE);
    if (count > modules.size()) count = modules.size();
    const SystemFolderRedirection redirection(process.Get());
    for (size_t i = 0; i < count; ++i) {
        // Each module on its own: a path that can't be read must not repeat the previous one.
        std::string path = redirection.Apply(ModuleFilePath(process.Get(), modules[i]));
        AddModuleRow(static_cast<int>(i), path.empty() ? "unknown" : path.c_str());
    }
}

void CPanelRight::AddModuleRow(int number, const char* path) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = static_cast<int>(SendMessage(LVM_GETITEMCOUNT));
    item.pszText = ::PathFindFileNameA(path);
    item.iImage = number == 0 ? 0 : 1;
    int row = static_cast<int>(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return;
    m_modulePaths.insert(m_modulePaths.begin() + row, path);

    LVITEMA cell{};
    ScopedHandle file(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (file.IsValid() && ::GetFileSizeEx(file.Get(), &size)) {
        std::string text = FormatKilobytes(static_cast<uint64_t>(size.QuadPart));
        cell.iSubItem = 2;
        cell.pszText = const_cast<char*>(text.c_str());
        SendMessage(LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
    }
    file.Close();

    // The whole path: in GBK a path within MAX_PATH characters may take more than MAX_PATH bytes.
    std::string directory(path);
    ::PathRemoveFileSpecA(&directory[0]);
    cell.iSubItem = 1;
    cell.pszText = &directory[0];
    SendMessage(LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
}

void CPanelRight::OnDblclk(NMHDR*, LRESULT* result) {
    *result = 0;
    // The row with the selection mark, not the one under the pointer.
    int mark = static_cast<int>(SendMessage(LVM_GETSELECTIONMARK));
    if (mark < 0) return;
    const std::string& path = ModulePath(mark);
    if (path.empty()) return;
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS;
    info.hwnd = m_hWnd;
    info.lpVerb = "properties";
    info.lpFile = path.c_str();
    info.nShow = SW_HIDE;
    g_pfnShellExecuteEx(&info);
    if (info.hProcess) ::CloseHandle(info.hProcess);
}

void CPanelRight::OnItemchanged(NMHDR* nmh, LRESULT* result) {
    // Any change that leaves a row focused rebuilds, also a selection change of the same row.
    auto* change = reinterpret_cast<NMLISTVIEW*>(nmh);
    if (change->uNewState & LVIS_FOCUSED) ShowVersionInfo(change->iItem);
    *result = 0;
}

void CPanelRight::ShowVersionInfo(int row) {
    auto* frame = static_cast<COurFrame*>(AfxGetMainWnd());
    // Stopped before anything can fail: a tick would write process rows over the module's.
    frame->m_pPanelLeft->KillTimer(DETAIL_TIMER_ID);
    frame->m_pPanelRTop->SendMessage(LVM_DELETEALLITEMS);

    const std::string& path = ModulePath(row);
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return;
    std::vector<char> block(size + 1);  // freed on every way out
    if (!::GetFileVersionInfoA(path.c_str(), 0, size + 1, block.data())) return;

    void* translation = nullptr;
    UINT length = 0;
    // A value too short for one language/code-page pair is as good as none.
    if (!::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &translation, &length) ||
        !translation || length < 2 * sizeof(WORD))
        return;
    const WORD* pair = static_cast<const WORD*>(translation);
    std::string prefix = VersionTablePrefix(pair[0], pair[1]);
    for (const char* key : kVersionKeys) AddVersionRow(prefix.c_str(), key, key, block.data());
}

void CPanelRight::AddVersionRow(LPCSTR prefix, LPCSTR key, LPCSTR label, const void* block) {
    std::string query = std::string(prefix) + key;
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block, query.c_str(), &value, &length)) return;
    AppendPropertyRow(static_cast<COurFrame*>(AfxGetMainWnd())->m_pPanelRTop,
                      value ? static_cast<const char*>(value) : "", label);
}
