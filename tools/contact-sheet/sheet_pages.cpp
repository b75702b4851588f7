#include "tools/contact-sheet/sheet_pages.h"

#include <algorithm>

#include "platform/gfx/device_context.h"

namespace brantel::contact_sheet {

namespace {
constexpr int kMargin = 20;
constexpr int kGap = 16;
constexpr int kHeaderHeight = 50;
constexpr int kLabelHeight = 36;
constexpr COLORREF kPaper = RGB(0x30, 0x33, 0x38);
constexpr COLORREF kLabel = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kNote = RGB(0xA0, 0xA6, 0xB0);
constexpr COLORREF kMissing = RGB(0xFF, 0x40, 0x40);
}  // namespace

void SheetPages::StartPage() {
  pages_.emplace_back(kPageWidth, kPageHeight, ColorRefToPixel(kPaper));
  DeviceContext dc(pages_.back());
  dc.SetBkMode(TRANSPARENT);
  dc.SelectFont(Font(kGothicFace, 24, FW_BOLD));
  dc.SetTextColor(kLabel);
  std::string heading = title_ + "  (" + std::to_string(pages_.size()) + ")";
  dc.DrawText(Widen(heading), Rect{kMargin, 0, kPageWidth - kMargin, kHeaderHeight}, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  x_ = kMargin;
  y_ = kHeaderHeight;
  row_height_ = 0;
}

void SheetPages::Add(const SheetPicture& item) {
  if (pages_.empty()) StartPage();
  // Pictures wider than the page are shown scaled down to fit.
  int width = item.picture.empty() ? 120 : item.picture.width();
  int height = item.picture.empty() ? 40 : item.picture.height();
  int room = kPageWidth - 2 * kMargin;
  if (width > room) {
    height = height * room / width;
    width = room;
  }
  int cell_width = std::max(width, 130);
  int cell_height = height + kLabelHeight;
  if (x_ + cell_width > kPageWidth - kMargin) {
    x_ = kMargin;
    y_ += row_height_ + kGap;
    row_height_ = 0;
  }
  if (y_ + cell_height > kPageHeight - kMargin) StartPage();

  DeviceContext dc(pages_.back());
  dc.SetStretchBltMode(HALFTONE);
  dc.SetBkMode(TRANSPARENT);
  Rect frame = Rect::FromSize(x_, y_, width, height);
  dc.FillSolid(frame.Inflate(1, 1), RGB(0x60, 0x66, 0x70));
  dc.FillSolid(frame, backdrop_);
  if (item.picture.empty()) {
    dc.SetTextColor(kMissing);
    dc.SelectFont(Font(kGothicFace, 16));
    dc.DrawText(u"missing", frame, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  } else {
    dc.DrawPicture(item.picture, frame);
  }
  dc.SelectFont(Font(kGothicFace, 16, FW_BOLD));
  dc.SetTextColor(kLabel);
  std::string size = item.picture.empty() ? "" : std::to_string(item.picture.width()) + "x" + std::to_string(item.picture.height());
  dc.DrawText(Widen(std::to_string(item.number) + "  " + size), Rect::FromSize(x_, y_ + height + 2, cell_width, 17),
              DT_LEFT | DT_SINGLELINE);
  dc.SelectFont(Font(kGothicFace, 13));
  dc.SetTextColor(kNote);
  dc.DrawText(Widen(item.note), Rect::FromSize(x_, y_ + height + 19, cell_width, 15),
              DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS);

  x_ += cell_width + kGap;
  row_height_ = std::max(row_height_, cell_height);
}

std::vector<Surface> SheetPages::TakePages() { return std::move(pages_); }

}  // namespace brantel::contact_sheet
