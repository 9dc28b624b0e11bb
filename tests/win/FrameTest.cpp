// The main window: size, title, panes, command greying, bars, prompts, tooltips, pane switching,
// message boxes and the end of the message loop.
#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <set>

#include "Harness.h"
#include "app/MainApp.h"
#include "frame/Design.h"
#include "panes/PanelLeft.h"
#include "panes/PanelRTop.h"
#include "panes/PanelRight.h"
#include "res/resource.h"

namespace {

// A picture as drawn on white at this size, pixel by pixel; the icon is destroyed.
std::vector<DWORD> Drawn(HICON icon, int size) {
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    ::PatBlt(dc, 0, 0, size, size, WHITENESS);
    ::DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    std::vector<DWORD> pixels(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + size * size);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::DestroyIcon(icon);
    return pixels;
}

class FrameTest : public MainFrameTest {
protected:

    HMENU SubMenu(int index) { return ::GetSubMenu(::GetMenu(frame->m_hWnd), index); }
    // Runs the command update of a drop-down menu as opening it would.
    UINT MenuState(int menuIndex, UINT id) {
        HMENU popup = SubMenu(menuIndex);
        frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(menuIndex, FALSE));
        return ::GetMenuState(popup, id, MF_BYCOMMAND);
    }
    bool ButtonEnabled(UINT id) {
        frame->UpdateCommandUI();
        return frame->m_wndToolBar.SendMessage(TB_ISBUTTONENABLED, id) != 0;
    }
    std::string StatusText(int pane = 0) { return frame->m_wndStatusBar.GetPaneText(pane); }
    // The tooltip of a toolbar command, as the frame answers the toolbar's tooltip control.
    std::string Tip(UINT id) {
        NMTTDISPINFOA info{};
        info.hdr.hwndFrom = reinterpret_cast<HWND>(frame->m_wndToolBar.SendMessage(TB_GETTOOLTIPS));
        info.hdr.idFrom = id;
        info.hdr.code = TTN_GETDISPINFOA;
        frame->SendMessage(WM_NOTIFY, id, reinterpret_cast<LPARAM>(&info));
        return std::string(info.lpszText ? info.lpszText : info.szText);
    }
    // The status bar's text while a menu item is highlighted.
    std::string Prompt(UINT id) {
        frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(id, MF_HILITE), reinterpret_cast<LPARAM>(SubMenu(0)));
        return StatusText();
    }
    static int Width(HWND h) { RECT r; ::GetWindowRect(h, &r); return r.right - r.left; }
    static int Height(HWND h) { RECT r; ::GetWindowRect(h, &r); return r.bottom - r.top; }

};

TEST_F(FrameTest, OpensAt600By400WithItsTitle) {
    EXPECT_EQ(600, Width(frame->m_hWnd));
    EXPECT_EQ(400, Height(frame->m_hWnd));
    char title[128] = "";
    ::GetWindowTextA(frame->m_hWnd, title, sizeof(title));
    EXPECT_STREQ("Quorvane进程管理器", title);
    EXPECT_TRUE(::IsWindowVisible(frame->m_hWnd));
}

TEST_F(FrameTest, PanesStartAtTheirIdealSizes) {
    ASSERT_NE(nullptr, frame->m_pPanelLeft);
    ASSERT_NE(nullptr, frame->m_pPanelRTop);
    ASSERT_NE(nullptr, frame->m_pPanelRight);
    ExpectDesignAtScale(frame, 96, 0);
    ExpectFontsAtScale(frame, 96);
    RECT inner;
    ::GetClientRect(frame->m_wndSplitterRight.m_hWnd, &inner);
    EXPECT_EQ(inner.bottom - 140 - CSplitterWnd::kBarWidth, Height(frame->m_pPanelRight->m_hWnd));
    // The right column takes the rest of the outer splitter.
    RECT outer;
    ::GetClientRect(frame->m_wndSplitter.m_hWnd, &outer);
    EXPECT_EQ(outer.right - 180 - CSplitterWnd::kBarWidth, Width(frame->m_wndSplitterRight.m_hWnd));
    for (HWND list : {frame->m_pPanelRTop->m_hWnd, frame->m_pPanelRight->m_hWnd}) {
        EXPECT_EQ(static_cast<LRESULT>(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT),
                  ::SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
        EXPECT_EQ(static_cast<LONG_PTR>(LVS_REPORT), ::GetWindowLongPtrA(list, GWL_STYLE) & LVS_TYPEMASK);
    }
    // The panes are the real controls.
    char cls[64];
    ::GetClassNameA(frame->m_pPanelLeft->m_hWnd, cls, sizeof(cls));
    EXPECT_STREQ("SysTreeView32", cls);
    ::GetClassNameA(frame->m_pPanelRight->m_hWnd, cls, sizeof(cls));
    EXPECT_STREQ("SysListView32", cls);
}

TEST_F(FrameTest, CommandsNobodyHandlesAreGreyedInMenuAndToolbar) {
    for (UINT id : {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE})
        EXPECT_TRUE(MenuState(1, id) & MF_GRAYED) << id;
    for (UINT id : {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_FILE_PRINT})
        EXPECT_FALSE(ButtonEnabled(id)) << id;
    // What the layer handles itself stays usable.
    EXPECT_FALSE(MenuState(0, ID_APP_EXIT) & MF_GRAYED);
    EXPECT_FALSE(MenuState(2, ID_VIEW_TOOLBAR) & MF_GRAYED);
    EXPECT_TRUE(ButtonEnabled(ID_APP_ABOUT));
}

TEST_F(FrameTest, GreyedCommandKeysDoNothingWhateverPaneHasFocus) {
    // Ctrl+C through the accelerators reaches the frame as a command nobody handles; the
    // tree's selection and the lists stay as they were.
    for (CWnd* pane : {static_cast<CWnd*>(frame->m_pPanelLeft), static_cast<CWnd*>(frame->m_pPanelRTop),
                       static_cast<CWnd*>(frame->m_pPanelRight)}) {
        ::SetFocus(pane->m_hWnd);
        BYTE keys[256];
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        ::SetKeyboardState(keys);
        MSG msg{pane->m_hWnd, WM_KEYDOWN, 'C', 0, 0, {}};
        EXPECT_TRUE(theApp.PreTranslateMessage(&msg));  // taken by the accelerator table...
        keys[VK_CONTROL] = 0;
        ::SetKeyboardState(keys);
        Pump();
        EXPECT_EQ(pane->m_hWnd, ::GetFocus());  // ...and nothing came of it
    }
    CCmdUI state;
    EXPECT_FALSE(frame->OnCmdMsg(ID_EDIT_COPY, &state));
}

TEST_F(FrameTest, ViewTogglesHideAndShowTheBarsWithCheckMarks) {
    HWND splitter = frame->m_wndSplitter.m_hWnd;
    RECT before;
    ::GetWindowRect(splitter, &before);
    EXPECT_TRUE(MenuState(2, ID_VIEW_TOOLBAR) & MF_CHECKED);
    frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_FALSE(::IsWindowVisible(frame->m_wndToolBar.m_hWnd));
    EXPECT_FALSE(MenuState(2, ID_VIEW_TOOLBAR) & MF_CHECKED);
    RECT without;
    ::GetWindowRect(splitter, &without);
    EXPECT_LT(without.top, before.top);  // the panes take the toolbar's room
    frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_TRUE(::IsWindowVisible(frame->m_wndToolBar.m_hWnd));
    EXPECT_TRUE(MenuState(2, ID_VIEW_TOOLBAR) & MF_CHECKED);

    EXPECT_TRUE(MenuState(2, ID_VIEW_STATUS_BAR) & MF_CHECKED);
    frame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(::IsWindowVisible(frame->m_wndStatusBar.m_hWnd));
    EXPECT_FALSE(MenuState(2, ID_VIEW_STATUS_BAR) & MF_CHECKED);
    ::GetWindowRect(splitter, &without);
    EXPECT_GT(without.bottom, before.bottom);
    frame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(::IsWindowVisible(frame->m_wndStatusBar.m_hWnd));
    EXPECT_TRUE(MenuState(2, ID_VIEW_STATUS_BAR) & MF_CHECKED);
}

TEST_F(FrameTest, StatusBarShowsPromptsAndIdleText) {
    EXPECT_EQ("就绪", StatusText());
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_VIEW_TOOLBAR, MF_HILITE),
                       reinterpret_cast<LPARAM>(SubMenu(2)));
    EXPECT_EQ("显示或隐藏工具栏", StatusText());
    // A highlighted drop-down title has no prompt of its own.
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(2, MF_POPUP | MF_HILITE),
                       reinterpret_cast<LPARAM>(::GetMenu(frame->m_hWnd)));
    EXPECT_EQ("就绪", StatusText());
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_REBUILD_ICON_CACHE, MF_HILITE),
                       reinterpret_cast<LPARAM>(SubMenu(3)));
    EXPECT_EQ("Windows显示图标有错误的时候，可以用这个恢复正常", StatusText());
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);  // the menu closed
    EXPECT_EQ("就绪", StatusText());

    // The toolbar button under the mouse, and the mouse gone from the bar.
    int aboutIndex = static_cast<int>(frame->m_wndToolBar.SendMessage(TB_COMMANDTOINDEX, ID_APP_ABOUT));
    RECT button;
    frame->m_wndToolBar.SendMessage(TB_GETITEMRECT, aboutIndex, reinterpret_cast<LPARAM>(&button));
    frame->m_wndToolBar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2));
    EXPECT_EQ("显示程序信息，版本号和版权", StatusText());
    frame->m_wndToolBar.SendMessage(WM_MOUSELEAVE);
    EXPECT_EQ("就绪", StatusText());
}

TEST_F(FrameTest, IndicatorsFollowTheLockKeys) {
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_CAPITAL] = 1;
    keys[VK_NUMLOCK] = 0;
    keys[VK_SCROLL] = 1;
    ::SetKeyboardState(keys);
    frame->UpdateCommandUI();
    EXPECT_EQ("大写", StatusText(1));
    EXPECT_EQ("", StatusText(2));
    EXPECT_EQ("滚动", StatusText(3));
    keys[VK_CAPITAL] = keys[VK_SCROLL] = 0;
    keys[VK_NUMLOCK] = 1;
    ::SetKeyboardState(keys);
    frame->UpdateCommandUI();
    EXPECT_EQ("", StatusText(1));
    EXPECT_EQ("数字", StatusText(2));
    EXPECT_EQ("", StatusText(3));
    keys[VK_NUMLOCK] = 0;
    ::SetKeyboardState(keys);
}

TEST_F(FrameTest, F6AndShiftF6SwitchBetweenTheRightHandPanes) {
    HWND top = frame->m_pPanelRTop->m_hWnd, bottom = frame->m_pPanelRight->m_hWnd;
    ::SetFocus(top);
    frame->SendMessage(WM_COMMAND, ID_NEXT_PANE);
    EXPECT_EQ(bottom, ::GetFocus());
    frame->SendMessage(WM_COMMAND, ID_NEXT_PANE);  // wraps inside the inner splitter
    EXPECT_EQ(top, ::GetFocus());
    frame->SendMessage(WM_COMMAND, ID_PREV_PANE);
    EXPECT_EQ(bottom, ::GetFocus());
    EXPECT_EQ(static_cast<CView*>(frame->m_pPanelRight), frame->GetActiveView());

    // The same through the keys.
    MSG f6{bottom, WM_KEYDOWN, VK_F6, 0, 0, {}};
    EXPECT_TRUE(theApp.PreTranslateMessage(&f6));
    Pump();
    EXPECT_EQ(top, ::GetFocus());

    // From the tree the next pane is the inner splitter's first, the previous its last.
    ::SetFocus(frame->m_pPanelLeft->m_hWnd);
    frame->SendMessage(WM_COMMAND, ID_NEXT_PANE);
    EXPECT_EQ(top, ::GetFocus());
    ::SetFocus(frame->m_pPanelLeft->m_hWnd);
    frame->SendMessage(WM_COMMAND, ID_PREV_PANE);
    EXPECT_EQ(bottom, ::GetFocus());

    // Tab and Shift+Tab go round all three panes through the frame's own pre-translation,
    // activating each as F6 does, and move nothing else.
    HTREEITEM selected = SelectProcess(::GetCurrentProcessId());
    std::vector<std::string> rows = {Value("当前使用内存"), Value("进程启动时间"), Value("父进程")};
    BYTE keys[256];
    ::GetKeyboardState(keys);
    HWND ring[] = {tree, top, bottom, tree, bottom, top, tree};
    for (int press = 0; press < 6; ++press) {
        keys[VK_SHIFT] = press < 3 ? 0 : 0x80;
        ::SetKeyboardState(keys);
        MSG tab{ring[press], WM_KEYDOWN, VK_TAB, 0, 0, {}};
        EXPECT_TRUE(theApp.PreTranslateMessage(&tab)) << press;
        EXPECT_EQ(ring[press + 1], ::GetFocus()) << press;
        EXPECT_EQ(ring[press + 1], frame->GetActiveView()->m_hWnd) << press;
    }
    keys[VK_SHIFT] = 0;
    ::SetKeyboardState(keys);
    EXPECT_EQ(selected, TreeView_GetSelection(tree));
    EXPECT_EQ(rows, (std::vector<std::string>{Value("当前使用内存"), Value("进程启动时间"), Value("父进程")}));
}

// Every command the user can reach (menu, toolbar, keys) shows the part of its string before the
// newline as its prompt, and the part after it as its tooltip; every toolbar button has both.
// Print alone has no string at all.
TEST_F(FrameTest, EveryCommandShowsThePromptAndTooltipOfItsString) {
    std::set<UINT> commands, buttons;
    std::function<void(HMENU)> walk = [&](HMENU menu) {
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            if (HMENU sub = ::GetSubMenu(menu, i)) walk(sub);
            else if (UINT id = ::GetMenuItemID(menu, i); id != 0 && id != static_cast<UINT>(-1)) commands.insert(id);
        }
    };
    walk(::GetMenu(frame->m_hWnd));
    for (int i = 0; i < frame->m_wndToolBar.SendMessage(TB_BUTTONCOUNT); ++i) {
        TBBUTTON button{};
        frame->m_wndToolBar.SendMessage(TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        if (!(button.fsStyle & TBSTYLE_SEP)) buttons.insert(static_cast<UINT>(button.idCommand));
    }
    ACCEL keys[32];
    int keyCount = ::CopyAcceleratorTableA(frame->m_hAccelTable, keys, 32);
    for (int i = 0; i < keyCount; ++i) commands.insert(keys[i].cmd);
    commands.insert(buttons.begin(), buttons.end());
    ASSERT_EQ(15u, commands.size());
    for (UINT id : commands) {
        char text[512] = "";
        ::LoadStringA(::GetModuleHandleA(nullptr), id, text, sizeof(text));
        std::string whole = text;
        size_t newline = whole.find('\n');
        std::string prompt = whole.substr(0, newline);
        std::string tip = newline == std::string::npos ? "" : whole.substr(newline + 1);
        EXPECT_EQ(prompt, Prompt(id)) << id;
        EXPECT_EQ(tip, Tip(id)) << id;
        if (id == ID_FILE_PRINT) {
            EXPECT_EQ("", whole);
            continue;
        }
        EXPECT_NE("", prompt) << id;
        if (buttons.count(id)) {
            EXPECT_NE("", tip) << id;
        }
    }
}

// Moved to a monitor of another scale, the frame takes the place Windows suggests and lays
// everything out at the new scale, the user's splitter position in proportion; and back again.
TEST_F(FrameTest, AnotherScaleLaysTheWindowOutAgainInProportion) {
    HWND outer = frame->m_wndSplitter.m_hWnd, left = frame->m_pPanelLeft->m_hWnd;
    const int bar = CSplitterWnd::kBarWidth / 2;
    ::SendMessageA(outer, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(180 + bar, 100));
    ::SendMessageA(outer, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200 + bar, 100));
    ::SendMessageA(outer, WM_LBUTTONUP, 0, MAKELPARAM(200 + bar, 100));  // the user's 200
    // Two programs with pictures of their own, none of Wine's others has one; the file of one is
    // gone before the moves: it keeps its old picture, every other item takes its own file's.
    wchar_t folder[MAX_PATH];
    ::GetSystemWindowsDirectoryW(folder, MAX_PATH);
    const std::wstring windows = folder, copy = Wide(TestDir()) + L"gone.exe";
    ASSERT_TRUE(::CopyFileW((windows + L"\\regedit.exe").c_str(), copy.c_str(), FALSE));
    FixtureProcess own(windows + L"\\notepad.exe", L"", false), gone(copy, L"", false);
    SelectProcess(gone.Id());
    ASSERT_TRUE(::MoveFileExW(copy.c_str(), (copy + L".old").c_str(), MOVEFILE_REPLACE_EXISTING));
    // The first stock icon of each list can't be read at either scale: it keeps its place, so
    // every list still holds one image per stock icon (the design's check) and the pictures after
    // it keep their indexes. Index 2 is the tree's picture of a process without an icon too.
    static auto refused = [](LPCWSTR file, int index) {
        return (index == kModuleIcons[0] || index == kPropertyIcons[0]) &&
               !lstrcmpiW(::PathFindFileNameW(file), L"shell32.dll");
    };
    g_seams.extractIconEx = [](LPCWSTR file, int index, HICON* large, HICON* small, UINT icons) -> UINT {
        return refused(file, index) ? 0 : kSystemCalls.extractIconEx(file, index, large, small, icons);
    };
    g_seams.shDefExtractIcon = [](LPCWSTR file, int index, UINT flags, HICON* large, HICON* small,
                                  UINT sizes) -> HRESULT {
        return refused(file, index) ? E_FAIL : kSystemCalls.shDefExtractIcon(file, index, flags, large, small, sizes);
    };
    // There and back twice: nothing of one move may carry on into the next.
    for (UINT dpi : {144u, 96u, 144u, 96u}) {
        SCOPED_TRACE(dpi);
        auto at = [dpi](int size) { return ::MulDiv(size, static_cast<int>(dpi), 96); };
        RECT suggested{30, 20, 30 + at(600), 20 + at(400)};
        frame->SendMessage(WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        RECT placed;
        ::GetWindowRect(frame->m_hWnd, &placed);
        EXPECT_EQ(suggested.left, placed.left);
        ExpectDesignAtScale(frame, dpi, 0, 200);
        ExpectFontsAtScale(frame, dpi);
        // The tree's items keep their own pictures, one each.
        CImageList& images = frame->m_pPanelLeft->m_imageList;
        auto items = TreeChildren(left, frame->m_pPanelLeft->m_hRootItem);
        EXPECT_EQ(2 + std::count_if(items.begin(), items.end(), [](const TreeEntry& e) { return e.image >= 2; }),
                  images.GetImageCount());
        // The gone file's picture, stretched, is nearer its own file's than any other's.
        const std::vector<DWORD> pictures[] = {
            Drawn(images.ExtractIcon(copy + L".old", 0), at(16)), Drawn(images.ExtractIcon(windows + L"\\notepad.exe", 0), at(16)),
            Drawn(images.ExtractIcon(CPanelLeft::ExecutablePath(::GetCurrentProcessId()), 0), at(16)),
            Drawn(ImageList_GetIcon(images.m_hImageList, 1, ILD_NORMAL), at(16))};
        auto distance = [](const std::vector<DWORD>& a, const std::vector<DWORD>& b) {
            long sum = 0;
            for (size_t i = 0; i < a.size(); ++i)
                for (int c = 0; c < 24; c += 8) sum += std::abs(int((a[i] >> c) & 255) - int((b[i] >> c) & 255));
            return sum;
        };
        for (const TreeEntry& e : items) {
            auto shown = Drawn(ImageList_GetIcon(images.m_hImageList, e.image, ILD_NORMAL), at(16));
            if (e.ProcessId() == gone.Id()) {
                for (int k = 1; k < 4; ++k) EXPECT_LT(distance(shown, pictures[0]), distance(shown, pictures[k])) << k;
            } else if (e.image >= 2) {
                EXPECT_EQ(Drawn(images.ExtractIcon(CPanelLeft::ExecutablePath(e.ProcessId()), 0), at(16)), shown) << e.text;
            }
        }
    }
}

// A window that opens on a monitor of another scale than the system's (a laptop's screen beside
// a monitor, a scale changed without signing out) comes out as a fresh start at that scale.
TEST_F(FrameTest, AWindowOpenedOnAMonitorOfAnotherScaleIsAFreshStartThere) { ReopenOnAMonitorAt(144, 1); }

// Colours and settings changed: every control of the window hears of it.
TEST_F(FrameTest, SystemColourAndSettingChangesReachEveryControl) {
    for (UINT change : {static_cast<UINT>(WM_SYSCOLORCHANGE), static_cast<UINT>(WM_SETTINGCHANGE)}) {
        std::set<HWND> heard;
        {
            MessageRecorder recorder([&](const MSG& msg, bool posted) {
                if (!posted && msg.message == change) heard.insert(msg.hwnd);
            });
            frame->SendMessage(change, 0, 0);
        }
        for (HWND control : {frame->m_pPanelLeft->m_hWnd, frame->m_pPanelRTop->m_hWnd, frame->m_pPanelRight->m_hWnd,
                             frame->m_wndToolBar.m_hWnd, frame->m_wndStatusBar.m_hWnd})
            EXPECT_TRUE(heard.count(control)) << change;
    }
}

TEST_F(FrameTest, EscDuringASplitterDragPutsTheBarBack) {
    HWND outer = frame->m_wndSplitter.m_hWnd, left = frame->m_pPanelLeft->m_hWnd;
    const LPARAM onBar = MAKELPARAM(180 + CSplitterWnd::kBarWidth / 2, 100);
    const LPARAM moved = MAKELPARAM(240 + CSplitterWnd::kBarWidth / 2, 100);
    ::SendMessageA(outer, WM_LBUTTONDOWN, MK_LBUTTON, onBar);
    ::SendMessageA(outer, WM_MOUSEMOVE, MK_LBUTTON, moved);
    EXPECT_EQ(240, Width(left));  // the pane follows the drag
    ::SendMessageA(outer, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(180, Width(left));
    // Let go instead, the bar stays where it was dropped.
    ::SendMessageA(outer, WM_LBUTTONDOWN, MK_LBUTTON, onBar);
    ::SendMessageA(outer, WM_MOUSEMOVE, MK_LBUTTON, moved);
    ::SendMessageA(outer, WM_LBUTTONUP, 0, moved);
    EXPECT_EQ(240, Width(left));
}

TEST_F(FrameTest, MessageBoxHasTheTitleTheIconAndReturnsTheChoice) {
    BoxAnswerer answers;
    answers.Expect(IDCANCEL);
    answers.Expect(IDOK);
    EXPECT_EQ(IDCANCEL, AfxMessageBox("测试", MB_OKCANCEL));
    EXPECT_EQ(IDOK, AfxMessageBox("测试二"));
    ASSERT_EQ(2u, answers.boxes.size());
    EXPECT_EQ("Tessilor", answers.boxes[0].caption);
    EXPECT_EQ("测试", answers.boxes[0].text);
    EXPECT_TRUE(answers.boxes[0].hasOk);
    EXPECT_TRUE(answers.boxes[0].hasCancel);
    EXPECT_TRUE(answers.boxes[0].exclamation);
    EXPECT_FALSE(answers.boxes[1].hasCancel);
    EXPECT_EQ(0, answers.Unexpected());
}

// Each way out ends the loop, and the frame, its bars, splitters and panes go without a write
// into a freed object and with each image list destroyed once (the heap check after the test).
TEST(FrameLifetime, EveryWayOutEndsTheMessageLoopCleanly) {
    const struct {
        UINT msg;
        WPARAM wParam;
    } ways[] = {{WM_CLOSE, 0}, {WM_SYSCOMMAND, SC_CLOSE}, {WM_COMMAND, ID_APP_EXIT}};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.msg);
        ASSERT_NE(nullptr, StartMainFrame());
        ::PostMessageA(AfxGetMainWnd()->m_hWnd, way.msg, way.wParam, 0);
        EXPECT_EQ(0, theApp.Run());
        EXPECT_EQ(nullptr, AfxGetMainWnd());
    }
}

// While it lives, windows of one class are refused: by another creation hook, once the layer has
// bound the window, or outright, before any creation message, as when the system is out of window
// handles or the class could not be registered.
class RefusedWindows {
public:
    explicit RefusedWindows(const char* cls, bool outright = false) {
        s_class = cls;
        if (outright) {
            g_seams.createWindowEx = [](DWORD exStyle, LPCSTR name, LPCSTR text, DWORD style, int x, int y, int cx,
                                        int cy, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) -> HWND {
                if (!IS_INTRESOURCE(name) && lstrcmpiA(name, s_class) == 0) return nullptr;
                return ::CreateWindowExA(exStyle, name, text, style, x, y, cx, cy, parent, menu, instance, param);
            };
            return;
        }
        m_hook = ::SetWindowsHookExA(WH_CBT, [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
            auto* create = reinterpret_cast<const CBT_CREATEWNDA*>(lParam);
            if (code == HCBT_CREATEWND && !IS_INTRESOURCE(create->lpcs->lpszClass) &&
                lstrcmpiA(create->lpcs->lpszClass, s_class) == 0)
                return 1;
            return ::CallNextHookEx(nullptr, code, wParam, lParam);
        }, nullptr, ::GetCurrentThreadId());
    }
    ~RefusedWindows() {
        if (m_hook) ::UnhookWindowsHookEx(m_hook);
    }

private:
    static const char* s_class;
    ScopedSeams m_seams;
    HHOOK m_hook = nullptr;
};
const char* RefusedWindows::s_class = nullptr;

// A part of the window that can't be made ends start-up: no frame is left, and no window.
TEST(FrameLifetime, APartThatCannotBeMadeEndsStartUp) {
    for (bool outright : {false, true})
    for (const char* part : {"SysTreeView32", "SysListView32", "LayerSplitterWnd", TOOLBARCLASSNAMEA}) {
        SCOPED_TRACE(std::string(part) + (outright ? ", refused outright" : ", refused once bound"));
        {
            RefusedWindows refused(part, outright);
            EXPECT_EQ(nullptr, StartMainFrame());
        }
        Pump();
        EXPECT_EQ(nullptr, AfxGetMainWnd());
        // The system's own hidden windows (its input method's, the controls' tooltips) may stay.
        std::string windows;
        ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND hwnd, LPARAM names) {
            char cls[64] = "";
            ::GetClassNameA(hwnd, cls, sizeof(cls));
            if (::IsWindowVisible(hwnd) || CWnd::FromHandlePermanent(hwnd))
                *reinterpret_cast<std::string*>(names) += std::string(cls) + " ";
            return TRUE;
        }, reinterpret_cast<LPARAM>(&windows));
        EXPECT_EQ("", windows);
    }
    ASSERT_NE(nullptr, StartMainFrame());  // and the next start works
    CloseMainFrame();
}

// Idle time brings the toolbar's greying up to date after a message that may change it, and
// is not spent after one that can't.
TEST(FrameLifetime, IdleTimeKeepsTheToolbarGreyingCurrent) {
    static COurFrame* frame;
    static std::vector<bool> seen;
    frame = StartMainFrame();
    ASSERT_NE(nullptr, frame);
    seen.clear();
    // The toolbar out of date: Refresh greyed, Copy enabled.
    static void (*disturb)() = [] {
        frame->m_wndToolBar.SendMessage(TB_ENABLEBUTTON, ID_REFRESH, FALSE);
        frame->m_wndToolBar.SendMessage(TB_ENABLEBUTTON, ID_EDIT_COPY, TRUE);
    };
    disturb();
    // Each tick: what the toolbar shows now, then out of date again.
    ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
        CWnd& bar = frame->m_wndToolBar;
        seen.push_back(bar.SendMessage(TB_ISBUTTONENABLED, ID_REFRESH) && !bar.SendMessage(TB_ISBUTTONENABLED, ID_EDIT_COPY));
        disturb();
        if (seen.size() == 3) {
            ::KillTimer(nullptr, id);
            ::PostMessageA(frame->m_hWnd, WM_CLOSE, 0, 0);
        }
    });
    EXPECT_EQ(0, theApp.Run());
    EXPECT_EQ((std::vector<bool>{true, true, true}), seen);

    MSG move{nullptr, WM_MOUSEMOVE, 0, 0, 0, {10, 10}};
    EXPECT_TRUE(theApp.IsIdleMessage(move));
    EXPECT_FALSE(theApp.IsIdleMessage(move));  // the same place again
    move.pt.x = 11;
    EXPECT_TRUE(theApp.IsIdleMessage(move));
    for (UINT quiet : {static_cast<UINT>(WM_PAINT), 0x0118u})
        EXPECT_FALSE(theApp.IsIdleMessage(MSG{nullptr, quiet, 0, 0, 0, {}})) << quiet;
    for (UINT busy : {static_cast<UINT>(WM_TIMER), static_cast<UINT>(WM_COMMAND), static_cast<UINT>(WM_KEYDOWN)})
        EXPECT_TRUE(theApp.IsIdleMessage(MSG{nullptr, busy, 0, 0, 0, {}})) << busy;
}

TEST(FrameLifetime, AListPaneHandsImageListsBackBeforeItsControlGoes) {
    // A list control without LVS_SHAREIMAGELISTS destroys the lists it holds when it goes; the
    // lists belong to whoever gave them, who destroys them once, later.
    CImageList images;
    images.Create(16, 16, ILC_COLOR8 | ILC_MASK, 1, 1);
    images.Add(::LoadIcon(nullptr, IDI_APPLICATION));
    COurFrame* frame = StartMainFrame();
    ASSERT_NE(nullptr, frame);
    frame->m_pPanelRight->SendMessage(LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images.m_hImageList));
    frame->m_pPanelRTop->SendMessage(LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(images.m_hImageList));
    CloseMainFrame();
    EXPECT_EQ(1, images.GetImageCount());
}

TEST(FrameLifetime, AnUnexpectedBoxFailsTheTestAtOnce) {
    ASSERT_NE(nullptr, StartMainFrame());
    EXPECT_NONFATAL_FAILURE(AfxMessageBox("意外的消息"), "unexpected box");
    CloseMainFrame();
}

// Views whose window fails at creation, counted as they go. Each lives on pages of its own that
// become inaccessible when it is deleted, as a page heap does: whatever touches a view after
// that (a splitter looking at its window handle, a second delete) stops the test there.
int g_viewsDeleted = 0;

template <class Base>
class CCountedView : public Base {
public:
    static void* operator new(size_t size) {
        return ::VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    static void operator delete(void* p) {
        ++g_viewsDeleted;
        DWORD old;
        ::VirtualProtect(p, 1, PAGE_NOACCESS, &old);
    }
};

class CRefusingView : public CCountedView<CListView> {
public:
    static const CRuntimeClass classInfo;

protected:
    int OnCreate(LPCREATESTRUCTA) { return -1; }
    const MsgMap* GetMessageMap() const override {
        using ThisClass = CRefusingView;
        static const MsgMapEntry entries[] = {ON_WM_CREATE()};
        MESSAGE_MAP(CListView::GetMessageMap(), entries);
    }
};
const CRuntimeClass CRefusingView::classInfo = {"CRefusingView", &CreateWndObject<CRefusingView>,
                                                &CListView::classInfo};

class CClasslessView : public CCountedView<CListView> {
public:
    static const CRuntimeClass classInfo;

protected:
    LPCSTR ControlClass() const override { return "NoSuchWindowClass"; }
};
const CRuntimeClass CClasslessView::classInfo = {"CClasslessView", &CreateWndObject<CClasslessView>,
                                                 &CListView::classInfo};

class CCountedList : public CCountedView<CListView> {
public:
    static const CRuntimeClass classInfo;
};
const CRuntimeClass CCountedList::classInfo = {"CCountedList", &CreateWndObject<CCountedList>, &CListView::classInfo};

TEST(FrameLifetime, AViewThatFailsToBeMadeIsDeletedOnceAndNeverTouched) {
    COurFrame* frame = StartMainFrame();
    ASSERT_NE(nullptr, frame);
    CSplitterWnd splitter;
    ASSERT_TRUE(splitter.CreateStatic(frame, 1, 2, WS_CHILD, AFX_IDW_PANE_FIRST + 0x40));
    g_viewsDeleted = 0;
    // Its window was made and destroyed again by its own WM_CREATE.
    EXPECT_FALSE(splitter.CreateView(0, 0, RUNTIME_CLASS(CRefusingView), SIZE{50, 50}, nullptr));
    EXPECT_EQ(1, g_viewsDeleted);
    // Its window was never made.
    EXPECT_FALSE(splitter.CreateView(0, 1, RUNTIME_CLASS(CClasslessView), SIZE{50, 50}, nullptr));
    EXPECT_EQ(2, g_viewsDeleted);
    // Its window was bound and then refused before its first message.
    {
        RefusedWindows refused(WC_LISTVIEWA);
        EXPECT_FALSE(splitter.CreateView(0, 1, RUNTIME_CLASS(CCountedList), SIZE{50, 50}, nullptr));
    }
    EXPECT_EQ(3, g_viewsDeleted);
    EXPECT_EQ(nullptr, splitter.GetPane(0, 0));
    EXPECT_EQ(nullptr, splitter.GetPane(0, 1));
    splitter.DestroyWindow();
    CloseMainFrame();
}

}  // namespace
