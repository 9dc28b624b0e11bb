// Selecting a process: its modules, the four detail rows, the one-second refresh, the row
// operations, the fallback module listing and the Properties call.
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>

#include <shlwapi.h>

#include <cstdlib>
#include <set>

#include "Harness.h"
#include "ResourceCounts.h"
#include "panes/PanelLeft.h"
#include "panes/PanelRTop.h"
#include "panes/PanelRight.h"
#include "platform/proc/ProcessInfo.h"
#include "platform/proc/Toolhelp.h"
#include "platform/text/Format.h"
#include "platform/seams/Seams.h"

namespace {

class DetailsTest : public MainFrameTest {
protected:
    // The memory and start time rows show the process's own figures. The fixtures' peak stands
    // 16 MB above their current memory, which moves a little between two readings.
    void ExpectMemoryAndStartOf(HANDLE process) {
        PROCESS_MEMORY_COUNTERS counters{};
        ASSERT_TRUE(::GetProcessMemoryInfo(process, &counters, sizeof(counters)));
        EXPECT_EQ(FormatKilobytes(counters.PeakWorkingSetSize), Value("峰值使用内存"));
        ASSERT_GT(counters.PeakWorkingSetSize, counters.WorkingSetSize + (8 << 20));
        unsigned long long current = std::strtoull(Value("当前使用内存").c_str(), nullptr, 10);
        EXPECT_LT(current, (counters.PeakWorkingSetSize >> 10) - (8 << 10)) << Value("当前使用内存");
        EXPECT_GT(current, 0u);
        FILETIME created;
        ASSERT_TRUE(GetCreationTime(process, &created));
        EXPECT_EQ(FormatStartTime(created), Value("进程启动时间"));
    }
    HTREEITEM InsertItem(DWORD pid, DWORD parent, FILETIME created = FILETIME{}) {
        return InsertProcessItem(tree, frame->m_pPanelLeft->m_hRootItem, "made.exe", pid, parent, created);
    }
    // The detail timer's ticks the message loop takes from the queue while it runs this long.
    int DetailTicksDuring(DWORD milliseconds) {
        int ticks = 0;
        MessageRecorder recorder([&](const MSG& msg, bool posted) {
            ticks += posted && msg.message == WM_TIMER && msg.hwnd == tree && msg.wParam == DETAIL_TIMER_ID;
        });
        Pump(milliseconds);
        return ticks;
    }
    // Module snapshots fail from here on: the module list falls back on the process-status services.
    void RefuseModuleSnapshots() {
        g_seams.createSnapshot = [](DWORD flags, DWORD pid) -> HANDLE {
            return flags & TH32CS_SNAPMODULE ? INVALID_HANDLE_VALUE : ::CreateToolhelp32Snapshot(flags, pid);
        };
    }
    // A double-click on the first row while the given row carries the selection mark (-1: none).
    void DoubleClick(int marked) {
        ::SendMessageA(modules, LVM_SETSELECTIONMARK, 0, marked);
        NMITEMACTIVATE click{};
        click.hdr.hwndFrom = modules;
        click.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(modules));
        click.hdr.code = NM_DBLCLK;
        click.iItem = 0;  // where the click fell: not what counts
        ::SendMessageA(::GetParent(modules), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
    }
    bool TimerRunning() {
        // Killing tells whether it ran; start it again so the test leaves it as it was.
        if (!::KillTimer(tree, DETAIL_TIMER_ID)) return false;
        ::SetTimer(tree, DETAIL_TIMER_ID, 1000, nullptr);
        return true;
    }

    ShellRecorder shell;
};

TEST_F(DetailsTest, SelectingAProcessShowsItsModulesAndDetails) {
    FixtureProcess fixture("fixture_icon");
    SelectProcess(fixture.Id());

    auto rows = ModuleRows(modules);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ("fixture_icon.exe", rows[0][0]);
    std::string dir = TestDir();
    EXPECT_TRUE(LabelsEqual(rows[0][1].c_str(), dir.substr(0, dir.size() - 1).c_str())) << rows[0][1];
    for (size_t i = 0; i < rows.size(); ++i) {
        LVITEMA item{};
        item.mask = LVIF_IMAGE;
        item.iItem = static_cast<int>(i);
        ::SendMessageA(modules, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(i == 0 ? 0 : 1, item.iImage);
        // Each size is the file's own, in whole kilobytes.
        const std::wstring& path = frame->m_pPanelRight->ModulePath(static_cast<int>(i));
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
            ULONGLONG size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
            EXPECT_EQ(FormatKilobytes(size), rows[i][2]) << AnsiText(path);
        }
    }

    EXPECT_EQ(kDetailLabels, Labels());
    ExpectMemoryAndStartOf(fixture.Handle());
    // Every row shows the pane's one icon.
    HIMAGELIST icons = reinterpret_cast<HIMAGELIST>(::SendMessageA(props, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    EXPECT_EQ(frame->m_pPanelRTop->m_imageList.m_hImageList, icons);
    EXPECT_EQ(1, ImageList_GetImageCount(icons));
    for (int row = 0; row < static_cast<int>(kDetailLabels.size()); ++row) {
        LVITEMA item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        item.iImage = -1;
        ::SendMessageA(props, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(0, item.iImage) << row;
    }
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    EXPECT_TRUE(LabelsEqual(self, Value("父进程").c_str())) << Value("父进程");
    EXPECT_EQ(fixture.Id(), frame->m_pPanelLeft->m_dwProcessId);
    EXPECT_TRUE(TimerRunning());
}

TEST_F(DetailsTest, NoParentRowWhenTheParentIdBelongsToAYoungerProcess) {
    FixtureProcess older("fixture_noicon");
    ::Sleep(50);
    FixtureProcess younger("fixture_icon");
    Select(InsertItem(older.Id(), younger.Id()));
    // A standard user's service shows no rows of its own and is no parent that can be read; with no
    // creation time of its own no younger parent is ruled out.
    const bool whole = SeenWhole("fixture_noicon");
    EXPECT_EQ(whole ? kTickedLabels : kParentLabels, Labels());
    // The other way round the parent is plausible and shown.
    Select(InsertItem(younger.Id(), older.Id()));
    EXPECT_EQ(whole ? kDetailLabels : kTickedLabels, Labels());
    // A process that can't be queried in full (another user's; here one that has ended) is still
    // known by the creation time the fill read with the least rights.
    FILETIME created = ReadCreationTime(older.Id());
    ASSERT_TRUE(IsKnownTime(created));
    older.End();
    Select(InsertItem(older.Id(), younger.Id(), created));
    EXPECT_EQ(std::vector<std::string>{}, Labels());
}

TEST_F(DetailsTest, RootSelectionChangesNothingAndTicksGoOn) {
    FixtureProcess fixture("fixture_icon");
    SelectProcess(fixture.Id());
    auto modulesBefore = ModuleRows(modules);
    Select(frame->m_pPanelLeft->m_hRootItem);
    EXPECT_EQ(modulesBefore, ModuleRows(modules));
    EXPECT_EQ(kDetailLabels, Labels());
    EXPECT_EQ(fixture.Id(), frame->m_pPanelLeft->m_dwProcessId);
    EXPECT_TRUE(TimerRunning());

    // A tick rewrites the first three rows in place, never the parent, also where the list
    // answers a text's length in characters as Windows does (Wine answers bytes).
    // Windows' list answers LVM_GETITEMTEXTA with the number of characters it copied, Wine's
    // with the number of bytes.
    ControlImitation native(props, [](ControlImitation& list, UINT msg, WPARAM wParam, LPARAM lParam) {
        LRESULT result = list.CallControl(msg, wParam, lParam);
        if (msg != LVM_GETITEMTEXTA) return result;
        auto* item = reinterpret_cast<const LVITEMA*>(lParam);
        return static_cast<LRESULT>(::MultiByteToWideChar(CP_ACP, 0, item->pszText, -1, nullptr, 0) - 1);
    });
    std::string parent = Value("父进程");
    for (const std::string& label : kDetailLabels) UpdatePropertyRow(frame->m_pPanelRTop, "stale", label.c_str());
    Tick();
    ExpectMemoryAndStartOf(fixture.Handle());
    EXPECT_EQ("stale", Value("父进程"));
    EXPECT_EQ(kDetailLabels, Labels());
    // The real timer does the same, once a second: selecting the process again starts it afresh.
    Select(Item(fixture.Id()));
    UpdatePropertyRow(frame->m_pPanelRTop, "stale", "当前使用内存");
    EXPECT_EQ(1, DetailTicksDuring(1500));
    EXPECT_NE("stale", Value("当前使用内存"));
}

TEST_F(DetailsTest, ProcessThatHasEndedShowsNoMemoryOrStartTime) {
    FixtureProcess fixture("fixture_icon");
    SelectProcess(fixture.Id());
    ASSERT_EQ(kDetailLabels, Labels());
    std::string memory = Value("当前使用内存");
    fixture.End();  // our handle still holds the ended process, so it can still be opened
    Tick();
    EXPECT_EQ(memory, Value("当前使用内存"));  // its last values stay

    HTREEITEM root = frame->m_pPanelLeft->m_hRootItem;
    HTREEITEM item = FindProcessItem(tree, root, fixture.Id());
    Select(root);
    Select(item);
    EXPECT_EQ(0, ::SendMessageA(modules, LVM_GETITEMCOUNT, 0, 0));
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    EXPECT_EQ(kParentLabels, Labels());
    EXPECT_EQ(self, Value("父进程"));
    EXPECT_TRUE(TimerRunning());
    Tick();
    EXPECT_EQ(kParentLabels, Labels());
}

TEST_F(DetailsTest, RowMissingAtSelectionNeverAppearsLater) {
    FixtureProcess fixture("fixture_icon");
    Select(InsertItem(0x7FFFFFF0, 0));  // no such process: no row at all
    EXPECT_TRUE(Labels().empty());
    EXPECT_TRUE(TimerRunning());
    frame->m_pPanelLeft->m_dwProcessId = fixture.Id();  // now the queries would succeed
    Tick();
    EXPECT_TRUE(Labels().empty());
}

TEST_F(DetailsTest, UpdatePropertyRowFindsTheFirstRowByItsLabel) {
    CListView* list = frame->m_pPanelRTop;
    list->SendMessage(LVM_DELETEALLITEMS);
    UpdatePropertyRow(list, "x", "FileVersion");  // empty list: nothing happens
    EXPECT_EQ(0, list->SendMessage(LVM_GETITEMCOUNT));
    AppendPropertyRow(list, "1", "FileVersion");
    AppendPropertyRow(list, "2", "FileVersion");
    AppendPropertyRow(list, "3", "当前使用内存");
    UpdatePropertyRow(list, "9", "fileversion");
    EXPECT_EQ((std::vector<std::vector<std::string>>{{"FileVersion", "9"}, {"FileVersion", "2"}, {"当前使用内存", "3"}}),
              PropertyRows(props));
    UpdatePropertyRow(list, "8", "当前使用内存");
    EXPECT_EQ("8", ListCellText(props, 2, 1));
    UpdatePropertyRow(list, "7", "当前使用内彡");  // one trail byte apart: another label
    UpdatePropertyRow(list, "7", "Nothing");
    EXPECT_EQ("8", ListCellText(props, 2, 1));
    EXPECT_EQ(3, list->SendMessage(LVM_GETITEMCOUNT));
    list->SendMessage(LVM_DELETEALLITEMS);
    AppendPropertyRow(list, "a", "first");
    EXPECT_EQ("first", ListCellText(props, 0, 0));
}

TEST_F(DetailsTest, StartTimeTextCoversEveryYearFrom1900) {
    auto text = [](int year, int month, int day) {
        SYSTEMTIME st{};
        st.wYear = static_cast<WORD>(year);
        st.wMonth = static_cast<WORD>(month);
        st.wDay = static_cast<WORD>(day);
        st.wHour = 12;
        FILETIME ft;
        ::SystemTimeToFileTime(&st, &ft);
        return FormatStartTime(ft);
    };
    EXPECT_EQ("1969-07-20", text(1969, 7, 20).substr(0, 10));
    EXPECT_EQ("2040-06-15", text(2040, 6, 15).substr(0, 10));
    EXPECT_EQ("1900-03-01", text(1900, 3, 1).substr(0, 10));
    // Before 1900 (a zero file time): the start of the calendar in local time.
    SYSTEMTIME epoch{1970, 1, 4, 1, 0, 0, 0, 0}, local;
    ::SystemTimeToTzSpecificLocalTime(nullptr, &epoch, &local);
    FILETIME zero{0, 0};
    EXPECT_EQ(FormatDateTime(local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond),
              FormatStartTime(zero));
}

// The suite runs this executable in New York's zone: UTC-5, and UTC-4 in summer.
TEST(StartTimeText, IsLocalTimeByTheRulesOfItsOwnDate) {
    auto text = [](WORD year, WORD month, WORD day, WORD hour, WORD minute) {
        SYSTEMTIME utc{year, month, 0, day, hour, minute, 0, 0};
        FILETIME ft;
        ::SystemTimeToFileTime(&utc, &ft);
        return FormatStartTime(ft);
    };
    EXPECT_EQ("2024-01-15 07:30:00", text(2024, 1, 15, 12, 30));
    EXPECT_EQ("2024-07-01 08:00:00", text(2024, 7, 1, 12, 0));
    EXPECT_EQ("2023-12-31 19:00:00", text(2024, 1, 1, 0, 0));  // the day and year before
}

TEST_F(DetailsTest, FallbackListsAtMost1024Modules) {
    RefuseModuleSnapshots();
    // A process with 2000 modules, as far as the buffer holds them; none has a path to read.
    g_seams.enumProcessModulesEx = [](HANDLE, HMODULE* modules, DWORD size, LPDWORD needed, DWORD) -> BOOL {
        const DWORD count = 2000;
        for (DWORD i = 0; i < count && i < size / sizeof(HMODULE); ++i)
            modules[i] = reinterpret_cast<HMODULE>(static_cast<UINT_PTR>(0x7FFE0000 + i) << 16);
        *needed = count * sizeof(HMODULE);
        return TRUE;
    };
    frame->m_pPanelRight->ShowModules(::GetCurrentProcessId());
    EXPECT_EQ(1024, frame->m_pPanelRight->GetItemCount());
    // A path that can't be read is a text to show, never a file to open.
    EXPECT_EQ((std::vector<std::string>{"unknown", "", ""}), ModuleRows(modules)[5]);
    EXPECT_EQ(L"", frame->m_pPanelRight->ModulePath(5));
    DoubleClick(5);
    EXPECT_TRUE(shell.calls.empty());
}

TEST(FallbackModuleFiles, MapOnlyThe32BitModulesAndListEachFileOnce) {
    const std::wstring system = L"C:\\Windows\\System32", wow64 = L"C:\\Windows\\SysWOW64";
    const std::vector<ListedModule> listed = {
        {L"C:\\Apps\\App32.exe", true},          {L"C:\\Windows\\SYSTEM32\\ntdll.dll", false},
        {L"C:\\Windows\\System32\\wow64.dll", false}, {L"C:\\APPS\\app32.EXE", false},
        {L"C:\\Windows\\System32\\ntdll.dll", true},  {L"c:\\windows\\system32\\KERNEL32.DLL", true},
        {L"C:\\Windows\\SysWOW64\\kernel32.dll", true}, {L"", true},
        {L"", false},                                   {L"C:\\Windows\\System32x\\a.dll", true}};
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\Apps\\App32.exe", L"C:\\Windows\\SYSTEM32\\ntdll.dll",
                                         L"C:\\Windows\\System32\\wow64.dll", L"C:\\Windows\\SysWOW64\\ntdll.dll",
                                         L"C:\\Windows\\SysWOW64\\KERNEL32.DLL", L"", L"",
                                         L"C:\\Windows\\System32x\\a.dll"}),
              ModuleFilesToShow(listed, system, wow64));
}

TEST_F(DetailsTest, FallbackListsModulesWhenTheSnapshotFails) {
    RefuseModuleSnapshots();
    frame->m_pPanelRight->ShowModules(::GetCurrentProcessId());
    auto rows = ModuleRows(modules);
    ASSERT_GT(rows.size(), 3u);
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    EXPECT_TRUE(LabelsEqual(AnsiText(frame->m_pPanelRight->ModulePath(0)).c_str(), self));
    bool kernel = false;
    for (auto& row : rows) kernel |= LabelsEqual(row[0].c_str(), "kernel32.dll");
    EXPECT_TRUE(kernel);
    frame->m_pPanelRight->ShowModules(0);
    EXPECT_TRUE(ModuleRows(modules).empty());
}

// A list that keeps rows it was told to delete answers other indexes than the program's own:
// each row the program keeps a file for is that file's, and the rows it could not clear have none.
TEST_F(DetailsTest, RowsKeepTheirOwnFilesWhenTheListKeepsRowsItWasToldToDelete) {
    ControlImitation keeping(modules, [](ControlImitation& list, UINT msg, WPARAM wParam, LPARAM lParam) {
        return msg == LVM_DELETEALLITEMS ? LRESULT{FALSE} : list.CallControl(msg, wParam, lParam);
    });
    CPanelRight* list = frame->m_pPanelRight;
    list->ShowModules(::GetCurrentProcessId());
    const int listed = list->GetItemCount();
    list->ShowModules(::GetCurrentProcessId());
    // Windows' list puts each new row after the kept ones, where the program never asked for it.
    const int added = g_world == World::kWindows ? 0 : listed;
    ASSERT_EQ(listed + added, list->GetItemCount());
    for (int row = 0; row < list->GetItemCount(); ++row) {
        const std::wstring& path = list->ModulePath(row);
        if (row < added) EXPECT_EQ(ListCellText(modules, row, 0), AnsiText(::PathFindFileNameW(path.c_str()))) << row;
        else EXPECT_EQ(L"", path) << row;
        DoubleClick(row);
    }
    ASSERT_EQ(static_cast<size_t>(added), shell.calls.size());
    for (int row = 0; row < added; ++row) EXPECT_EQ(list->ModulePath(row), shell.calls[row].file);
}

TEST_F(DetailsTest, ARefilledModuleListStartsAtItsTop) {
    CPanelRight* list = frame->m_pPanelRight;
    list->ShowModules(::GetCurrentProcessId());
    int count = static_cast<int>(list->SendMessage(LVM_GETITEMCOUNT));
    ASSERT_GT(count, static_cast<int>(list->SendMessage(LVM_GETCOUNTPERPAGE)));  // it can scroll
    list->SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(count - 1), FALSE);
    ASSERT_GT(list->SendMessage(LVM_GETTOPINDEX), 0);

    list->ShowModules(::GetCurrentProcessId());
    EXPECT_EQ(0, list->SendMessage(LVM_GETTOPINDEX));  // the executable's row is in sight
}

TEST_F(DetailsTest, ThirtyTwoBitProcessShowsItsModulesAndDetails) {
    // Wine's 64-bit module snapshot of a 32-bit process fails: its modules come from the fallback.
    // Where Wine has no 32-bit side, the set-up says why in TESSILOR_NO_WOW64.
    char noWow64[200] = "";
    if (::GetEnvironmentVariableA("TESSILOR_NO_WOW64", noWow64, sizeof(noWow64)))
        GTEST_SKIP() << noWow64;
    if (::GetFileAttributesA((TestDir() + "fixture_32.exe").c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "fixture_32.exe was not built: no i686 MinGW compiler";
    FixtureProcess fixture(Wide(TestDir() + "fixture_32.exe"));
    ASSERT_NE(0u, fixture.Id());
    BOOL wow64 = FALSE;
    ASSERT_TRUE(::IsWow64Process(fixture.Handle(), &wow64) && wow64);
    SelectProcess(fixture.Id());

    auto rows = ModuleRows(modules);
    ASSERT_GT(rows.size(), 1u);
    EXPECT_EQ("fixture_32.exe", rows[0][0]);
    std::string dir = TestDir();
    EXPECT_TRUE(LabelsEqual(rows[0][1].c_str(), dir.substr(0, dir.size() - 1).c_str())) << rows[0][1];
    EXPECT_NE("", rows[0][2]);
    // Its system libraries are the 32-bit ones, each listed once with the size of that file.
    char wow64Folder[MAX_PATH];
    ASSERT_GT(::GetSystemWow64DirectoryA(wow64Folder, MAX_PATH), 0u);
    bool kernel = false;
    std::set<std::wstring> paths;
    for (size_t i = 0; i < rows.size(); ++i) {
        const std::wstring& path = frame->m_pPanelRight->ModulePath(static_cast<int>(i));
        EXPECT_TRUE(paths.insert(path).second) << "listed twice: " << AnsiText(path);
        WIN32_FILE_ATTRIBUTE_DATA data;
        ASSERT_TRUE(::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) << AnsiText(path);
        EXPECT_EQ(FormatKilobytes((static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow), rows[i][2])
            << AnsiText(path);
        if (LabelsEqual(rows[i][0].c_str(), "kernel32.dll")) {
            kernel = true;
            EXPECT_TRUE(LabelsEqual(wow64Folder, rows[i][1].c_str())) << rows[i][1];
        }
    }
    EXPECT_TRUE(kernel);

    EXPECT_EQ(kDetailLabels, Labels());
    ExpectMemoryAndStartOf(fixture.Handle());
    UpdatePropertyRow(frame->m_pPanelRTop, "stale", "当前使用内存");
    Tick();
    EXPECT_NE("stale", Value("当前使用内存"));
}

// A 32-bit process seen by a 64-bit program on 64-bit Windows: the snapshot holds the 64-bit
// view, then the 32-bit view, each starting with the executable.
const wchar_t* const kWow64Entries[] = {
    L"C:\\Program Files (x86)\\应用\\App32.exe", L"C:\\Windows\\SYSTEM32\\ntdll.dll",
    L"C:\\Windows\\System32\\wow64.dll",        L"C:\\Windows\\System32\\wow64cpu.dll",
    L"C:\\Program Files (x86)\\应用\\APP32.EXE", L"C:\\Windows\\SysWOW64\\ntdll.dll",
    L"C:\\Windows\\SysWOW64\\KERNEL32.DLL",     L"C:\\Windows\\syswow64\\kernel32.dll",
};
size_t g_nextEntry = 0;

BOOL WINAPI NextWow64Entry(HANDLE, MODULEENTRY32W* entry) {
    if (g_nextEntry >= sizeof(kWow64Entries) / sizeof(kWow64Entries[0])) return FALSE;
    lstrcpynW(entry->szExePath, kWow64Entries[g_nextEntry++], MAX_PATH);
    return TRUE;
}

TEST_F(DetailsTest, SnapshotOfBothViewsListsEachFileOnceExecutableFirst) {
    g_nextEntry = 0;
    g_seams.module32FirstW = [](HANDLE snapshot, MODULEENTRY32W* entry) {
        g_nextEntry = 0;
        return NextWow64Entry(snapshot, entry);
    };
    g_seams.module32NextW = NextWow64Entry;
    frame->m_pPanelRight->ShowModules(::GetCurrentProcessId());
    std::vector<std::string> names;
    for (auto& row : ModuleRows(modules)) names.push_back(row[0] + " in " + row[1]);
    EXPECT_EQ((std::vector<std::string>{
                  "App32.exe in C:\\Program Files (x86)\\应用", "ntdll.dll in C:\\Windows\\SYSTEM32",
                  "wow64.dll in C:\\Windows\\System32", "wow64cpu.dll in C:\\Windows\\System32",
                  "ntdll.dll in C:\\Windows\\SysWOW64", "KERNEL32.DLL in C:\\Windows\\SysWOW64"}),
              names);
}

TEST_F(DetailsTest, DoubleClickAsksForThePropertiesOfTheMarkedRow) {
    frame->m_pPanelRight->ShowModules(::GetCurrentProcessId());
    DoubleClick(-1);
    EXPECT_TRUE(shell.calls.empty());
    DoubleClick(2);
    ASSERT_EQ(1u, shell.calls.size());
    EXPECT_EQ(L"properties", shell.calls[0].verb);
    EXPECT_EQ(frame->m_pPanelRight->ModulePath(2), shell.calls[0].file);
    EXPECT_EQ(modules, shell.calls[0].owner);
    EXPECT_TRUE(shell.calls[0].mask & SEE_MASK_INVOKEIDLIST);
    EXPECT_EQ(SW_HIDE, shell.calls[0].show);
}

TEST_F(DetailsTest, SelectionsWithTicksLeakNothing) {
    FixtureProcess a("fixture_icon"), b("fixture_noicon");
    frame->m_pPanelLeft->RefreshProcessList();
    HTREEITEM ia = Item(a.Id());
    HTREEITEM ib = Item(b.Id());
    ASSERT_TRUE(ia && ib);
    for (int i = 0; i < 10; ++i) { Select(i % 2 ? ia : ib); Tick(); }
    int handles = CountOwnHandles(), gdi = CountGdiObjects();
    for (int i = 0; i < 500; ++i) {
        Select(i % 2 ? ia : ib);
        Tick();
    }
    Pump();
    EXPECT_LE(CountOwnHandles(), handles);
    EXPECT_LE(CountGdiObjects(), gdi);
}

}  // namespace
