// The list on the headless screen: the pinned section header, separators,
// the selection picture and the thumb in pixels; taps, header captions,
// the alternatives and styles screens choose,
// row moves, the thumb's fade, wheel and keys, and a list destroyed while
// it coasts.

#include "controls/mobile_list.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "platform/ui/clock.h"
#include "platform/ui/display.h"
#include "platform/ui/headless_backend.h"
#include "platform/ui/input_router.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/screen.h"
#include "platform/ui/script_player.h"
#include "platform/ui/app_messages.h"

namespace brantel {
namespace {

constexpr int kBodyTop = 52 + 40;  // owner at the work area's top, header 40 high
constexpr int kRowHeight = 70;
constexpr int kSectionHeight = 42;
constexpr int kPriceColumn = 5;

COLORREF SectionColor(int ordinal) { return RGB(200, 40 * ordinal, 0); }

class Owner : public Window {
 public:
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_MOBILELIST_CLICK) clicks.emplace_back(wParam, lParam);
    if (message == WM_MOBILELIST_COLUMN) columns.emplace_back(wParam, lParam);
    return DefWindowProc(message, wParam, lParam);
  }
  std::vector<std::pair<WPARAM, LPARAM>> clicks, columns;
};

class MobileListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartDisplayWith(std::make_unique<HeadlessBackend>(), false));
    library_ = ResourceLibrary::Load(std::string(BRANTEL_BIN_DIR) + "/" + kResourceLibraryFileName);
    ASSERT_TRUE(library_);
    ASSERT_TRUE(owner_.Create(u"ListOwner", u"", WS_VISIBLE, Rect::FromSize(0, 52, 480, 748)));
    list_ = std::make_unique<CMobileList>();
    ASSERT_TRUE(list_->Create(Rect{0, 0, 480, 740}, &owner_, library_, 7));
    list_->AddHeader(40);
    list_->AddHeaderColumn(1, 240, u"종목");
    list_->AddHeaderColumn(kPriceColumn, 240, u"현재가^등락^거래량", {}, DT_RIGHT);
    body().SetDefaultRowHeight(kRowHeight);
    body().SetSeparatorPen(0x585858, 1);
    Fill(30);
  }
  void TearDown() override {
    list_.reset();
    owner_.Destroy();
    StopDisplay();
  }
  CMobileListCtrl& body() { return list_->body(); }

  // Every tenth row a section header in its own colour.
  void Fill(int rows) {
    body().Reset();
    const Font font(u"벨탄고딕", 22);
    for (int i = 0; i < rows; ++i) {
      MobileListRow row;
      row.key = u"key" + Widen(std::to_string(i));
      if (i % 10 == 0) {
        row.section = true;
        row.height = kSectionHeight;
        MobileListCell band = MobileListCell::Image(0, 0, Rect{0, 0, 480, kSectionHeight}, 0);
        band.bitmap = std::make_shared<Surface>(480, kSectionHeight, ColorRefToPixel(SectionColor(i / 10)));
        row.cells.push_back(std::move(band));
      } else {
        const WideText n = Widen(std::to_string(i));
        row.cells.push_back(MobileListCell::Text(0, 1, Rect{10, 0, 200, kRowHeight}, u"종목 " + n, font, 0xFFFFFF,
                                                 0x00FFFF, DT_SINGLELINE | DT_VCENTER));
        row.cells.push_back(MobileListCell::Text(1, kPriceColumn, Rect{240, 0, 460, kRowHeight},
                                                 u"A" + n + u"^B" + n + u"^C" + n, font, 0xFFFFFF, 0x00FFFF,
                                                 DT_RIGHT | DT_SINGLELINE | DT_VCENTER));
      }
      body().AddRow(-1, std::move(row));
    }
    body().RecomputeLayout();
  }
  // Content top of row i with this layout.
  static int RowTop(int i) {
    int y = 0;
    for (int r = 0; r < i; ++r) y += (r % 10 == 0 ? kSectionHeight : kRowHeight) + 1;
    return y;
  }
  COLORREF BodyPixel(int x, int y) {
    PumpPendingMessages();
    Surface screen;
    CopyScreen(screen);
    return PixelToColorRef(screen.at(x, kBodyTop + y));
  }
  void Tap(Window& w, int x, int y) {
    w.Post(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(uint32_t(x), uint32_t(y)));
    w.Post(WM_LBUTTONUP, 0, MAKELPARAM(uint32_t(x), uint32_t(y)));
    PumpPendingMessages();
  }
  void ScrollTo(int position) {
    body().SetVerticalPosition(position);
    body().Invalidate();
  }

  ResourceLibraryRef library_;
  Owner owner_;
  std::unique_ptr<CMobileList> list_;
};

TEST_F(MobileListTest, SectionsPinnedHeaderSeparatorsSelectionAndThumb) {
  EXPECT_EQ(body().content_height(), RowTop(30));
  EXPECT_EQ(BodyPixel(240, 20), SectionColor(0));
  EXPECT_EQ(BodyPixel(240, kSectionHeight), 0x585858u);  // separator under the section row
  EXPECT_EQ(BodyPixel(300, RowTop(2) - 1), 0x585858u);
  EXPECT_EQ(BodyPixel(300, RowTop(2) - 2), 0x000000u);

  // The next section header pushes the pinned one up.
  ScrollTo(RowTop(10) - 20);
  EXPECT_EQ(BodyPixel(240, 5), SectionColor(0));
  EXPECT_EQ(BodyPixel(240, 30), SectionColor(1));
  // Once past, the second section stays pinned over the rows below it.
  ScrollTo(RowTop(10) + 30);
  EXPECT_EQ(BodyPixel(240, 35), SectionColor(1));
  EXPECT_NE(BodyPixel(240, 50), SectionColor(1));
  // Pulled down past the start: no pinned header above the first row.
  ScrollTo(-30);
  EXPECT_EQ(BodyPixel(240, 10), 0x000000u);
  EXPECT_EQ(BodyPixel(240, 40), SectionColor(0));

  // The selection picture at the selected row's top-left.
  ScrollTo(0);
  body().SetSelectionImage(1023);
  auto selection = library_->DecodedPicture(kPictureTypeGif, 1023);
  ASSERT_TRUE(selection);
  const int y = RowTop(2) + 5;
  const COLORREF plain = BodyPixel(470, y);
  body().SetSelected(2);
  body().Invalidate();
  const uint32_t picture_pixel = selection->at(470, 5);
  EXPECT_NE(BodyPixel(470, y), plain);
  if ((picture_pixel >> 24) == 0xFF) {
    EXPECT_EQ(BodyPixel(470, y), PixelToColorRef(picture_pixel));
  }
  body().SetEditLock(true);  // locked lists show no selection
  body().Invalidate();
  EXPECT_EQ(BodyPixel(470, y), plain);
  body().SetEditLock(false);

  // The thumb at the right edge, from the three thumb pictures.
  body().SetThumbImages(1026, 1028, 1027);
  body().SetThumbWidth(15);
  const ThumbGeometry thumb = body().thumb();
  ASSERT_GT(thumb.length, 0);
  const int mid = (thumb.top + thumb.bottom) / 2;
  const COLORREF with_thumb = BodyPixel(472, mid);
  body().EnableScrollBar(false);
  body().Invalidate();
  EXPECT_NE(BodyPixel(472, mid), with_thumb);
}

TEST_F(MobileListTest, TapsSelectAndHeaderCaptionsCycleTheirColumn) {
  Tap(body(), 300, RowTop(2) + 30);
  ASSERT_EQ(owner_.clicks.size(), 1u);
  EXPECT_EQ(owner_.clicks[0], std::make_pair(WPARAM(MAKEWPARAM(0, 1)), LPARAM(2)));  // price cell, newly selected
  EXPECT_EQ(body().selected(), 2);
  Tap(body(), 50, RowTop(2) + 30);
  ASSERT_EQ(owner_.clicks.size(), 2u);
  EXPECT_EQ(owner_.clicks[1], std::make_pair(WPARAM(MAKEWPARAM(1, 0)), LPARAM(2)));  // name cell, again
  Tap(body(), 50, RowTop(3) + 30);
  EXPECT_EQ(owner_.clicks[2].first, WPARAM(MAKEWPARAM(0, 0)));
  EXPECT_EQ(body().selected(), 3);

  // The empty area under a short list clears the selection.
  Fill(3);
  body().SetSelected(1);
  Tap(body(), 50, 600);
  EXPECT_EQ(body().selected(), -1);
  EXPECT_EQ(owner_.clicks.size(), 3u);
  Fill(30);

  // Three captions cycle 1, 2, 0; every cell of the column follows.
  CMobileListHead& head = list_->head();
  WideText text;
  for (int expected : {1, 2, 0}) {
    Tap(head, 300, 20);
    ASSERT_FALSE(owner_.columns.empty());
    EXPECT_EQ(owner_.columns.back(), std::make_pair(WPARAM(kPriceColumn), LPARAM(expected)));
    EXPECT_EQ(head.FindColumn(kPriceColumn)->shown, expected);
    for (int row : {1, 15, 29}) {
      ASSERT_EQ(body().GetCellText(row, 1, &text), 0);
      EXPECT_EQ(text, WideText(1, u"ABC"[expected]).append(Widen(std::to_string(row))));
    }
  }
  EXPECT_EQ(owner_.columns.size(), 3u);
  Tap(head, 100, 20);  // a single caption does not cycle
  EXPECT_EQ(owner_.columns.size(), 3u);
  EXPECT_EQ(body().GetCellText(1, 9, &text), -2);
  EXPECT_EQ(body().GetCellText(99, 1, &text), -1);
  bool section = false;
  EXPECT_EQ(body().GetRowText(10, &text, &section), 0);
  EXPECT_TRUE(section);
  EXPECT_EQ(body().GetRowText(30, &text), -1);
}

TEST_F(MobileListTest, ScreensChooseCellAlternativesColumnsAndStyles) {
  WideText text;
  body().SetCellAlternative(1, 1, 2);
  ASSERT_EQ(body().GetCellText(1, 1, &text), 0);
  EXPECT_EQ(text, u"C1");
  body().SetCellAlternative(1, 1, 7);  // outside the alternatives: the first
  body().GetCellText(1, 1, &text);
  EXPECT_EQ(text, u"A1");

  list_->SetColumnAlternative(kPriceColumn, 1);
  EXPECT_EQ(list_->head().FindColumn(kPriceColumn)->shown, 1);
  for (int row : {2, 29}) {
    body().GetCellText(row, 1, &text);
    EXPECT_EQ(text, WideText(u"B").append(Widen(std::to_string(row))));
  }

  body().SetCellStyle(2, 1, 0x0000FF, 0x00FF00, DT_CENTER);
  const MobileListCell* cell = body().rows().row(2)->FindCell(1);
  EXPECT_EQ(cell->text_color, COLORREF(0x0000FF));
  EXPECT_EQ(cell->selected_color, COLORREF(0x00FF00));
  EXPECT_EQ(cell->format, unsigned(DT_CENTER));
  const COLORREF band_color = body().rows().row(0)->FindCell(0)->text_color;
  body().SetCellStyle(0, 0, 0x0000FF, 0x00FF00, DT_CENTER);  // an image cell keeps its style
  EXPECT_EQ(body().rows().row(0)->FindCell(0)->text_color, band_color);
}

TEST_F(MobileListTest, MovesAndTheirReturnCodes) {
  EXPECT_EQ(body().MoveSelectedUp(), kMoveLocked);  // nothing selected
  body().SetSelected(2);
  EXPECT_EQ(body().MoveSelectedUp(), kMoveDone);
  EXPECT_EQ(body().selected(), 1);
  WideText key;
  body().GetRowText(1, &key);
  EXPECT_EQ(key, u"key2");
  EXPECT_EQ(body().rows().row(1)->index, 1);
  EXPECT_EQ(body().MoveSelectedUp(), kMoveBlocked);  // a section header above
  EXPECT_FALSE(body().CanMoveUp(1));
  EXPECT_TRUE(body().CanMoveDown(1));
  body().SetSelected(9);
  EXPECT_EQ(body().MoveSelectedDown(), kMoveBlocked);
  body().SetSelected(10);
  EXPECT_EQ(body().MoveSelectedDown(), kMoveSectionRow);
  body().SetSelected(29);
  EXPECT_EQ(body().MoveSelectedDown(), kMoveBlocked);  // the last row
  EXPECT_EQ(body().MoveSelectedUp(), kMoveDone);
  body().SetEditLock(true);
  EXPECT_EQ(body().MoveSelectedUp(), kMoveLocked);
}

TEST_F(MobileListTest, ThumbFadesAfterMotionAndWheelAndKeysScrollByRows) {
  {
    ManualClockScope clock;
    body().Post(WM_FLICKING_SCROLLED, kFlickingMotionEnded, 0);
    PumpPendingMessages();
    int ticks = 0;
    while (!body().thumb_hidden() && ticks < 20) {
      AdvanceClock(3);
      PumpPendingMessages();
      ++ticks;
      if (!body().thumb_hidden()) {
        EXPECT_EQ(body().thumb_alpha(), 255 - 30 * ticks);
      }
    }
    EXPECT_EQ(ticks, 8);  // 255 - 8 x 30 = 15 <= 30
    EXPECT_EQ(body().thumb_alpha(), 255);
    Tap(body(), 50, 600);  // the next finger down shows it again
    EXPECT_FALSE(body().thumb_hidden());
  }

  InputScript script;
  script.Move(240, 400).Wheel(0, -1).Idle();
  ASSERT_TRUE(PlayScript(script));
  EXPECT_EQ(body().VerticalPosition(), RowTop(3));
  body().Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 60));  // half a notch waits for the rest
  EXPECT_EQ(body().VerticalPosition(), RowTop(3));
  body().Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 60));
  EXPECT_EQ(body().VerticalPosition(), 0);
  body().Send(WM_KEYDOWN, VK_DOWN);
  EXPECT_EQ(body().VerticalPosition(), RowTop(1));
  body().Send(WM_KEYDOWN, VK_NEXT);
  EXPECT_LE(body().VerticalPosition(), RowTop(1) + 700);
  EXPECT_GT(body().VerticalPosition(), RowTop(1) + 700 - kRowHeight - 2);
  body().Send(WM_KEYDOWN, VK_UP);
  body().ScrollByRows(1000);  // whole rows, but never past the end
  const int max = body().content_height() - body().ClientRect().Height();
  EXPECT_EQ(body().VerticalPosition(), max);
  body().ScrollByPage(-100);
  EXPECT_EQ(body().VerticalPosition(), 0);

  std::vector<ScriptStep> steps;
  std::string error;
  EXPECT_TRUE(ParseScript("wheel 0 -1.5\n", steps, error));
  EXPECT_FALSE(ParseScript("wheel down\n", steps, error));
}

TEST_F(MobileListTest, PulledAndHeldListSpringsBackOneTimerTickAtATime) {
  ManualClockScope clock;
  // Pull the list 100 pixels down, hold it 400 ms, let go: a slow gesture
  // out of range settles on window timer ticks, each one painted.
  // (A first move queued with the press lets the tap-and-hold wait end.)
  RoutePointer(PointerAction::kDown, 240, kBodyTop + 200);
  RoutePointer(PointerAction::kMove, 240, kBodyTop + 210);
  PumpPendingMessages();
  RoutePointer(PointerAction::kMove, 240, kBodyTop + 300);
  PumpPendingMessages();
  ASSERT_EQ(body().VerticalPosition(), -100);
  AdvanceClock(400);
  RoutePointer(PointerAction::kUp, 240, kBodyTop + 300);
  PumpPendingMessages();
  std::vector<int> positions{body().VerticalPosition()};
  std::vector<COLORREF> row_top;
  while (positions.back() != 0 && positions.size() < 100) {
    row_top.push_back(BodyPixel(240, 60));  // inside the first row while it comes back
    AdvanceClock(4);
    PumpPendingMessages();
    positions.push_back(body().VerticalPosition());
  }
  EXPECT_EQ(positions.back(), 0);
  EXPECT_GT(positions.size(), 5u);
  EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
  EXPECT_EQ(row_top.front(), 0x000000u);  // still pulled: empty above the first row
  EXPECT_EQ(BodyPixel(240, 20), SectionColor(0));
  AdvanceClock(4);  // the tick that finds the run at rest ends it
  PumpPendingMessages();
  EXPECT_FALSE(body().IsMoving());
}

TEST_F(MobileListTest, ListDestroyedWhileCoastingIsLeftAlone) {
  Fill(3000);
  InputScript script;
  script.Press(240, 600).Move(240, 450).Move(240, 300).Release().Wait(20).Call([&] {
    EXPECT_TRUE(body().IsMoving());
    list_.reset();  // waits for the run's thread to let go
  });
  ASSERT_TRUE(PlayScript(script));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  PumpPendingMessages();
  EXPECT_FALSE(list_);
}

}  // namespace
}  // namespace brantel
