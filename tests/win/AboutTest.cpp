// The About box: its layout, the web button, closing, and the two ways to it.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "Harness.h"
#include "about/AboutDlg.h"
#include "platform/seams/Seams.h"
#include "res/resource.h"

namespace {

const char kAddress[] = "https://www.quorvane.example";

std::string Text(HWND hwnd) {
    char text[256] = "";
    ::GetWindowTextA(hwnd, text, sizeof(text));
    return text;
}

// Runs step once from inside the modal loop, as soon as the box is on screen: the dialog
// manager shows it only when its queue first runs empty.
std::function<void(HWND)> g_step;

void WhenShown(std::function<void(HWND)> step) {
    g_step = std::move(step);
    ::SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR id, DWORD) {
        HWND box = nullptr;
        ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND hwnd, LPARAM found) {
            char cls[16] = "";
            ::GetClassNameA(hwnd, cls, sizeof(cls));
            if (strcmp(cls, "#32770") != 0) return TRUE;
            *reinterpret_cast<HWND*>(found) = hwnd;
            return FALSE;
        }, reinterpret_cast<LPARAM>(&box));
        if (!box || !::IsWindowVisible(box)) return;
        ::KillTimer(nullptr, id);
        auto step = std::move(g_step);
        g_step = nullptr;
        if (step) step(box);
    });
}

void PressKey(HWND target, WPARAM key) { ::PostMessageA(target, WM_KEYDOWN, key, 0); }

class AboutBoxTest : public ::testing::Test {
protected:
    void TearDown() override {
        g_step = nullptr;  // a step whose box never showed must not outlive its test
    }
    // Runs the box; the test's own steps close it.
    INT_PTR ShowBox() {
        answers.Expect(0);
        return about.DoModal();
    }
    BoxAnswerer answers;
    CAboutDlg about;
    ShellRecorder shell;
};

// A box whose map answers one message of its own, as a window's map would.
class CProbeDlg : public CAboutDlg {
public:
    static const UINT kProbe = WM_APP + 7;

protected:
    LRESULT OnProbe(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam) + 1; }
    const MsgMap* GetMessageMap() const override {
        using ThisClass = CProbeDlg;
        static const MsgMapEntry entries[] = {ON_MESSAGE(kProbe, OnProbe)};
        MESSAGE_MAP(CAboutDlg::GetMessageMap(), entries);
    }
};

TEST_F(AboutBoxTest, ADialogIsBoundAndItsMapRunsAsAWindows) {
    CProbeDlg probe;
    LRESULT answer = 0;
    bool bound = false;
    answers.Expect(0);
    WhenShown([&](HWND box) {
        bound = CWnd::FromHandlePermanent(box) == &probe;
        answer = ::SendMessageA(box, CProbeDlg::kProbe, 41, 0);
        ::EndDialog(box, IDOK);
    });
    EXPECT_EQ(IDOK, probe.DoModal());
    EXPECT_TRUE(bound);
    EXPECT_EQ(42, answer);
    EXPECT_EQ(nullptr, probe.m_hWnd);  // unbound with the box
}

TEST_F(AboutBoxTest, ShowsTheDesignedLayoutWithFocusOnOk) {
    struct Control {
        int id;
        const char* cls;
        DWORD style, exStyle;
        RECT units;  // x, y, width, height in dialog units, each mapped to pixels on its own
    };
    const Control table[] = {
        {-1, "Static", WS_CHILD | WS_VISIBLE | SS_ICON, 0, {11, 17, 20, 20}},
        {-1, "Static", WS_CHILD | WS_VISIBLE | WS_GROUP | SS_NOPREFIX, 0, {40, 10, 119, 8}},
        {-1, "Static", WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT, 0, {40, 25, 133, 8}},
        {IDOK, "Button", WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, {178, 7, 50, 14}},
        {IDC_WEB_LINK, "Button", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, WS_EX_STATICEDGE, {12, 68, 119, 14}},
        {-1, "Static", WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT, 0, {12, 51, 217, 8}},
    };
    bool shown = false;
    WhenShown([&](HWND box) {
        shown = true;
        HWND ok = ::GetDlgItem(box, IDOK);
        EXPECT_EQ(ok, ::GetFocus());
        ::EndDialog(box, IDOK);  // the box goes once this step returns
        EXPECT_EQ("关于 Tessilor", Text(box));
        const DWORD boxStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
        EXPECT_EQ(boxStyle, ::GetWindowLongA(box, GWL_STYLE) & boxStyle);
        RECT client, size{0, 0, 235, 95};
        ::GetClientRect(box, &client);
        ::MapDialogRect(box, &size);
        EXPECT_EQ(size.right, client.right);
        EXPECT_EQ(size.bottom, client.bottom);
        LOGFONTA font{};
        ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(box, WM_GETFONT, 0, 0)), sizeof(font), &font);
        EXPECT_STREQ("宋体", font.lfFaceName);
        HDC dc = ::GetDC(box);
        EXPECT_EQ(-::MulDiv(9, ::GetDeviceCaps(dc, LOGPIXELSY), 72), font.lfHeight);
        ::ReleaseDC(box, dc);

        std::vector<HWND> controls;  // in template order, which is also the tab order
        for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) controls.push_back(c);
        ASSERT_EQ(6u, controls.size());
        EXPECT_EQ(ok, controls[3]);
        for (size_t i = 0; i < controls.size(); ++i) {
            SCOPED_TRACE("control " + std::to_string(i + 1));
            HWND c = controls[i];
            char cls[32] = "";
            ::GetClassNameA(c, cls, sizeof(cls));
            EXPECT_EQ(table[i].id, static_cast<short>(::GetDlgCtrlID(c)));
            EXPECT_EQ(0, lstrcmpiA(table[i].cls, cls)) << cls;
            EXPECT_EQ(table[i].style, static_cast<DWORD>(::GetWindowLongA(c, GWL_STYLE)));
            DWORD exStyle = static_cast<DWORD>(::GetWindowLongA(c, GWL_EXSTYLE));
            EXPECT_EQ(table[i].exStyle, exStyle & ~WS_EX_NOPARENTNOTIFY);
            RECT want = table[i].units, got;
            ::MapDialogRect(box, &want);
            ::GetWindowRect(c, &got);
            ::MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&got), 2);
            EXPECT_EQ(want.left, got.left);
            EXPECT_EQ(want.top, got.top);
            if (i == 0) continue;  // an icon control takes the size of its icon
            EXPECT_EQ(want.right, got.right - got.left);
            EXPECT_EQ(want.bottom, got.bottom - got.top);
        }
        EXPECT_NE(0, ::SendMessageA(controls[0], STM_GETICON, 0, 0));
        EXPECT_EQ("Quorvane进程管理器 1.1 版", Text(controls[1]));
        EXPECT_NE("", Text(controls[2]));  // the copyright line
        EXPECT_EQ("确定", Text(controls[3]));
        EXPECT_EQ(kAddress, Text(controls[4]));
        EXPECT_NE("", Text(controls[5]));  // the usage note
    });
    ShowBox();
    EXPECT_TRUE(shown);
}

TEST_F(AboutBoxTest, EnterAndEscCloseTheBox) {
    WhenShown([](HWND) { PressKey(::GetFocus(), VK_RETURN); });
    EXPECT_EQ(IDOK, ShowBox());
    WhenShown([](HWND) { PressKey(::GetFocus(), VK_ESCAPE); });
    EXPECT_EQ(IDCANCEL, ShowBox());
    EXPECT_TRUE(shell.calls.empty());
}

TEST_F(AboutBoxTest, WebButtonOpensTheAddressEachTimeAndTheBoxStaysOpen) {
    bool openAfterClicks = false, openAfterEnter = false;
    WhenShown([&](HWND box) {
        HWND web = ::GetDlgItem(box, IDC_WEB_LINK);
        ::SendMessageA(web, BM_CLICK, 0, 0);
        ::SendMessageA(web, BM_CLICK, 0, 0);
        openAfterClicks = ::IsWindowVisible(box) != FALSE;
        // With the focus on the web button, Enter presses it instead of OK.
        ::SendMessageA(box, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(web), TRUE);
        PressKey(web, VK_RETURN);
        WhenShown([&openAfterEnter](HWND box) {
            openAfterEnter = true;  // still on screen after the key went through
            ::EndDialog(box, IDOK);
        });
    });
    ShowBox();
    EXPECT_TRUE(openAfterClicks);
    EXPECT_TRUE(openAfterEnter);
    ASSERT_EQ(3u, shell.calls.size());
    for (const ShellCall& call : shell.calls) {
        EXPECT_EQ(nullptr, call.owner);
        EXPECT_EQ(L"open", call.verb);
        EXPECT_EQ(Wide(kAddress), call.file);
        EXPECT_EQ(L"", call.parameters);
        EXPECT_EQ(L"", call.directory);
        EXPECT_EQ(SW_SHOW, call.show);
    }
}

TEST(AboutCommand, TheBoxStaysOnScreenWhenTheFrameDoesNot) {
    COurFrame* frame = StartMainFrame();
    ASSERT_NE(nullptr, frame);
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    // Most of the frame beyond the bottom left corner of the screen.
    ::SetWindowPos(frame->m_hWnd, nullptr, work.left - 450, work.bottom - 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT box{};
    BoxAnswerer answers;
    answers.Expect([&](HWND hwnd) {
        ::GetWindowRect(hwnd, &box);
        return IDOK;
    });
    frame->SendMessage(WM_COMMAND, ID_APP_ABOUT);
    ASSERT_EQ(1u, answers.boxes.size());
    EXPECT_GE(box.left, work.left);
    EXPECT_GE(box.top, work.top);
    EXPECT_LE(box.right, work.right);
    EXPECT_LE(box.bottom, work.bottom);
    CloseMainFrame();
}

TEST(AboutCommand, HelpMenuAndToolbarButtonShowTheSameBoxOverTheFrame) {
    COurFrame* frame = StartMainFrame();
    ASSERT_NE(nullptr, frame);
    BoxAnswerer answers;
    int overDisabledFrame = 0;
    for (int i = 0; i < 2; ++i)
        answers.Expect([&](HWND box) {
            overDisabledFrame += ::GetWindow(box, GW_OWNER) == frame->m_hWnd && !::IsWindowEnabled(frame->m_hWnd) &&
                                 ::GetDlgItem(box, IDC_WEB_LINK);
            return IDOK;
        });

    frame->SendMessage(WM_COMMAND, ID_APP_ABOUT);  // as the menu item sends it
    // A click on the last toolbar button.
    HWND toolbar = frame->m_wndToolBar.m_hWnd;
    RECT button;
    int index = static_cast<int>(::SendMessageA(toolbar, TB_COMMANDTOINDEX, ID_APP_ABOUT, 0));
    ::SendMessageA(toolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&button));
    LPARAM at = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    ::SendMessageA(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageA(toolbar, WM_LBUTTONUP, 0, at);
    Pump();

    ASSERT_EQ(2u, answers.boxes.size());
    for (const BoxRecord& box : answers.boxes) EXPECT_EQ("关于 Tessilor", box.caption);
    EXPECT_EQ(2, overDisabledFrame);
    EXPECT_EQ(0, answers.Unexpected());
    EXPECT_TRUE(::IsWindowEnabled(frame->m_hWnd));
    CloseMainFrame();
}

}  // namespace
