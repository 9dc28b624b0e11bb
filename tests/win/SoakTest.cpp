// A long run of everything the user can repeat, with the process's handles, GDI objects and
// private bytes read before and after. TESSILOR_SOAK_COUNT sets how often each step is done
// (100 in the test suite; scripts/soak.sh runs 1000).
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <cstdio>
#include <cstdlib>

#include "Harness.h"
#include "ResourceCounts.h"
#include "panes/PanelLeft.h"
#include "panes/PanelRight.h"
#include "res/resource.h"

namespace {

struct Figures {
    int handles;
    int gdi;
    SIZE_T privateBytes;
};

Figures Measure() {
    PROCESS_MEMORY_COUNTERS_EX memory{};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                           sizeof(memory));
    // Wine leaves the private-bytes counter at 0; its page-file usage counts the same memory.
    return {CountOwnHandles(), CountGdiObjects(), memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage};
}

// Wine's free-block checks (the test runner turns them on) keep released blocks out of use for a
// while, so the process grows under them whatever it does; memory is judged without them, as
// scripts/soak.sh runs.
bool HeapFreeChecksOn() {
    const ULONG kFreeCheck = 0x20;
    const BYTE* peb = ProcessBlock();
    return (*reinterpret_cast<const ULONG*>(peb + 0xBC) & kFreeCheck) != 0;  // NtGlobalFlag (x64)
}

int SoakCount() {
    const char* text = std::getenv("TESSILOR_SOAK_COUNT");
    int n = text ? std::atoi(text) : 0;
    return n > 0 ? n : 100;
}

// Every step once; the soak repeats it.
class Steps {
public:
    explicit Steps(COurFrame* frame) : m_frame(frame) {}

    void Refill() { m_frame->SendMessage(WM_COMMAND, ID_REFRESH); }
    void SelectAndTick(DWORD pid) {
        CPanelLeft* tree = m_frame->m_pPanelLeft;
        tree->SelectItem(FindProcessItem(tree->m_hWnd, tree->m_hRootItem, pid));
        tree->SendMessage(WM_TIMER, DETAIL_TIMER_ID);
        tree->SendMessage(WM_TIMER, DETAIL_TIMER_ID);
    }
    void FocusModule(int row) {
        m_frame->m_pPanelRight->SetItemState(row, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    }
    void Boxed(UINT command) {
        BoxAnswerer answers;
        answers.Expect(IDOK);
        m_frame->SendMessage(WM_COMMAND, command);
        Pump();
    }

private:
    COurFrame* m_frame;
};

TEST(Soak, RepeatedUseLeaksNothing) {
    COurFrame* frame = StartMainFrame();
    ASSERT_NE(nullptr, frame);
    FixtureProcess a("fixture_icon"), b("fixture_noicon");
    Steps steps(frame);
    const int n = SoakCount();
    auto round = [&](int count) {
        for (int i = 0; i < count; ++i) steps.Refill();
        for (int i = 0; i < count; ++i) steps.SelectAndTick(i % 2 ? a.Id() : b.Id());
        steps.SelectAndTick(::GetCurrentProcessId());
        int rows = static_cast<int>(frame->m_pPanelRight->SendMessage(LVM_GETITEMCOUNT));
        for (int i = 0; i < count; ++i) steps.FocusModule(i % (rows > 0 ? rows : 1));
        for (int i = 0; i < count / 10; ++i) steps.Boxed(ID_PORT_LIST);
        for (int i = 0; i < count / 10; ++i) frame->SendMessage(WM_COMMAND, ID_REBUILD_ICON_CACHE);
        for (int i = 0; i < count / 10; ++i) steps.Boxed(ID_APP_ABOUT);
        Pump();
    };
    round(10);  // let what is made once, lazily, be made
    Figures before = Measure();
    round(n);
    Figures after = Measure();
    std::printf("soak x%d: handles %d -> %d, GDI objects %d -> %d, private bytes %llu -> %llu\n", n, before.handles,
                after.handles, before.gdi, after.gdi, static_cast<unsigned long long>(before.privateBytes),
                static_cast<unsigned long long>(after.privateBytes));
    EXPECT_LE(after.handles, before.handles + before.handles / 50);
    EXPECT_LE(after.gdi, before.gdi + before.gdi / 50);
    if (!HeapFreeChecksOn()) {
        EXPECT_LE(after.privateBytes, before.privateBytes + before.privateBytes / 50);
    }
    CloseMainFrame();
}

}  // namespace
