// The window at the display's scale. The suite runs this program with the display at 144 DPI
// (150 %) and at 192 DPI (200 %): every size the program gives at 96 DPI comes out times the
// scale, and what it writes for the system stays the 96-DPI size.
#include <gtest/gtest.h>

#include <shlwapi.h>


#include "Harness.h"
#include "platform/win/Dpi.h"
#include "res/resource.h"

namespace {

class DpiTest : public MainFrameTest {
protected:
    int At(int size) const { return ::MulDiv(size, static_cast<int>(dpi), 96); }
    const UINT dpi = layer::SystemDpi();
};

TEST_F(DpiTest, EverySizeIsTheDesignSizeTimesTheScale) {
    ASSERT_GT(dpi, 96u) << "the display is not scaled: every check here would pass for nothing";
    ExpectDesignAtScale(frame, dpi, 1);
    ExpectFontsAtScale(frame, dpi);
    // The system's small icon at this scale (20, 24, 32 at 120, 144, 192) is the images' size.
    EXPECT_EQ(At(16), layer::SystemMetricForDpi(SM_CXSMICON, dpi));
}

// The scaled system's window opened on a monitor at 100 %: exactly as a fresh start at 96 DPI.
TEST_F(DpiTest, AWindowOpenedOnAMonitorAt100PercentIsAFreshStartThere) { ReopenOnAMonitorAt(96, 0); }

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
