// Out of memory anywhere: a counting allocator fails the N-th allocation of one operation, for
// N = 1, 2, ... until the operation runs through without reaching it (the way SQLite tests its
// own). After each failure the frame still answers, the same operation then works, and nothing
// is left behind: no allocation, handle or GDI object more than after the operation alone.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <new>

#include "Harness.h"
#include "ResourceCounts.h"
#include "panes/PanelLeft.h"
#include "panes/PanelRight.h"
#include "res/resource.h"

namespace {
long g_countdown = -1;  // allocations still allowed before one fails; -1: none fails
bool g_failed = false;  // whether one failed since the counter was set
long g_live = 0;        // blocks allocated and not yet freed
long g_paused = -1;     // the count while the harness's own code runs

void PauseForHarness(bool entering) {
    if (entering) {
        g_paused = g_countdown;
        g_countdown = -1;
    } else {
        g_countdown = g_paused;
    }
}
}  // namespace

void* operator new(size_t size) {
    if (g_countdown == 0) {
        g_countdown = -1;
        g_failed = true;
        throw std::bad_alloc();
    }
    if (g_countdown > 0) --g_countdown;
    void* block = std::malloc(size ? size : 1);
    if (!block) throw std::bad_alloc();
    ++g_live;
    return block;
}
void* operator new[](size_t size) { return ::operator new(size); }
void operator delete(void* block) noexcept {
    if (!block) return;
    --g_live;
    std::free(block);
}
void operator delete[](void* block) noexcept { ::operator delete(block); }
void operator delete(void* block, size_t) noexcept { ::operator delete(block); }
void operator delete[](void* block, size_t) noexcept { ::operator delete(block); }

namespace {

struct Held {
    long blocks;
    int handles, gdi;
};
Held Holdings() { return {g_live, CountOwnHandles(), CountGdiObjects()}; }

class OutOfMemoryTest : public MainFrameTest {
protected:
    // Fails each allocation of `operation` in turn; after each, checks that the frame answers and
    // that `operation` (with `works` saying it did) then runs, leaving what it alone leaves. Prints
    // how many allocations were failed.
    void FailEachAllocation(const char* name, const std::function<void()>& prepare,
                            const std::function<void()>& operation, const std::function<void()>& works) {
        int failed = Failures(prepare, operation, works);
        std::printf("%s: %d allocations failed, one at a time\n", name, failed);
    }
    int Failures(const std::function<void()>& prepare, const std::function<void()>& operation,
                 const std::function<void()>& works) {
        g_harnessCode = PauseForHarness;
        // What the operation holds once it has run: after one failed run and two whole ones, so
        // that what the system makes once (for the first exception, say) has been made.
        for (int i = 0; i < 3; ++i) {
            prepare();
            g_countdown = i == 0 ? 0 : -1;
            operation();
            g_countdown = -1;
        }
        Pump();
        const Held alone = Holdings();
        for (int n = 0; n < 5000; ++n) {
            prepare();
            g_failed = false;
            g_countdown = n;
            operation();
            g_countdown = -1;
            if (!g_failed) return n;
            DWORD_PTR answer = 0;
            EXPECT_TRUE(::SendMessageTimeoutA(frame->m_hWnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer))
                << "allocation " << n + 1;
            prepare();
            operation();
            works();
            Pump();
            Held after = Holdings();
            EXPECT_EQ(alone.blocks, after.blocks) << "allocation " << n + 1;
            EXPECT_LE(after.handles, alone.handles) << "allocation " << n + 1;
            EXPECT_LE(after.gdi, alone.gdi) << "allocation " << n + 1;
            if (HasFailure()) return n;
        }
        ADD_FAILURE() << "the operation never ran through";
        return -1;
    }
};

TEST_F(OutOfMemoryTest, SelectionModuleFocusAndRefresh) {
    FixtureProcess fixture("fixture_icon");
    pane->RefreshProcessList();
    HTREEITEM item = Item(fixture.Id());
    ASSERT_NE(nullptr, item);
    auto reselect = [&] { Select(pane->m_hRootItem); };

    FailEachAllocation("selection", reselect, [&] { Select(item); }, [&] { EXPECT_EQ(kDetailLabels, Labels()); });
    FailEachAllocation("tick", [&] { reselect(); Select(item); }, [&] { Tick(); },
                       [&] { EXPECT_EQ(kDetailLabels, Labels()); });
    FailEachAllocation("refresh", [] {}, [&] { frame->SendMessage(WM_COMMAND, ID_REFRESH); }, [&] {
        auto roots = TreeChildren(tree, TVI_ROOT);
        ASSERT_EQ(1u, roots.size());
        EXPECT_NE(nullptr, FindProcessItem(tree, roots[0].item, fixture.Id()));
    });

    // This program's own module has a version resource, whose six strings are shown.
    SelectProcess(::GetCurrentProcessId());
    CPanelRight* list = frame->m_pPanelRight;
    const UINT focused = LVIS_FOCUSED | LVIS_SELECTED;
    FailEachAllocation("module focus", [&] { list->SetItemState(0, 0, focused); },
                       [&] { list->SetItemState(0, focused, focused); },
                       [&] { EXPECT_EQ(6u, Labels().size()); });
}

TEST_F(OutOfMemoryTest, PortListAndStop) {
    // Every box is answered OK, by an answerer made outside the operation, whose allocations count.
    std::unique_ptr<BoxAnswerer> answers;
    auto answerAll = [&] {
        answers.reset();  // the answerers nest: the old one goes before the new one comes
        answers = std::make_unique<BoxAnswerer>();
        for (int i = 0; i < 3; ++i) answers->Expect(IDOK);
    };
    FailEachAllocation("port list", answerAll, [&] { frame->SendMessage(WM_COMMAND, ID_PORT_LIST); }, [&] {
        ASSERT_EQ(1u, answers->boxes.size());
        EXPECT_NE("", answers->boxes[0].text);
    });

    std::unique_ptr<FixtureProcess> fixture;
    auto stoppable = [&] {
        fixture.reset();  // ended, if it still runs
        fixture = std::make_unique<FixtureProcess>("fixture_noicon");
        SelectProcess(fixture->Id());
        answerAll();
    };
    FailEachAllocation("stop", stoppable, [&] { frame->SendMessage(WM_COMMAND, ID_STOP_PROCESS); }, [&] {
        EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(fixture->Handle(), 5000));
        EXPECT_EQ(nullptr, Item(fixture->Id()));
    });
}

}  // namespace
