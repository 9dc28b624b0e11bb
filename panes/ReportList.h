// What the two list panes build alike: a report list with grid lines, full-row selection and its
// columns, and a small image list of the shell's stock icons.
#pragma once
#include <cstddef>

#include "frame/Design.h"
#include "platform/win/ImageList.h"
#include "platform/win/View.h"

// Grid lines and full-row selection (the extended style replaced whole), report view, and the
// columns in order.
void SetUpReportList(CListView& list, const ColumnDesign* columns, size_t count);
// The small image list at the list's scale, one image for each icon index of shell32.dll in the
// system folder, given to the list; image i is always icons[i]'s place, even when that icon can't
// be read, because the rows name their pictures by index.
void MakeStockImageList(CListView& list, CImageList& images, const int* icons, size_t count);
