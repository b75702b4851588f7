#include "tools/gallery/gallery_window.h"

#include "platform/ui/paint.h"
#include "platform/ui/screen.h"
#include "platform/ui/shell.h"
#include "tools/gallery/gallery_list.h"

namespace brantel::gallery {
namespace {

const char16_t* PointerName(uint32_t message) {
  switch (message) {
    case WM_LBUTTONDOWN: return u"WM_LBUTTONDOWN";
    case WM_MOUSEMOVE: return u"WM_MOUSEMOVE";
    default: return u"WM_LBUTTONUP";
  }
}

}  // namespace

// ---- the message box ----

bool MessageBoxDialog::OnInitDialog() {
  // The screen behind, darkened: the dialog's own background.
  Surface screen;
  CopyScreen(screen);
  const Rect r = rect();
  dimmed_.Resize(r.Width(), r.Height());
  DeviceContext dc(dimmed_);
  dc.BitBlt(0, 0, r.Width(), r.Height(), screen, r.left, r.top);
  PaintDimmedBackground(dc);
  return true;
}

int MessageBoxDialog::ButtonAt(int x, int y) const {
  for (int i = 0; i < 2; ++i)
    if (MessageBoxButton(i).Contains(x, y)) return i;
  return -1;
}

LRESULT MessageBoxDialog::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PaintScope paint(*this);
      DeviceContext& dc = paint.dc();
      dc.BitBlt(0, 0, dimmed_.width(), dimmed_.height(), dimmed_, 0, 0);
      PaintMessageBox(dc, pressed_);
      return 0;
    }
    case WM_LBUTTONDOWN:
      pressed_ = ButtonAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      SetCapture(hwnd());
      Invalidate();
      return 0;
    case WM_LBUTTONUP: {
      ReleaseCapture();
      const int hit = ButtonAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      const int was = pressed_;
      pressed_ = -1;
      Invalidate();
      if (hit >= 0 && hit == was) EndDialog(hit == 0 ? IDYES : IDNO);
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) EndDialog(IDCANCEL);
      return 0;
    default:
      return Dialog::WindowProc(message, wParam, lParam);
  }
}

// ---- the gallery ----

GalleryDialog::GalleryDialog() { SetInitialText(u"Gallery"); }

bool GalleryDialog::OnInitDialog() {
  MakeFullScreenDialog(hwnd());
  SetTitleBarButton(hwnd(), TITLE_BUTTON_CLOSE);
  list_ = std::make_unique<CMobileList>();
  if (list_->Create(kListRect, this, nullptr)) {
    SetUpGalleryList(list_->body());
    list_->Show(false);
  }
  CreateEdits();
  return true;
}

void GalleryDialog::CreateEdits() {
  for (const EditSample& sample : EditSamples()) {
    auto edit = std::make_unique<EditControl>();
    edit->SetFont(EditSampleFont(sample));
    if (!edit->Create(sample.text, sample.style, sample.rect, this, sample.id)) continue;
    edit->Send(EM_SETSEL, WPARAM(sample.sel_start), LPARAM(sample.sel_end));
    if (sample.composing) edit->Send(WM_IME_COMPOSITION, sample.composing, GCS_COMPSTR);
    edits_.push_back(std::move(edit));
  }
}

// The edits show on their page only; the first one takes the focus there.
void GalleryDialog::ShowEdits() {
  for (auto& edit : edits_) edit->Show(page_ == kEdit);
  if (page_ == kEdit && !edits_.empty()) SetFocus(edits_.front()->hwnd());
  if (page_ != kEdit && GetFocus() != hwnd()) SetFocus(hwnd());
}

void GalleryDialog::TurnPage(int delta) {
  const int next = page_ + delta;
  if (next < 0 || next >= kPageCount) return;
  page_ = next;
  SetInputPanel(page_ == kInput || page_ == kEdit);
  if (page_ == kControls) {
    controls_.Show(this);
  } else {
    controls_.Hide();
  }
  if (list_ && list_->IsAlive()) list_->Show(page_ == kList);
  ShowEdits();
  Invalidate();
}

void GalleryDialog::OnPointer(uint32_t message, int x, int y) {
  if (page_ == kInput) {
    echo_.pointer = FormatText(u"%s %d, %d", PointerName(message), x, y);
    if (message == WM_LBUTTONDOWN) echo_.trail.clear();
    if (message != WM_LBUTTONUP || !echo_.trail.empty()) echo_.trail.push_back(Point{x, y});
    Invalidate();
  }
  if (message == WM_LBUTTONDOWN) {
    SetCapture(hwnd());
    if (y < kHeaderHeight && x < kPageWidth / 4) TurnPage(-1);
    if (y < kHeaderHeight && x >= kPageWidth * 3 / 4) TurnPage(1);
    if (page_ == kDialog && kOpenDialogButton.Contains(x, y)) {
      button_pressed_ = true;
      Invalidate(&kOpenDialogButton);
    }
    return;
  }
  if (message != WM_LBUTTONUP) return;
  ReleaseCapture();
  if (!button_pressed_) return;
  button_pressed_ = false;
  Invalidate(&kOpenDialogButton);
  if (kOpenDialogButton.Contains(x, y)) {
    Update();
    MessageBoxDialog box;
    box.SetInitialRect(ScreenRect());
    box.DoModal(this);
  }
}

void GalleryDialog::OnKey(uint32_t message, WPARAM key) {
  if (page_ == kInput) {
    echo_.keys = FormatText(u"%s 0x%02X", message == WM_KEYDOWN ? u"WM_KEYDOWN" : u"WM_KEYUP", unsigned(key));
    Invalidate();
  }
  if (message != WM_KEYDOWN) return;
  // The list page passes the scrolling keys on, as the screens do.
  if (page_ == kList && list_ && (key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT))
    list_->body().Send(WM_KEYDOWN, key);
  if (key == VK_LEFT) TurnPage(-1);
  if (key == VK_RIGHT) TurnPage(1);
  if (key == VK_ESCAPE) EndDialog(IDCANCEL);  // the back key leaves
}

void GalleryDialog::OnChar(char16_t c) {
  if (page_ != kInput) return;
  if (c == u'\b') {
    if (!echo_.typed.empty()) echo_.typed.pop_back();
  } else if (c >= 0x20) {
    echo_.typed.push_back(c);
  }
  Invalidate();
}

LRESULT GalleryDialog::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PaintScope paint(*this);
      DeviceContext& dc = paint.dc();
      PaintPage(dc, page_, echo_, false, button_pressed_);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      OnPointer(message, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
      OnKey(message, wParam);
      return 0;
    case WM_CHAR:
      OnChar(char16_t(wParam));
      return 0;
    case WM_IME_COMPOSITION:
      if (page_ == kInput && (lParam & GCS_COMPSTR)) {
        echo_.composing = wParam ? WideText(1, char16_t(wParam)) : WideText();
        Invalidate();
      }
      if (lParam & GCS_RESULTSTR) echo_.composing.clear();
      return 0;
    case WM_IME_ENDCOMPOSITION:
      echo_.composing.clear();
      Invalidate();
      return 0;
    case WM_CTLCOLOREDIT:
      for (const EditSample& sample : EditSamples())
        if (GetDlgItem(sample.id) && GetDlgItem(sample.id)->hwnd() == HWND(lParam)) {
          *reinterpret_cast<EditColors*>(wParam) = sample.colors;
          return 1;
        }
      return 0;
    case WM_COMMAND:
      // The title-bar button (close) ends the gallery.
      if (HIWORD(wParam) == 0x1000) {
        EndDialog(IDCANCEL);
        return 0;
      }
      return Dialog::WindowProc(message, wParam, lParam);
    default:
      return Dialog::WindowProc(message, wParam, lParam);
  }
}

}  // namespace brantel::gallery
