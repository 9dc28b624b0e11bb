// The program's texts read as Chinese on a Windows whose own ANSI code page is not GBK. The suite
// runs this executable under a Western locale; like the program, it carries the program's
// resources, manifest included.
#include <gtest/gtest.h>

#include <string>

#include "Harness.h"
#include "panes/PanelLeft.h"
#include "res/resource.h"

namespace {

const wchar_t kTitle[] = L"Quorvane进程管理器";

std::wstring WindowTextW(HWND hwnd) {
    wchar_t text[256] = L"";
    ::GetWindowTextW(hwnd, text, 256);
    return text;
}

TEST(LocaleTest, SystemCodePageIsNotChineseButOursIs) {
    // Without a foreign system code page every other check here would pass for nothing.
    char system[8] = "";
    ::GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, system, sizeof(system));
    EXPECT_STRNE("936", system);
    EXPECT_NE(0, system[0]);
    EXPECT_EQ(936u, ::GetACP());
}

class LocaleFrameTest : public MainFrameTest {};

TEST_F(LocaleFrameTest, TitleAndStopQuestionReadAsWritten) {
    EXPECT_EQ(kTitle, WindowTextW(frame->m_hWnd));

    FixtureProcess fixture("fixture_icon");
    SelectProcess(fixture.Id());
    std::wstring question, caption;
    BoxAnswerer answers;
    answers.Expect([&](HWND box) {
        wchar_t text[512] = L"";
        ::GetDlgItemTextW(box, 0xFFFF, text, 512);
        question = text;
        caption = WindowTextW(box);
        return IDCANCEL;
    });
    frame->SendMessage(WM_COMMAND, ID_STOP_PROCESS);
    EXPECT_EQ(L"是否要结束进程 fixture_icon.exe ？", question);
    EXPECT_EQ(L"Tessilor", caption);
    EXPECT_TRUE(fixture.Running());
}

TEST(LocaleTest, ProgramShowsItsChineseTitle) {
    // The program itself, started as a user would, beside this folder.
    EXPECT_EQ(kTitle, ShowAndCloseProgram(Wide(TestDir() + "..\\Tessilor.exe")));
}

}  // namespace
