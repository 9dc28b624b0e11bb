// The window at the display's scale. The suite runs this program with the display at 144 DPI
// (150 %) and at 192 DPI (200 %): every size the program gives at 96 DPI comes out times the
// scale, and what it writes for the system stays the 96-DPI size.
#include <gtest/gtest.h>

#include <shlwapi.h>

#include <string>
#include <vector>

#include "Harness.h"
#include "panes/PanelLeft.h"
#include "panes/PanelRTop.h"
#include "panes/PanelRight.h"
#include "platform/win/Dpi.h"
#include "res/resource.h"

namespace {

class DpiTest : public MainFrameTest {
protected:
    int At(int size) const { return ::MulDiv(size, static_cast<int>(dpi), 96); }
    static int Width(HWND h) { RECT r; ::GetWindowRect(h, &r); return r.right - r.left; }
    static int Height(HWND h) { RECT r; ::GetWindowRect(h, &r); return r.bottom - r.top; }
    static SIZE IconSize(HIMAGELIST images) {
        int cx = 0, cy = 0;
        ImageList_GetIconSize(images, &cx, &cy);
        return SIZE{cx, cy};
    }
    const UINT dpi = layer::SystemDpi();
};

TEST_F(DpiTest, EverySizeIsTheDesignSizeTimesTheScale) {
    ASSERT_GT(dpi, 96u) << "the display is not scaled: every check here would pass for nothing";
    EXPECT_NEAR(At(600), Width(frame->m_hWnd), 2);
    EXPECT_NEAR(At(400), Height(frame->m_hWnd), 2);
    EXPECT_NEAR(At(180), Width(frame->m_pPanelLeft->m_hWnd), 1);
    EXPECT_NEAR(At(140), Height(frame->m_pPanelRTop->m_hWnd), 1);
    RECT inner;
    ::GetClientRect(frame->m_wndSplitterRight.m_hWnd, &inner);
    EXPECT_NEAR(inner.bottom - At(140) - At(CSplitterWnd::kBarWidth), Height(frame->m_pPanelRight->m_hWnd), 1);

    const std::vector<std::pair<HWND, std::vector<int>>> lists = {
        {frame->m_pPanelRTop->m_hWnd, {100, 280}}, {frame->m_pPanelRight->m_hWnd, {100, 200, 60}}};
    for (const auto& list : lists)
        for (size_t i = 0; i < list.second.size(); ++i)
            EXPECT_NEAR(At(list.second[i]),
                        ::SendMessageA(list.first, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i), 0), 1) << i;

    // The system's small icon at this scale (20, 24, 32 at 120, 144, 192), and the toolbar's
    // pictures drawn at the scaled size.
    const int small = layer::SystemMetricForDpi(SM_CXSMICON, dpi);
    EXPECT_NEAR(At(16), small, 1);
    for (const CImageList* images : {&frame->m_pPanelLeft->m_imageList, &frame->m_pPanelRTop->m_imageList,
                                     &frame->m_pPanelRight->m_imageList}) {
        EXPECT_EQ(small, IconSize(images->m_hImageList).cx);
        EXPECT_EQ(small, IconSize(images->m_hImageList).cy);
    }
    SIZE art = IconSize(reinterpret_cast<HIMAGELIST>(frame->m_wndToolBar.SendMessage(TB_GETIMAGELIST)));
    EXPECT_EQ(At(16), art.cx);
    EXPECT_NEAR(At(15), art.cy, 1);
    // 23 by 21 at 96 DPI: the picture and the toolbar's room around it.
    LRESULT button = frame->m_wndToolBar.SendMessage(TB_GETBUTTONSIZE);
    EXPECT_NEAR(At(23), LOWORD(button), 1);
    EXPECT_NEAR(At(21), HIWORD(button), 1);
}

TEST_F(DpiTest, TheIconCacheRebuildWritesThe96DpiWidth) {
    const char key[] = "Control Panel\\Desktop\\WindowMetrics";
    char before[32] = "";
    DWORD type = 0, length = sizeof(before);
    bool had = ::SHGetValueA(HKEY_CURRENT_USER, key, "Shell Icon Size", &type, before, &length) == ERROR_SUCCESS;
    EXPECT_EQ(At(32), ::GetSystemMetrics(SM_CXICON));  // what the scaled program reads
    frame->SendMessage(WM_COMMAND, ID_REBUILD_ICON_CACHE);
    char written[32] = "";
    length = sizeof(written);
    ASSERT_EQ(ERROR_SUCCESS, ::SHGetValueA(HKEY_CURRENT_USER, key, "Shell Icon Size", &type, written, &length));
    EXPECT_STREQ("32", written);
    if (had)
        ::SHSetValueA(HKEY_CURRENT_USER, key, "Shell Icon Size", REG_SZ, before, static_cast<DWORD>(strlen(before) + 1));
    else
        ::SHDeleteValueA(HKEY_CURRENT_USER, key, "Shell Icon Size");
}

}  // namespace
