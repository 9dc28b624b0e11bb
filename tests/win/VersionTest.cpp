// Module version information: focusing a module row shows its version strings in the properties
// pane and stops the process-detail refresh.
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>

#include "Harness.h"
#include "ResourceCounts.h"
#include "app/MainApp.h"
#include "panes/PanelLeft.h"
#include "panes/PanelRTop.h"
#include "panes/PanelRight.h"
#include "platform/seams/Seams.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

const char kMemoryLabel[] = "当前使用内存";

// Copies a fixture library into a folder of the test folder under another name; the copy's path.
std::wstring CopyLibrary(const std::wstring& folder, const char* library, const wchar_t* name) {
    std::wstring dir = Wide(TestDir()) + folder;
    ::CreateDirectoryW(dir.c_str(), nullptr);
    std::wstring copy = dir + L"\\" + name;
    ::CopyFileW(Wide(TestDir() + library).c_str(), copy.c_str(), FALSE);
    return copy;
}

// A folder whose path is 256 characters long, longer than a list cell gives back (Wine gives 255
// of them, Windows 254). So that the whole path still fits in MAX_PATH the copy is named "v": the
// trailing dot keeps the loader from adding ".dll".
const std::wstring kLongFolder(256 - TestDir().size(), L'd');
// A folder whose name the ANSI code page can't spell ("â" is no GBK character), and beside it the
// folder of its look-alike name, each holding a library of the same name with other versions.
const std::wstring kExactFolder = L"Ch\u00e2teau", kLookAlikeFolder = L"Chateau";

class VersionTest : public MainFrameTest {
protected:
    static void SetUpTestSuite() {
        for (const char* name : {"verfix_all", "verfix_nocompany", "verfix_twolang", "verfix_notable",
                                 "verfix_short", "verfix_none", "verfix_pastend", "verfix_unterminated"})
            ::LoadLibraryA((TestDir() + name + ".dll").c_str());
        ::LoadLibraryW((CopyLibrary(kLongFolder, "verfix_all.dll", L"v") + L".").c_str());
        CopyLibrary(kLookAlikeFolder, "verfix_nocompany.dll", L"exact.dll");
        ::LoadLibraryW(CopyLibrary(kExactFolder, "verfix_all.dll", L"exact.dll").c_str());
    }

    void SetUp() override {
        MainFrameTest::SetUp();
        if (HasFatalFailure()) return;
        moduleList = frame->m_pPanelRight;
        properties = frame->m_pPanelRTop->m_hWnd;
        moduleList->ShowModules(::GetCurrentProcessId());
    }

    // The row of the module whose file has this name, or -1.
    int Row(const char* file) {
        std::wstring tail = L"\\" + Wide(file);
        for (int row = 0; row < moduleList->SendMessage(LVM_GETITEMCOUNT); ++row) {
            const std::wstring& path = moduleList->ModulePath(row);
            if (path.size() >= tail.size() &&
                lstrcmpiW(path.c_str() + path.size() - tail.size(), tail.c_str()) == 0)
                return row;
        }
        return -1;
    }
    void SetState(int row, UINT state, UINT mask) { moduleList->SetItemState(row, state, mask); }
    void Focus(int row) { SetState(row, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED); }
    // The properties pane after focusing the module with this file name.
    Rows FocusModule(const char* file) {
        int row = Row(file);
        EXPECT_GE(row, 0) << file;
        Focus(row);
        return PropertyRows(properties);
    }
    std::string MemoryValue() { return PropertyValue(properties, kMemoryLabel); }

    CPanelRight* moduleList = nullptr;
    HWND properties = nullptr;
};

TEST_F(VersionTest, ShowsTheSixStringsInOrderLabelledWithTheirKeys) {
    const Rows all = {{"ProductName", "Fixture Product"},
                      {"CompanyName", "测试公司"},
                      {"FileDescription", "Fixture library"},
                      {"FileVersion", "2, 3, 4, 5"},
                      {"ProductVersion", "2.3"},
                      {"LegalCopyright", "Copyright 2026 Fixture"}};
    EXPECT_EQ(all, FocusModule("verfix_all.dll"));
    // A directory longer than a list cell holds: the file is still the listed one.
    EXPECT_EQ(all, FocusModule("v"));
    // A folder the code page can't spell: the file is the one in it, not its look-alike's, and
    // the folder is shown without a look-alike letter.
    EXPECT_EQ(all, FocusModule("exact.dll"));
    int exact = Row("exact.dll");
    ASSERT_GE(exact, 0);
    EXPECT_EQ(Wide(TestDir()) + kExactFolder + L"\\exact.dll", moduleList->ModulePath(exact));
    std::string folder = ListCellText(moduleList->m_hWnd, exact, 1);
    EXPECT_EQ("Ch?teau", folder.substr(folder.size() - 7)) << folder;
    EXPECT_EQ(ListCellText(moduleList->m_hWnd, Row("verfix_all.dll"), 2), ListCellText(moduleList->m_hWnd, exact, 2));

    // The program's own resource, linked into this executable, the first module.
    Focus(0);
    Rows own = PropertyRows(properties);
    ASSERT_EQ(6u, own.size());
    const char* keys[] = {"ProductName", "CompanyName", "FileDescription", "FileVersion", "ProductVersion",
                          "LegalCopyright"};
    for (size_t i = 0; i < own.size(); ++i) EXPECT_EQ(keys[i], own[i][0]);
    EXPECT_EQ("1, 1, 0, 1", own[3][1]);
    EXPECT_EQ("1, 1, 0, 1", own[4][1]);
}

TEST_F(VersionTest, ShowsOnlyThePresentStringsOfTheFirstTranslation) {
    EXPECT_EQ((Rows{{"ProductName", "No Company Product"},
                    {"FileDescription", "No company"},
                    {"FileVersion", "1.0"},
                    {"ProductVersion", "1.0.0"},
                    {"LegalCopyright", "Nobody"}}),
              FocusModule("verfix_nocompany.dll"));
    EXPECT_EQ((Rows{{"ProductName", "中文产品"}, {"FileVersion", "1.0 zh"}}),
              FocusModule("verfix_twolang.dll"));
    // Damaged resources: nothing is read from beyond the block.
    EXPECT_EQ((Rows{{"ProductName", "Damaged"}}), FocusModule("verfix_pastend.dll"));
    EXPECT_EQ((Rows{{"ProductName", "Unterminated"}}), FocusModule("verfix_unterminated.dll"));
}

TEST_F(VersionTest, NoUsableTableLeavesThePaneEmpty) {
    for (const char* file : {"verfix_notable.dll", "verfix_none.dll", "verfix_short.dll"}) {
        ASSERT_FALSE(FocusModule("verfix_all.dll").empty());
        EXPECT_EQ(Rows{}, FocusModule(file)) << file;
    }
}

TEST_F(VersionTest, FocusingAModuleStopsTheDetailRefreshUntilAProcessIsSelected) {
    HTREEITEM self = Item(::GetCurrentProcessId());
    ASSERT_NE(nullptr, self);
    Select(self);
    ASSERT_NE("<none>", MemoryValue());

    FocusModule("verfix_none.dll");
    AppendPropertyRow(frame->m_pPanelRTop, "marker", kMemoryLabel);
    EXPECT_EQ("marker", MemoryValue());
    EXPECT_FALSE(::KillTimer(tree, DETAIL_TIMER_ID));

    // The root changes nothing; the process selected again restarts the refresh.
    Select(frame->m_pPanelLeft->m_hRootItem);
    EXPECT_EQ("marker", MemoryValue());
    Select(self);
    UpdatePropertyRow(frame->m_pPanelRTop, "marker", kMemoryLabel);
    Tick();
    EXPECT_NE("marker", MemoryValue());
    EXPECT_TRUE(::KillTimer(tree, DETAIL_TIMER_ID));
}

TEST_F(VersionTest, EveryNotificationWithTheFocusRebuildsTheSameRows) {
    int all = Row("verfix_all.dll"), twolang = Row("verfix_twolang.dll");
    ASSERT_GE(all, 0);
    ASSERT_GE(twolang, 0);
    Focus(all);
    const Rows first = PropertyRows(properties);
    for (int i = 0; i < 3; ++i) {
        AppendPropertyRow(frame->m_pPanelRTop, "stale", "stale");
        SetState(all, LVIS_FOCUSED, LVIS_SELECTED);  // deselected, focus kept
        EXPECT_EQ(first, PropertyRows(properties));
        AppendPropertyRow(frame->m_pPanelRTop, "stale", "stale");
        SetState(all, LVIS_FOCUSED | LVIS_SELECTED, LVIS_SELECTED);
        EXPECT_EQ(first, PropertyRows(properties));
    }
    // A change without the focus leaves the pane alone.
    SetState(twolang, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(first, PropertyRows(properties));
}

Rows g_rowsAtProperties;
std::wstring g_fileAtProperties;
BOOL WINAPI RecordProperties(SHELLEXECUTEINFOW* info) {
    g_rowsAtProperties = PropertyRows(static_cast<COurFrame*>(AfxGetMainWnd())->m_pPanelRTop->m_hWnd);
    g_fileAtProperties = info->lpFile;
    return TRUE;
}

TEST_F(VersionTest, DoubleClickShowsTheVersionRowsBeforeTheProperties) {
    int row = Row("verfix_twolang.dll");
    ASSERT_GE(row, 0);
    FocusModule("verfix_all.dll");
    moduleList->SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    RECT rect{};
    rect.left = LVIR_LABEL;
    moduleList->SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
    LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);

    g_seams.shellExecuteEx = RecordProperties;
    g_rowsAtProperties.clear();
    g_fileAtProperties.clear();
    moduleList->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    moduleList->SendMessage(WM_LBUTTONUP, 0, at);
    moduleList->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    moduleList->SendMessage(WM_LBUTTONUP, 0, at);
    Pump();

    EXPECT_EQ(moduleList->ModulePath(row), g_fileAtProperties);
    EXPECT_EQ((Rows{{"ProductName", "中文产品"}, {"FileVersion", "1.0 zh"}}), g_rowsAtProperties);
}

TEST_F(VersionTest, FocusChangesKeepHandlesAndMemoryFlat) {
    int a = Row("verfix_all.dll"), b = Row("verfix_short.dll");
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    auto privateBytes = [] {
        PROCESS_MEMORY_COUNTERS counters{};
        ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
        return static_cast<long long>(counters.PagefileUsage);
    };
    for (int i = 0; i < 20; ++i) Focus(i % 2 ? a : b);  // let the first uses settle
    int handles = CountOwnHandles(), gdi = CountGdiObjects();
    long long memory = privateBytes();
    for (int i = 0; i < 500; ++i) Focus(i % 2 ? a : b);
    EXPECT_LE(CountOwnHandles(), handles + 2);
    EXPECT_LE(CountGdiObjects(), gdi + 2);
    EXPECT_LT(privateBytes() - memory, 256 * 1024);
    EXPECT_EQ(6u, PropertyRows(properties).size());
}

}  // namespace
