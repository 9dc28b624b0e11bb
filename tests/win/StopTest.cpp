// The toolbar's refresh and stop commands.
#include <gtest/gtest.h>

#include "Harness.h"
#include "panes/PanelLeft.h"
#include "panes/PanelRTop.h"
#include "platform/seams/Seams.h"
#include "res/resource.h"

namespace {

// Native tree controls delete all items one by one and, as each selected item goes, select
// another with a selection change for it; Wine's control drops them all at once. While this
// answers, the tree deletes them the native way.
LRESULT DeleteOneByOne(ControlImitation& tree, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == TVM_DELETEITEM && reinterpret_cast<HTREEITEM>(lParam) == TVI_ROOT) {
        auto next = [&](UINT relation, HTREEITEM item) {
            return reinterpret_cast<HTREEITEM>(
                tree.CallControl(TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
        };
        while (HTREEITEM top = next(TVGN_ROOT, nullptr)) {
            while (HTREEITEM child = next(TVGN_CHILD, top))
                tree.CallControl(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(child));
            tree.CallControl(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(top));
        }
        return TRUE;
    }
    return tree.CallControl(msg, wParam, lParam);
}

class StopTest : public MainFrameTest {
protected:
    void Command(UINT id) { frame->SendMessage(WM_COMMAND, id); }
    size_t ItemCount() { return TreeChildren(tree, pane->m_hRootItem).size(); }
};

TEST_F(StopTest, BothButtonsAreAlwaysEnabled) {
    frame->UpdateCommandUI();
    EXPECT_TRUE(frame->m_wndToolBar.SendMessage(TB_ISBUTTONENABLED, ID_REFRESH));
    EXPECT_TRUE(frame->m_wndToolBar.SendMessage(TB_ISBUTTONENABLED, ID_STOP_PROCESS));
}

TEST_F(StopTest, ConfirmedStopEndsTheProcessWithExitCodeOne) {
    FixtureProcess fixture("fixture_icon");
    SelectProcess(fixture.Id());
    BoxAnswerer answers;
    answers.Expect(IDOK);
    Command(ID_STOP_PROCESS);
    ASSERT_EQ(1u, answers.boxes.size());
    EXPECT_EQ("Tessilor", answers.boxes[0].caption);
    EXPECT_EQ("是否要结束进程 fixture_icon.exe ？", answers.boxes[0].text);
    EXPECT_TRUE(answers.boxes[0].hasOk && answers.boxes[0].hasCancel);
    EXPECT_TRUE(answers.boxes[0].exclamation);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(fixture.Handle(), 5000));
    EXPECT_EQ(1u, fixture.ExitCode());  // not 259, which reads as "still running"
    EXPECT_EQ(nullptr, Item(fixture.Id()));
    EXPECT_EQ(0, answers.Unexpected());
}

TEST_F(StopTest, CancelLeavesProcessAndTree) {
    FixtureProcess fixture("fixture_icon");
    SelectProcess(fixture.Id());
    size_t before = ItemCount();
    BoxAnswerer answers;
    answers.Expect(IDCANCEL);
    Command(ID_STOP_PROCESS);
    EXPECT_EQ(1u, answers.boxes.size());
    EXPECT_TRUE(fixture.Running());
    EXPECT_EQ(before, ItemCount());
}

TEST_F(StopTest, RootOrNothingSelectedAsksNothing) {
    BoxAnswerer answers;
    Command(ID_STOP_PROCESS);  // nothing selected after a fill
    Select(pane->m_hRootItem);
    Command(ID_STOP_PROCESS);
    EXPECT_TRUE(answers.boxes.empty());
}

TEST_F(StopTest, ProcessThatEndedAfterTheFillCannotBeOpened) {
    FixtureProcess fixture("fixture_noicon");
    SelectProcess(fixture.Id());
    fixture.End();
    size_t before = ItemCount();
    auto boxes = StopConfirmed();
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ("不能打开进程", boxes[1].text);
    EXPECT_FALSE(boxes[1].hasCancel);
    EXPECT_EQ(before, ItemCount());
}

TEST_F(StopTest, IdNowRunningAnotherExecutableIsNotEnded) {
    FixtureProcess other("fixture_noicon");
    // An item that names one executable while its id belongs to a process of another.
    Select(InsertProcessItem(tree, pane->m_hRootItem, "fixture_icon.exe", other.Id(), 0));
    auto boxes = StopConfirmed();
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ("不能打开进程", boxes[1].text);
    EXPECT_TRUE(other.Running());
}

TEST_F(StopTest, AProcessThatWillNotEndIsReportedAndStaysListed) {
    FixtureProcess fixture("fixture_icon");
    SelectProcess(fixture.Id());
    g_seams.terminateProcess = [](HANDLE, UINT) -> BOOL {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    };
    auto boxes = StopConfirmed();
    g_seams.terminateProcess = kSystemCalls.terminateProcess;
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ("结束进程失败", boxes[1].text);
    EXPECT_FALSE(boxes[1].hasCancel);
    EXPECT_TRUE(fixture.Running());
    EXPECT_NE(nullptr, Item(fixture.Id()));
}

TEST_F(StopTest, RefreshStopsTheDetailRefreshAndFollowsProcesses) {
    FixtureProcess ending("fixture_icon");
    SelectProcess(ending.Id());
    CListView* props = frame->m_pPanelRTop;
    ASSERT_GT(props->SendMessage(LVM_GETITEMCOUNT), 0);

    FixtureProcess started("fixture_noicon");
    ending.End();
    Command(ID_REFRESH);
    EXPECT_EQ(nullptr, Item(ending.Id()));
    EXPECT_NE(nullptr, Item(started.Id()));
    // The rows stay on show, but nothing rewrites them any more.
    // No timer is left to tick: the system says so when asked to kill it.
    UpdatePropertyRow(props, "stale", "进程启动时间");
    EXPECT_EQ("stale", ListCellText(props->m_hWnd, 2, 1));
    EXPECT_FALSE(::KillTimer(tree, DETAIL_TIMER_ID));

    // Selecting a process starts the refresh again: a timer runs, and its tick rewrites.
    Select(Item(started.Id()));
    UpdatePropertyRow(props, "stale", "进程启动时间");
    ASSERT_TRUE(::KillTimer(tree, DETAIL_TIMER_ID));
    Tick();
    EXPECT_NE("stale", ListCellText(props->m_hWnd, 2, 1));
}

TEST_F(StopTest, RefillWithAProcessSelectedSelectsNoProcessOnTheWay) {
    FixtureProcess a("fixture_icon"), b("fixture_noicon");
    pane->RefreshProcessList();
    // Every refill below deletes the items one by one, as native controls do.
    // Every place a selected item can stand: first, among others, last.
    for (int place = 0; place < 3; ++place) {
        auto items = TreeChildren(tree, pane->m_hRootItem);
        ASSERT_GE(items.size(), 3u);
        Select(place == 0 ? items.front().item : place == 1 ? Item(a.Id()) : items.back().item);
        ASSERT_TRUE(::KillTimer(tree, DETAIL_TIMER_ID));
        ::SetTimer(tree, DETAIL_TIMER_ID, 1000, nullptr);
        // Every selection change the tree sends that names a process item as newly selected.
        int selected = 0;
        {
            MessageRecorder recorder([&](const MSG& msg, bool posted) {
                if (posted || msg.message != WM_NOTIFY) return;
                auto* tv = reinterpret_cast<const NMTREEVIEWA*>(msg.lParam);
                UINT code = static_cast<UINT>(tv->hdr.code);
                selected += tv->hdr.hwndFrom == tree && tv->itemNew.lParam &&
                            (code == static_cast<UINT>(TVN_SELCHANGEDA) || code == static_cast<UINT>(TVN_SELCHANGEDW));
            });
            ControlImitation native(tree, DeleteOneByOne);
            Command(ID_REFRESH);
        }
        EXPECT_EQ(0, selected) << "process items selected";
        EXPECT_FALSE(::KillTimer(tree, DETAIL_TIMER_ID));  // stopped by the refresh, and not started again
        EXPECT_EQ(nullptr, reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)));
    }
}

}  // namespace
