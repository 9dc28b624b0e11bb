// Which process an item stands for: one that ended with the code that reads as "still running",
// one whose id the system has given to another process, one in a path longer in GBK than
// MAX_PATH bytes.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <memory>

#include "Harness.h"
#include "panes/PanelLeft.h"
#include "panes/PanelRTop.h"
#include "panes/PanelRight.h"
#include "res/resource.h"

namespace {

DWORD WINAPI ReturnAtOnce(LPVOID) { return 0; }

// Runs a thread of this process to its end; the id it took is free again. Returns that id.
DWORD CycleThreadId() {
    DWORD id = 0;
    HANDLE thread = ::CreateThread(nullptr, 64 * 1024, ReturnAtOnce, nullptr, STACK_SIZE_PARAM_IS_A_RESERVATION, &id);
    if (!thread) return 0;
    ::WaitForSingleObject(thread, 5000);
    ::CloseHandle(thread);
    return id;
}

// Cycles thread ids until the given id comes round; the number of threads it took, or 0.
int CycleUntil(DWORD id) {
    for (int n = 1; n <= 100000; ++n) {
        DWORD cycled = CycleThreadId();
        if (cycled == 0) return 0;
        if (cycled == id) return n;
    }
    return 0;
}

// Starts fixture_icon under the given id, which must be free; null when no start got it.
// Wine gives out unused ids while it has them, then freed ones, the oldest first, to threads and
// processes alike. A thread that ends puts its id back last in line, so cycling threads moves the
// wanted id to the front: once round to learn how long the line is, then one short of that.
std::unique_ptr<FixtureProcess> StartWithId(DWORD id) {
    if (!CycleUntil(id)) return nullptr;
    for (int attempt = 0; attempt < 5; ++attempt) {
        int line = CycleUntil(id);
        if (!line) return nullptr;
        for (int i = 1; i < line; ++i) CycleThreadId();
        auto fixture = std::make_unique<FixtureProcess>("fixture_icon");
        if (fixture->Id() == id) return fixture;
    }
    return nullptr;
}

class IdentityTest : public MainFrameTest {
protected:
    // Selects another item first: selecting the selected item again tells the pane nothing.
    void Reselect(HTREEITEM item) {
        Select(pane->m_hRootItem);
        Select(item);
    }
    int ModuleCount() { return static_cast<int>(::SendMessageA(modules, LVM_GETITEMCOUNT, 0, 0)); }

};

TEST_F(IdentityTest, ProcessThatExitedWithCode259HasEnded) {
    FixtureProcess fixture("fixture_noicon", "100 259");
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(fixture.Handle(), 5000));
    ASSERT_EQ(259u, fixture.ExitCode());  // STILL_ACTIVE, from a process that has ended
    // Our handle keeps the ended process, so it can still be opened by its id.
    HTREEITEM item = InsertProcessItem(tree, pane->m_hRootItem, "fixture_noicon.exe", fixture.Id(),
                                       ::GetCurrentProcessId());
    Select(item);
    EXPECT_EQ(kParentLabels, Labels());
    Tick();
    EXPECT_EQ(kParentLabels, Labels());
    auto boxes = StopConfirmed();
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ("不能打开进程", boxes[1].text);
    EXPECT_NE(nullptr, Item(fixture.Id()));
}

TEST_F(IdentityTest, IdGivenToANewProcessIsNotTheListedProcess) {
    auto listed = std::make_unique<FixtureProcess>("fixture_icon");
    const DWORD id = listed->Id();
    HTREEITEM item = SelectProcess(id);
    ASSERT_EQ(kDetailLabels, Labels());

    listed.reset();  // ended, and no handle holds it: its id is free
    for (int i = 0; i < 500; ++i) {
        HANDLE gone = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
        if (!gone) break;
        ::CloseHandle(gone);
        ::Sleep(10);
    }
    // The same executable under the same id: only its creation time tells them apart.
    auto successor = StartWithId(id);
    ASSERT_NE(nullptr, successor) << "no new process got the id " << id;

    // The ticks show nothing of the new process.
    for (const std::string& label : kTickedLabels) UpdatePropertyRow(frame->m_pPanelRTop, "stale", label.c_str());
    Tick();
    for (const std::string& label : kTickedLabels) EXPECT_EQ("stale", Value(label.c_str())) << label;

    // Selecting the item again shows neither its rows nor its modules.
    Reselect(item);
    EXPECT_EQ(kParentLabels, Labels());
    EXPECT_EQ(0, ModuleCount());

    // Nor is it ended in the listed process's name.
    auto boxes = StopConfirmed();
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ("不能打开进程", boxes[1].text);
    EXPECT_TRUE(successor->Running());
    EXPECT_NE(nullptr, Item(id));
}

// A fixture copied to a folder whose path takes more than MAX_PATH bytes in GBK, though fewer
// than MAX_PATH characters.
class LongPathFixture {
public:
    LongPathFixture() {
        wchar_t self[MAX_PATH];
        DWORD n = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring dir(self, n);
        dir.resize(dir.find_last_of(L'\\') + 1);
        std::wstring source = dir + L"fixture_icon.exe";
        // Five folders of 27 characters: each name stays within what Unix file systems hold
        // (255 bytes as UTF-8); together they take some 270 bytes in GBK.
        for (int i = 0; i < 5; ++i) {
            dir += L"进程管理器测试目录长路径中文名称检查缓冲区大小是否够" + std::to_wstring(i) + L"\\";
            ::CreateDirectoryW(dir.c_str(), nullptr);
            m_dirs.push_back(dir);
        }
        m_path = dir + L"fixture_icon.exe";
        ::CopyFileW(source.c_str(), m_path.c_str(), FALSE);
        m_process = std::make_unique<FixtureProcess>(m_path);
    }
    ~LongPathFixture() {
        m_process.reset();
        ::DeleteFileW(m_path.c_str());
        for (auto dir = m_dirs.rbegin(); dir != m_dirs.rend(); ++dir) ::RemoveDirectoryW(dir->c_str());
    }
    DWORD Id() const { return m_process->Id(); }
    HANDLE Handle() const { return m_process->Handle(); }
    std::string Path() const { return AnsiText(m_path); }
    std::string Folder() const { return AnsiText(m_dirs.back().substr(0, m_dirs.back().size() - 1)); }

private:
    std::vector<std::wstring> m_dirs;
    std::wstring m_path;
    std::unique_ptr<FixtureProcess> m_process;
};

TEST_F(IdentityTest, ProcessInALongChinesePathIsShownAndStopped) {
    LongPathFixture fixture;
    ASSERT_NE(0u, fixture.Id());
    ASSERT_GT(fixture.Path().size(), static_cast<size_t>(MAX_PATH));
    ASSERT_LT(fixture.Path().size(), 2u * MAX_PATH);

    pane->RefreshProcessList();
    HTREEITEM item = Item(fixture.Id());
    ASSERT_NE(nullptr, item);
    for (const TreeEntry& e : TreeChildren(tree, pane->m_hRootItem))
        if (e.item == item) {
            EXPECT_GE(e.image, 2) << "its own icon, read from the long path";
        }

    Select(item);
    EXPECT_EQ(kDetailLabels, Labels());
    ASSERT_GT(ModuleCount(), 0);
    EXPECT_EQ(fixture.Path(), AnsiText(frame->m_pPanelRight->ModulePath(0)));
    EXPECT_EQ("fixture_icon.exe", ListCellText(modules, 0, 0));
    EXPECT_EQ(fixture.Folder(), ListCellText(modules, 0, 1));

    auto boxes = StopConfirmed();
    ASSERT_EQ(1u, boxes.size()) << (boxes.size() > 1 ? boxes[1].text : "");
    EXPECT_EQ("是否要结束进程 fixture_icon.exe ？", boxes[0].text);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(fixture.Handle(), 5000));
    EXPECT_EQ(nullptr, Item(fixture.Id()));
}

}  // namespace
