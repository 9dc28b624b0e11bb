// What the user sees after using the window with the real mouse: every pane whole after the
// splitter bars are dragged and the bars hidden and shown, and the status bar's prompt following
// the mouse over the toolbar.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Harness.h"
#include "panes/PanelLeft.h"
#include "panes/PanelRTop.h"
#include "panes/PanelRight.h"
#include "res/resource.h"

namespace {

// Real input, as the mouse driver gives it: the system finds the window under the pointer.
void MouseInput(DWORD flags, POINT screen = {0, 0}) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_MOVE) {
        input.mi.dwFlags |= MOUSEEVENTF_ABSOLUTE;
        input.mi.dx = ::MulDiv(screen.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = ::MulDiv(screen.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    ::SendInput(1, &input, sizeof(input));
    Pump(30);
}

void MoveMouse(POINT screen) { MouseInput(MOUSEEVENTF_MOVE, screen); }

POINT ScreenPoint(HWND hwnd, int x, int y) {
    POINT pt{x, y};
    ::ClientToScreen(hwnd, &pt);
    return pt;
}

class ScreenTest : public MainFrameTest {
protected:
    void SetUp() override {
        MainFrameTest::SetUp();
        if (HasFatalFailure()) return;
        // On screen, on top, away from where other tests leave their windows.
        ::SetWindowPos(frame->m_hWnd, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE);
        ::SetForegroundWindow(frame->m_hWnd);
        // Some rows in both lists, so that stale parts would show.
        HTREEITEM item = Item(::GetCurrentProcessId());
        ASSERT_NE(nullptr, item);
        Select(item);
        pane->KillTimer(DETAIL_TIMER_ID);  // no tick may change a row between two captures
        frame->UpdateCommandUI();          // as the idle time after start-up does
        Pump(300);
    }

    // The frame's client area as it is on the screen now.
    std::vector<DWORD> Capture() {
        RECT client;
        ::GetClientRect(frame->m_hWnd, &client);
        POINT origin = ScreenPoint(frame->m_hWnd, 0, 0);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = client.right;
        info.bmiHeader.biHeight = -client.bottom;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        std::vector<DWORD> pixels(static_cast<size_t>(client.right) * client.bottom);
        HDC screen = ::GetDC(nullptr);
        HDC memory = ::CreateCompatibleDC(screen);
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::BitBlt(memory, 0, 0, client.right, client.bottom, screen, origin.x, origin.y, SRCCOPY);
        ::SelectObject(memory, old);
        ::GetDIBits(memory, bitmap, 0, static_cast<UINT>(client.bottom), pixels.data(), &info, DIB_RGB_COLORS);
        ::DeleteObject(bitmap);
        ::DeleteDC(memory);
        ::ReleaseDC(nullptr, screen);
        return pixels;
    }

    // What is on the screen must be what a full repaint draws.
    void ExpectWhole(const char* after) {
        Pump(300);
        std::vector<DWORD> seen = Capture();
        ::RedrawWindow(frame->m_hWnd, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump(300);
        std::vector<DWORD> whole = Capture();
        ASSERT_EQ(whole.size(), seen.size());
        size_t stale = 0;
        for (size_t i = 0; i < whole.size(); ++i) stale += seen[i] != whole[i];
        EXPECT_EQ(0u, stale) << "pixels not repainted after " << after;
    }

    // Drags a splitter bar with the mouse, from a point of the splitter's client area, by steps.
    void DragBar(HWND splitter, POINT from, int dx, int dy) {
        MoveMouse(ScreenPoint(splitter, from.x, from.y));
        MouseInput(MOUSEEVENTF_LEFTDOWN);
        for (int step = 1; step <= 4; ++step)
            MoveMouse(ScreenPoint(splitter, from.x + dx * step / 4, from.y + dy * step / 4));
        MouseInput(MOUSEEVENTF_LEFTUP);
    }

    std::string StatusText() {
        char text[256] = "";
        frame->m_wndStatusBar.SendMessage(SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
        return text;
    }
    // Pumps until pane 0 shows the text, or for a few seconds.
    std::string StatusTextOnceItIs(const std::string& wanted) {
        for (int i = 0; i < 100 && StatusText() != wanted; ++i) Pump(30);
        return StatusText();
    }
    POINT ButtonCentre(UINT id) {
        HWND toolbar = frame->m_wndToolBar.m_hWnd;
        RECT r;
        int index = static_cast<int>(::SendMessageA(toolbar, TB_COMMANDTOINDEX, id, 0));
        ::SendMessageA(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        return ScreenPoint(toolbar, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
};

TEST_F(ScreenTest, EveryPaneIsWholeAfterDraggingAndTogglingTheBars) {
    HWND outer = frame->m_wndSplitter.m_hWnd, inner = frame->m_wndSplitterRight.m_hWnd;
    const int bar = CSplitterWnd::kBarWidth / 2;
    DragBar(outer, POINT{180 + bar, 100}, 60, 0);
    RECT moved;
    ::GetWindowRect(pane->m_hWnd, &moved);
    EXPECT_EQ(240, moved.right - moved.left);  // the drag went through
    ExpectWhole("dragging the vertical bar to the right");
    DragBar(outer, POINT{240 + bar, 100}, -90, 0);
    ExpectWhole("dragging the vertical bar to the left");
    DragBar(inner, POINT{100, 140 + bar}, 0, 50);
    ExpectWhole("dragging the horizontal bar down");
    DragBar(inner, POINT{100, 190 + bar}, 0, -80);
    ExpectWhole("dragging the horizontal bar up");
    for (UINT id : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}) {
        frame->SendMessage(WM_COMMAND, id);
        ExpectWhole("hiding a bar");
        frame->SendMessage(WM_COMMAND, id);
        ExpectWhole("showing a bar again");
    }
}

TEST_F(ScreenTest, StatusPromptFollowsTheMouseOverGreyedAndEnabledButtons) {
    MoveMouse(ButtonCentre(ID_EDIT_COPY));  // greyed: nobody handles Copy
    EXPECT_FALSE(frame->m_wndToolBar.SendMessage(TB_ISBUTTONENABLED, ID_EDIT_COPY));
    EXPECT_EQ("复制被选对象并将其置于剪贴板上", StatusTextOnceItIs("复制被选对象并将其置于剪贴板上"));
    RECT treeRect;
    ::GetClientRect(tree, &treeRect);
    MoveMouse(ScreenPoint(tree, treeRect.right / 2, treeRect.bottom / 2));
    EXPECT_EQ("就绪", StatusTextOnceItIs("就绪"));

    MoveMouse(ButtonCentre(ID_APP_ABOUT));
    EXPECT_EQ("显示程序信息，版本号和版权", StatusTextOnceItIs("显示程序信息，版本号和版权"));
    MoveMouse(ButtonCentre(ID_EDIT_PASTE));  // from button to button, greyed or not
    EXPECT_EQ("插入剪贴板内容", StatusTextOnceItIs("插入剪贴板内容"));
    MoveMouse(ScreenPoint(tree, treeRect.right / 2, treeRect.bottom / 2));
    EXPECT_EQ("就绪", StatusTextOnceItIs("就绪"));
}

}  // namespace
