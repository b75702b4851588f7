#pragma once
// The gallery's list page: 3,000 market-like rows with section rows, to
// flick, wheel and page through. The window shows a live CMobileList;
// --pages paints the same rows at their start with the list's painter.

#include "controls/mobile_list.h"
#include "tools/gallery/gallery_pages.h"

namespace brantel::gallery {

constexpr Rect kListRect{0, kHeaderHeight, kPageWidth, kPageHeight};
constexpr int kListRows = 3000;

// Gives the list its look and rows.
void SetUpGalleryList(CMobileListCtrl& body);
// The list at its start, below the page header.
void PaintListPage(DeviceContext& dc);

}  // namespace brantel::gallery
