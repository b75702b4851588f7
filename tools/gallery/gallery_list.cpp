#include "tools/gallery/gallery_list.h"

#include "controls/mobile_list_painter.h"
#include "tests/support/sample_list_rows.h"

namespace brantel::gallery {
namespace {

constexpr COLORREF kListBackground = 0x0C0C0C;
constexpr COLORREF kSelection = 0x7A4A12;
constexpr int kThumbWidth = 6;

}  // namespace

void SetUpGalleryList(CMobileListCtrl& body) {
  body.SetBackgroundColor(kListBackground);
  body.SetSelectionColor(kSelection);
  body.SetDefaultRowHeight(testing::kSampleRowHeight);
  body.SetSeparatorPen(0x585858, 1);
  body.SetThumbWidth(kThumbWidth);
  body.Reset();
  for (auto& row : testing::SampleListRows(kListRows, kListRect.Width())) body.AddRow(-1, std::move(row));
  body.RecomputeLayout();
}

void PaintListPage(DeviceContext& dc) {
  MobileListRows rows;
  for (auto& row : testing::SampleListRows(20, kListRect.Width())) rows.Add(-1, std::move(row));
  rows.RebuildSections();
  MobileListMetrics metrics;
  metrics.default_row_height = testing::kSampleRowHeight;
  MobileListLook look;
  look.background = kListBackground;
  look.selection_color = kSelection;
  look.thumb_width = kThumbWidth;
  MobileListFrame frame;
  frame.width = kListRect.Width();
  frame.height = kListRect.Height();
  // The thumb as it shows over the whole list of kListRows rows.
  frame.content = LayOutRows(rows.rows(), metrics, frame.height) * (kListRows / 20);
  MobileListPainter painter;
  const Point origin = dc.origin();
  dc.SetOrigin(Point{origin.x + kListRect.left, origin.y + kListRect.top});
  painter.Paint(dc, rows, metrics, look, frame);
  dc.SetOrigin(origin);
}

}  // namespace brantel::gallery
