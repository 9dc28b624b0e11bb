#include <gtest/gtest.h>

#include "platform/win/SplitterLayout.h"

TEST(SplitterLayout, LastPaneTakesTheRest) {
    int ideal[2] = {180, 140}, sizes[2];
    LayoutSplitterPanes(600, 6, ideal, 2, sizes);
    EXPECT_EQ(180, sizes[0]);
    EXPECT_EQ(600 - 180 - 6, sizes[1]);
}

TEST(SplitterLayout, IdealSizeIsCutToTheRoomThereIs) {
    int ideal[2] = {180, 140}, sizes[2];
    LayoutSplitterPanes(100, 6, ideal, 2, sizes);
    EXPECT_EQ(100, sizes[0]);
    EXPECT_EQ(0, sizes[1]);
    LayoutSplitterPanes(0, 6, ideal, 2, sizes);
    EXPECT_EQ(0, sizes[0]);
    EXPECT_EQ(0, sizes[1]);
}

TEST(SplitterLayout, SinglePaneFillsEverything) {
    int ideal[1] = {180}, sizes[1];
    LayoutSplitterPanes(250, 6, ideal, 1, sizes);
    EXPECT_EQ(250, sizes[0]);
}

TEST(SplitterLayout, DragStaysInsideTheSplitter) {
    EXPECT_EQ(0, ClampSplitterDrag(-20, 300));
    EXPECT_EQ(120, ClampSplitterDrag(120, 300));
    EXPECT_EQ(300, ClampSplitterDrag(500, 300));
}
