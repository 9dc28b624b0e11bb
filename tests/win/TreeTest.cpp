// The process tree: items, icons, records, refills, a failing snapshot, and no leaks.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>

#include "Harness.h"
#include "ResourceCounts.h"
#include "panes/PanelLeft.h"
#include "platform/proc/Toolhelp.h"

namespace {

class TreeTest : public MainFrameTest {
protected:
    std::vector<TreeEntry> Items() { return TreeChildren(tree, pane->m_hRootItem); }
    const TreeEntry* Find(const std::vector<TreeEntry>& items, DWORD pid) {
        for (const TreeEntry& e : items)
            if (e.ProcessId() == pid) return &e;
        return nullptr;
    }
    // Everything a fill promises, whatever processes there are.
    void ExpectWellFormedFill() {
        auto roots = TreeChildren(tree, TVI_ROOT);
        ASSERT_EQ(1u, roots.size());
        EXPECT_EQ(pane->m_hRootItem, roots[0].item);
        EXPECT_EQ("进程列表", roots[0].text);
        EXPECT_EQ(0, roots[0].image);
        EXPECT_EQ(0, roots[0].selectedImage);
        EXPECT_EQ(0, roots[0].data);
        // A root without children has nothing to expand; with children it shows them.
        if (!Items().empty()) {
            EXPECT_TRUE(::SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(pane->m_hRootItem),
                                       TVIS_EXPANDED) & TVIS_EXPANDED);
        }
        EXPECT_EQ(nullptr, reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)));
        int withIcon = 0;
        std::set<int> images;
        for (const TreeEntry& e : Items()) {
            ASSERT_NE(0, e.data) << e.text;
            EXPECT_NE(0u, e.ProcessId()) << e.text;
            EXPECT_EQ(e.image, e.selectedImage);
            EXPECT_TRUE(TreeChildren(tree, e.item).empty());  // flat: no process under another
            if (e.image >= 2) {
                ++withIcon;
                EXPECT_TRUE(images.insert(e.image).second) << "image shared: " << e.text;
            } else {
                EXPECT_EQ(1, e.image);
            }
        }
        EXPECT_EQ(2 + withIcon, pane->m_imageList.GetImageCount());
    }

};

TEST_F(TreeTest, ListsEveryProcessWithItsOwnIconOrTheFallback) {
    FixtureProcess iconA("fixture_icon"), iconB("fixture_icon"), plain("fixture_noicon");
    pane->RefreshProcessList();
    ExpectWellFormedFill();
    auto items = Items();
    const TreeEntry* a = Find(items, iconA.Id());
    const TreeEntry* b = Find(items, iconB.Id());
    const TreeEntry* c = Find(items, plain.Id());
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ("fixture_icon.exe", a->text);
    EXPECT_EQ("fixture_icon.exe", b->text);
    EXPECT_EQ("fixture_noicon.exe", c->text);
    EXPECT_GE(a->image, 2);
    EXPECT_GE(b->image, 2);
    EXPECT_NE(a->image, b->image);  // each instance has an image of its own
    EXPECT_EQ(1, c->image);
    auto* record = reinterpret_cast<const ProcessItemData*>(a->data);
    EXPECT_EQ(::GetCurrentProcessId(), record->parentProcessId);
    EXPECT_EQ(nullptr, Find(items, 0));
    // Snapshot order: the processes the test started come in the order they were started.
    std::vector<DWORD> order;
    for (const TreeEntry& e : items)
        if (e.ProcessId() == iconA.Id() || e.ProcessId() == iconB.Id() || e.ProcessId() == plain.Id())
            order.push_back(e.ProcessId());
    EXPECT_EQ((std::vector<DWORD>{iconA.Id(), iconB.Id(), plain.Id()}), order);
}

TEST_F(TreeTest, RefillsFollowProcessesThatStartAndEnd) {
    FixtureProcess staying("fixture_icon"), ending("fixture_noicon");
    auto late = std::make_unique<FixtureProcess>("fixture_icon", "");
    for (int i = 0; i < 50; ++i) {
        if (i == 10) ending.End();
        if (i == 20) late = std::make_unique<FixtureProcess>("fixture_noicon");
        pane->RefreshProcessList();
    }
    ExpectWellFormedFill();
    auto items = Items();
    EXPECT_NE(nullptr, Find(items, staying.Id()));
    EXPECT_EQ(nullptr, Find(items, ending.Id()));
    const TreeEntry* started = Find(items, late->Id());
    ASSERT_NE(nullptr, started);
    EXPECT_EQ("fixture_noicon.exe", started->text);
}

// Processes that end and start while a fill is under way, between the process snapshot and the
// module snapshots: made to happen at the fill's first module snapshot.
struct Churn {
    std::vector<std::unique_ptr<FixtureProcess>> ending, starting;
    bool done = false;
};
Churn* g_churn = nullptr;

TEST_F(TreeTest, FillGoesOnWhileProcessesEndAndStartDuringIt) {
    Churn churn;
    for (int i = 0; i < 3; ++i) churn.ending.push_back(std::make_unique<FixtureProcess>("fixture_icon"));
    g_churn = &churn;
    g_seams.createSnapshot = [](DWORD flags, DWORD pid) -> HANDLE {
        if ((flags & TH32CS_SNAPMODULE) && !g_churn->done) {
            g_churn->done = true;
            for (auto& process : g_churn->ending) process->End();
            for (int i = 0; i < 3; ++i)
                g_churn->starting.push_back(std::make_unique<FixtureProcess>("fixture_noicon"));
        }
        return ::CreateToolhelp32Snapshot(flags, pid);
    };
    pane->RefreshProcessList();
    ASSERT_TRUE(churn.done);
    ExpectWellFormedFill();
    auto items = Items();
    // Ended after the snapshot: still listed, with the fallback image; started after it: absent.
    for (auto& process : churn.ending) {
        const TreeEntry* entry = Find(items, process->Id());
        ASSERT_NE(nullptr, entry);
        EXPECT_EQ("fixture_icon.exe", entry->text);
        EXPECT_EQ(1, entry->image);
    }
    for (auto& process : churn.starting) EXPECT_EQ(nullptr, Find(items, process->Id()));

    g_seams.createSnapshot = kSystemCalls.createSnapshot;
    pane->RefreshProcessList();
    items = Items();
    for (auto& process : churn.ending) EXPECT_EQ(nullptr, Find(items, process->Id()));
    for (auto& process : churn.starting) EXPECT_NE(nullptr, Find(items, process->Id()));
    g_churn = nullptr;
}

TEST_F(TreeTest, AnItemThatCannotBeInsertedLeavesNoImageBehind) {
    FixtureProcess refused("fixture_icon"), kept("fixture_icon");
    {
        // The tree refuses the items of one executable, as it would when out of memory.
        ControlImitation refusing(tree, [](ControlImitation& control, UINT msg, WPARAM wParam, LPARAM lParam) {
            auto* insert = reinterpret_cast<const TVINSERTSTRUCTA*>(lParam);
            if (msg == TVM_INSERTITEMA && insert->item.pszText && strcmp(insert->item.pszText, "fixture_icon.exe") == 0)
                return LRESULT{0};
            return control.CallControl(msg, wParam, lParam);
        });
        pane->RefreshProcessList();
    }
    EXPECT_EQ(nullptr, Find(Items(), refused.Id()));
    ExpectWellFormedFill();  // exactly one image for each item that found an icon

    pane->RefreshProcessList();  // and the next fill lists them again
    EXPECT_GE(Find(Items(), kept.Id())->image, 2);
    ExpectWellFormedFill();
}

// A refill the tree half refuses (the old items not deleted, the new root not inserted, or one
// step of the walk over the top items answered with none, each in turn) leaves one root, expanded,
// every item with its record and picture. The next refill is whole again.
TEST_F(TreeTest, ARefillTheTreeHalfRefusesLeavesItsOneRoot) {
    FixtureProcess fixture("fixture_icon");
    pane->RefreshProcessList();
    const size_t listed = Items().size();
    for (int refusal = 0; refusal < 6; ++refusal) {
        SCOPED_TRACE(refusal == 0 ? "the old items kept" : refusal == 1 ? "the root refused" : "a step of the walk lost");
        HTREEITEM oldRoot = pane->m_hRootItem;
        int steps = 0;
        {
            ControlImitation refusing(tree, [=, &steps](ControlImitation& control, UINT msg, WPARAM wParam, LPARAM lParam) {
                auto item = reinterpret_cast<HTREEITEM>(lParam);
                if (refusal == 0 && msg == TVM_DELETEITEM && (item == TVI_ROOT || item == oldRoot)) return LRESULT{FALSE};
                if (refusal == 1 && msg == TVM_INSERTITEMA &&
                    reinterpret_cast<const TVINSERTSTRUCTA*>(lParam)->hParent == TVI_ROOT)
                    return LRESULT{0};
                if (msg == TVM_GETNEXTITEM && ++steps == refusal - 1) return LRESULT{0};
                return control.CallControl(msg, wParam, lParam);
            });
            pane->RefreshProcessList();
        }
        ExpectWellFormedFill();
        EXPECT_EQ(listed, Items().size());
    }
    pane->RefreshProcessList();
    ExpectWellFormedFill();
    EXPECT_NE(nullptr, Find(Items(), fixture.Id()));
}

TEST_F(TreeTest, FailedSnapshotLeavesTheRootAloneExpanded) {
    g_seams.createSnapshot = [](DWORD, DWORD) -> HANDLE {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    };
    pane->RefreshProcessList();
    EXPECT_TRUE(Items().empty());
    EXPECT_EQ(2, pane->m_imageList.GetImageCount());
    ExpectWellFormedFill();
}

TEST_F(TreeTest, ModuleSnapshotIsAskedAgainWhileTheSystemSaysBadLength) {
    static int calls;
    calls = 0;
    g_seams.createSnapshot = [](DWORD flags, DWORD pid) -> HANDLE {
        if ((flags & TH32CS_SNAPMODULE) && ++calls < 3) {
            ::SetLastError(ERROR_BAD_LENGTH);
            return INVALID_HANDLE_VALUE;
        }
        return ::CreateToolhelp32Snapshot(flags, pid);
    };
    FixtureProcess iconed("fixture_icon");
    HICON icon = pane->GetProcessIcon(iconed.Id());
    EXPECT_NE(nullptr, icon);
    EXPECT_EQ(3, calls);
    if (icon) ::DestroyIcon(icon);
}

TEST_F(TreeTest, RefillsLeakNoHandlesAndNoGdiObjects) {
    FixtureProcess iconed("fixture_icon"), plain("fixture_noicon");
    // The measures must see a leak before they are trusted to see none.
    int handles0 = CountOwnHandles(), gdi0 = CountGdiObjects();
    HANDLE leakedEvent = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HBRUSH leakedBrush = ::CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_EQ(handles0 + 1, CountOwnHandles());
    EXPECT_EQ(gdi0 + 1, CountGdiObjects());
    ::CloseHandle(leakedEvent);
    ::DeleteObject(leakedBrush);
    // Each process item's record is a block of its own size.
    int records0 = CountHeapBlocks(sizeof(ProcessItemData));
    std::vector<HGLOBAL> leakedRecords;
    for (int i = 0; i < 10; ++i) leakedRecords.push_back(::GlobalAlloc(GMEM_FIXED, sizeof(ProcessItemData)));
    EXPECT_EQ(records0 + 10, CountHeapBlocks(sizeof(ProcessItemData)));
    for (HGLOBAL record : leakedRecords) ::GlobalFree(record);

    for (int i = 0; i < 5; ++i) pane->RefreshProcessList();  // let lazily made objects settle
    int handles = CountOwnHandles(), gdi = CountGdiObjects(), records = CountHeapBlocks(sizeof(ProcessItemData));
    for (int i = 0; i < 200; ++i) pane->RefreshProcessList();
    Pump();
    EXPECT_LE(CountOwnHandles(), handles);
    EXPECT_LE(CountGdiObjects(), gdi);
    // A fill's records go with its items: a leak would leave one per process per refill.
    EXPECT_LE(CountHeapBlocks(sizeof(ProcessItemData)), records + 20);
    ExpectWellFormedFill();
}

}  // namespace
