#include "controls/mobile_list_ctrl.h"

#include <algorithm>
#include <cstdlib>

#include "controls/image_drawing.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"
#include "platform/ui/pointer.h"
#include "platform/ui/app_messages.h"

namespace brantel {
namespace {

constexpr int kFadeStepMs = 3;
constexpr int kFadeStep = 30;
// A finger that moves farther than this from where it went down no longer presses a row.
constexpr int kPressSlopX = 20;
constexpr int kPressSlopY = 10;

}  // namespace

CMobileListCtrl::CMobileListCtrl() {
  look_.draw_picture = [this](DeviceContext& dc, uint32_t id, const Rect& rect) {
    if (auto picture = Picture(id)) StretchImage(dc, rect, *picture);
  };
}

bool CMobileListCtrl::Create(const Rect& rect, Window* parent, HWND notify, ResourceLibraryRef library, int id) {
  if (!IsWindowClassRegistered(kMobileListCtrlClass)) RegisterWindowClass(kMobileListCtrlClass);
  notify_ = notify;
  library_ = std::move(library);
  if (!Window::Create(kMobileListCtrlClass, u"", WS_VISIBLE, rect, parent, id)) return false;
  SetTargetWindow(hwnd());
  RecomputeLayout();
  return true;
}

std::shared_ptr<const Surface> CMobileListCtrl::Picture(uint32_t image_id) const {
  if (!library_ || image_id == 0) return nullptr;
  return library_->DecodedPicture(kPictureTypeGif, image_id);
}

void CMobileListCtrl::AddRow(int index, MobileListRow row) { rows_.Add(index, std::move(row)); }

void CMobileListCtrl::RemoveAllRows() {
  rows_.Clear();
  selected_ = pressed_ = -1;
  painter_.ForgetPinnedHeader();
}

void CMobileListCtrl::UpdateRange() {
  const int view = ClientRect().Height();
  content_height_ = LayOutRows(rows_.rows(), metrics_, view);
  SetVerticalRange(std::max(content_height_, view), view);
  painter_.ForgetPinnedHeader();
  Invalidate();
}

void CMobileListCtrl::RecomputeLayout() {
  rows_.RebuildSections();
  selected_ = pressed_ = -1;
  UpdateRange();
}

void CMobileListCtrl::Reset() {
  AbortMotion();
  rows_.Clear();
  flicking().vertical().position = 0;
  flicking().horizontal().position = 0;
  RecomputeLayout();
}

void CMobileListCtrl::SetCellAlternative(int row, int cell_id, int index) {
  MobileListRow* r = rows_.row(row);
  MobileListCell* cell = r ? r->FindCell(cell_id) : nullptr;
  if (!cell) return;
  cell->Show(index);
  painter_.ForgetPinnedHeader();
  Invalidate();
}

void CMobileListCtrl::SetCellStyle(int row, int cell_id, COLORREF color, COLORREF selected_color, unsigned format) {
  MobileListRow* r = rows_.row(row);
  MobileListCell* cell = r ? r->FindCell(cell_id) : nullptr;
  if (!cell || cell->image_mode) return;
  cell->text_color = color;
  cell->selected_color = selected_color;
  cell->format = format;
  painter_.ForgetPinnedHeader();
  Invalidate();
}

int CMobileListCtrl::SetCellImage(int row, int cell_id, uint32_t image_id) {
  MobileListRow* r = rows_.row(row);
  MobileListCell* cell = r ? r->FindCell(cell_id) : nullptr;
  if (!cell || !cell->image_mode) return 0;
  cell->image_id = image_id;
  cell->bitmap = Picture(image_id);
  painter_.ForgetPinnedHeader();
  Invalidate();
  return 1;
}

void CMobileListCtrl::SetRowKeyText(int row, WideView key) {
  if (MobileListRow* r = rows_.row(row)) r->key = WideText(key);
}

void CMobileListCtrl::ShowColumnAlternative(int column_id, int index) {
  rows_.ShowColumnAlternative(column_id, index);
  painter_.ForgetPinnedHeader();
  Invalidate();
}

void CMobileListCtrl::SetSeparatorPen(COLORREF color, int width) {
  look_.separator = Pen{PS_SOLID, std::max(width, 0), color};
  metrics_.separator_width = std::max(width, 0);
}

void CMobileListCtrl::SetThumbImages(uint32_t top, uint32_t body, uint32_t bottom) {
  look_.thumb_top = Picture(top);
  look_.thumb_body = Picture(body);
  look_.thumb_bottom = Picture(bottom);
}

void CMobileListCtrl::Resize(int width, int height) {
  Move(Rect::FromSize(rect().left, rect().top, width, height));
  RecomputeLayout();
}

void CMobileListCtrl::SetSelected(int row) {
  selected_ = rows_.Has(row) ? row : -1;
  Invalidate();
}

bool CMobileListCtrl::CanMoveUp(int row) const {
  const MobileListRow* r = rows_.row(row);
  const MobileListRow* above = rows_.row(row - 1);
  return r && above && !r->section && !above->section;
}

bool CMobileListCtrl::CanMoveDown(int row) const {
  const MobileListRow* r = rows_.row(row);
  const MobileListRow* below = rows_.row(row + 1);
  return r && below && !r->section && !below->section;
}

int CMobileListCtrl::MoveSelected(int direction) {
  if (edit_lock_ || selected_ < 0) return kMoveLocked;
  const MobileListRow* row = rows_.row(selected_);
  if (!row) return kMoveMissingRow;
  if (row->section) return kMoveSectionRow;
  const int neighbour = selected_ + direction;
  if (neighbour < 0 || neighbour >= rows_.size()) return kMoveBlocked;
  if (rows_.row(neighbour)->section) return kMoveBlocked;
  rows_.Swap(selected_, neighbour);
  selected_ = neighbour;
  LayOutRows(rows_.rows(), metrics_, ClientRect().Height());
  Invalidate();
  return kMoveDone;
}

int CMobileListCtrl::MoveSelectedUp() { return MoveSelected(-1); }
int CMobileListCtrl::MoveSelectedDown() { return MoveSelected(1); }

ThumbGeometry CMobileListCtrl::thumb() const {
  return ComputeThumb(ClientRect().Height(), content_height_, VerticalPosition(), metrics_.default_row_height);
}

void CMobileListCtrl::ScrollTo(int position) {
  AbortMotion();
  const int max = std::max(content_height_ - ClientRect().Height(), 0);
  SetVerticalPosition(std::clamp(position, 0, max));
  ClearFade();
  Invalidate();
  StartFade();
}

void CMobileListCtrl::ScrollByRows(int count) {
  const auto& all = rows_.rows();
  if (all.empty() || count == 0) return;
  const int position = VerticalPosition();
  size_t top = std::min(FirstRowBelow(all, metrics_, position), all.size() - 1);
  // A row cut at the top counts as the one above when scrolling up.
  int target = int(top) + count;
  if (count < 0 && all[top].top < position) ++target;
  target = std::clamp(target, 0, int(all.size()) - 1);
  ScrollTo(all[size_t(target)].top);
}

void CMobileListCtrl::ScrollByPage(int pages) {
  const auto& all = rows_.rows();
  if (all.empty() || pages == 0) return;
  const int view = ClientRect().Height();
  const int max = std::max(content_height_ - view, 0);
  const int wanted = std::clamp(VerticalPosition() + pages * view, 0, max);
  const size_t row = std::min(FirstRowBelow(all, metrics_, wanted), all.size() - 1);
  ScrollTo(wanted == max ? max : all[row].top);
}

void CMobileListCtrl::ClearFade() {
  KillTimer(SCROLLBAR_FADE_TIMER);
  fade_running_ = false;
  thumb_alpha_ = 255;
  thumb_hidden_ = false;
}

void CMobileListCtrl::StartFade() {
  thumb_alpha_ = 255;
  fade_running_ = true;
  SetTimer(SCROLLBAR_FADE_TIMER, kFadeStepMs);
}

void CMobileListCtrl::FadeTick() {
  thumb_alpha_ -= kFadeStep;
  if (thumb_alpha_ <= kFadeStep) {
    KillTimer(SCROLLBAR_FADE_TIMER);
    fade_running_ = false;
    thumb_alpha_ = 255;
    thumb_hidden_ = true;
  }
  Invalidate();
}

void CMobileListCtrl::OnFingerDown(Point p) {
  ClearFade();
  FingerDown(p);
  down_ = p;
  empty_tap_ = false;
  const MobileListHit hit = HitTestRows(rows_.rows(), metrics_, ClientRect().Width(), VerticalPosition(), p);
  if (hit.row >= 0 && !edit_lock_) {
    pressed_ = hit.row;
    pressed_cell_ = hit.cell;
    Invalidate();
    Update();
  }
  const HWND self = hwnd();
  const uint32_t gesture = RecognizeTapAndHold(self, ClientToScreen(p), TAPHOLD_RETURN_COMMAND | TAPHOLD_NO_ANIMATION);
  if (!IsWindow(self)) return;
  if (gesture == 0 && hit.row < 0) empty_tap_ = true;
}

void CMobileListCtrl::OnFingerMove(Point p) {
  if (std::abs(p.x - down_.x) > kPressSlopX || std::abs(p.y - down_.y) > kPressSlopY) {
    if (pressed_ >= 0) Invalidate();
    pressed_ = -1;
    empty_tap_ = false;
  }
  FingerMove();
}

void CMobileListCtrl::OnFingerUp(Point p) {
  FingerUp(p);
  const MobileListHit hit = HitTestRows(rows_.rows(), metrics_, ClientRect().Width(), VerticalPosition(), p);
  if (hit.row >= 0 && hit.row == pressed_ && !edit_lock_) {
    const bool again = hit.row == selected_;
    selected_ = hit.row;
    const HWND self = hwnd();
    brantel::SendMessage(notify_, WM_MOBILELIST_CLICK, MAKEWPARAM(again ? 1 : 0, uint32_t(hit.cell)),
                         LPARAM(hit.row));
    if (!IsWindow(self)) return;
  } else if (empty_tap_) {
    selected_ = -1;
  }
  pressed_ = -1;
  empty_tap_ = false;
  Invalidate();
}

void CMobileListCtrl::Paint() {
  PaintScope paint(*this);
  if (!paint.visible()) return;
  const Rect client = ClientRect();
  MobileListFrame frame;
  frame.width = client.Width();
  frame.height = client.Height();
  frame.position = VerticalPosition();
  frame.content = content_height_;
  frame.pressed = pressed_;
  frame.selected = selected_;
  frame.edit_lock = edit_lock_;
  frame.thumb_alpha = thumb_alpha_;
  frame.thumb_hidden = thumb_hidden_;
  painter_.Paint(paint.dc(), rows_, metrics_, look_, frame);
}

LRESULT CMobileListCtrl::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  const Point point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_LBUTTONDOWN:
      OnFingerDown(point);
      return 0;
    case WM_MOUSEMOVE:
      OnFingerMove(point);
      return 0;
    case WM_LBUTTONUP:
      OnFingerUp(point);
      return 0;
    case WM_FLICKING_SCROLLED:
      Invalidate();
      if (wParam == kFlickingMotionEnded) StartFade();
      return 0;
    case WM_TIMER:
      if (wParam == SCROLLBAR_FADE_TIMER) {
        FadeTick();
        return 0;
      }
      break;
    case WM_SIZE:
      UpdateRange();
      return 0;
    case WM_MOUSEWHEEL: {
      // Notches scroll whole rows; a fine wheel adds up to a notch first.
      wheel_delta_ += int16_t(HIWORD(wParam));
      const int notches = wheel_delta_ / WHEEL_DELTA;
      wheel_delta_ -= notches * WHEEL_DELTA;
      if (notches) ScrollByRows(-notches * kWheelRows);
      return 0;
    }
    case WM_KEYDOWN:
      switch (wParam) {
        case VK_UP: ScrollByRows(-1); return 0;
        case VK_DOWN: ScrollByRows(1); return 0;
        case VK_PRIOR: ScrollByPage(-1); return 0;
        case VK_NEXT: ScrollByPage(1); return 0;
        default: break;
      }
      break;
    default:
      break;
  }
  return CFlickingCtrl::WindowProc(message, wParam, lParam);
}

}  // namespace brantel
