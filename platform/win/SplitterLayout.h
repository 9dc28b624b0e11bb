// Splitter arithmetic, kept apart from windows so it can be checked on its own.
#pragma once

// Sizes of `count` panes along one axis of `total` pixels with a bar of `bar` pixels between
// neighbours: each pane but the last keeps its ideal size as far as room allows, and the last
// takes what remains. No size is negative.
inline void LayoutSplitterPanes(int total, int bar, const int* ideal, int count, int* sizes) {
    int left = total;
    for (int i = 0; i < count; ++i) {
        if (i == count - 1) {
            sizes[i] = left > 0 ? left : 0;
            break;
        }
        int want = ideal[i] > 0 ? ideal[i] : 0;
        sizes[i] = want < left ? want : (left > 0 ? left : 0);
        left -= sizes[i] + bar;
    }
}

// Where a dragged bar leaves the pane before it: the pointer's offset from the pane's start,
// kept within the room there is.
inline int ClampSplitterDrag(int offset, int room) {
    if (offset < 0) return 0;
    return offset > room ? room : offset;
}
