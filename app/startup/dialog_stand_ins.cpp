#include "app/startup/dialog_stand_ins.h"

#include "controls/image_drawing.h"
#include "controls/viewer_fonts.h"
#include "platform/resources/resource_library.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"
#include "platform/ui/screen.h"
#include "platform/ui/shell.h"
#include "protocol/app_messages.h"
#include "protocol/registry_key.h"

namespace brantel {

namespace {

constexpr char16_t kCaption[] = u"증권정보 NUV";
constexpr COLORREF kWhite = RGB(255, 255, 255);

Rect BelowSystemBar() {
  Size screen = GetScreenSize();
  return Rect{0, 52, screen.cx, screen.cy};
}

bool Inside(const Rect& r, LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

void DrawCaption(DeviceContext& dc, WideView text, const Rect& r, int height, COLORREF color, unsigned format) {
  dc.SelectFont(ViewerFont(height));
  dc.SetTextColor(color);
  dc.DrawText(text, r, format);
}

class MessageBoxDlg : public Dialog {
 public:
  MessageBoxDlg(WideText text, int style) : text_(std::move(text)), style_(style) {
    SetInitialRect(BelowSystemBar());
    SetInitialText(kCaption);
  }
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_PAINT: {
        PaintScope paint(*this);
        DeviceContext& dc = paint.dc();
        dc.FillSolid(ClientRect(), RGB(16, 16, 16));
        dc.FillSolid(box_, RGB(48, 48, 48));
        DrawCaption(dc, kCaption, Rect{box_.left, box_.top, box_.right, box_.top + 65}, 32, kWhite,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        DrawCaption(dc, text_, Rect{box_.left + 26, box_.top + 93, box_.left + 419, box_.top + 190}, 24, kWhite,
                    DT_CENTER | DT_WORDBREAK);
        for (int i = 0; i < Buttons(); ++i) {
          dc.FillSolid(Button(i), RGB(80, 80, 80));
          DrawCaption(dc, i == 0 ? u"Ok" : u"Cancel", Button(i), 30, kWhite, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
        return 0;
      }
      case WM_LBUTTONUP:
        for (int i = 0; i < Buttons(); ++i)
          if (Inside(Button(i), lParam)) EndDialog(i + 1);
        return 0;
      default:
        return Dialog::WindowProc(message, wParam, lParam);
    }
  }

 private:
  int Buttons() const { return style_ == 1 ? 2 : 1; }
  Rect Button(int i) const {
    const int top = box_.top + 197;
    if (Buttons() == 1) return Rect{box_.left + 21, top, box_.left + 424, top + 62};
    return i == 0 ? Rect{box_.left + 21, top, box_.left + 217, top + 62}
                  : Rect{box_.left + 228, top, box_.left + 424, top + 62};
  }
  WideText text_;
  int style_;
  Rect box_{18, 208, 463, 488};
};

}  // namespace

int ShowNumberedMessage(Window* owner, int number, int style) {
  ResourceLibraryRef library = ProcessResources();
  MessageBoxDlg box(library ? library->String(uint32_t(number)) : WideText(), style);
  const intptr_t result = box.DoModal(owner);
  if (style == 1) return result == 1 ? 6 : 7;
  return 1;
}

void ShowPlainMessage(Window* owner, WideView text) {
  MessageBoxDlg box{WideText(text), 0};
  box.DoModal(owner);
}

// --- Loading ------------------------------------------------------------------

CLoadingDlg::CLoadingDlg(Window* owner) : owner_(owner) {
  SetInitialRect(BelowSystemBar());
  SetInitialText(kCaption);
}

bool CLoadingDlg::Create() {
  if (!CreateModeless(owner_)) return false;
  SetTopMost(true);
  SetTimer(1, 100);
  return true;
}

void CLoadingDlg::Close() {
  if (IsAlive()) Destroy();
}

LRESULT CLoadingDlg::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      frame_ = (frame_ + 1) % 8;
      Invalidate();
      return 0;
    case WM_PAINT: {
      PaintScope paint(*this);
      DeviceContext& dc = paint.dc();
      ResourceLibraryRef library = ProcessResources();
      dc.FillSolid(ClientRect(), RGB(12, 12, 12));
      DrawResourcePicture(dc, 40, 153, 400, 390, library, 1078);
      DrawResourcePicture(dc, 215, 360, 50, 50, library, 1081 + uint32_t(frame_));
      WideText text = u"로딩중";
      text.append(size_t(frame_ % 4), u'.');
      DrawCaption(dc, text, Rect{199, 418, 330, 448}, 24, RGB(0xAF, 0xAF, 0xAF), DT_LEFT | DT_SINGLELINE);
      return 0;
    }
    default:
      return Dialog::WindowProc(message, wParam, lParam);
  }
}

// --- Help -----------------------------------------------------------------------

namespace {
const Rect kTickBox{36, 543, 358, 595};
const Rect kOkButton{142, 620, 338, 682};
}  // namespace

CHelpDlg::CHelpDlg(Window* owner) : owner_(owner) {
  SetInitialRect(BelowSystemBar());
  SetInitialText(kCaption);
}

bool CHelpDlg::Create() {
  if (!CreateModeless(owner_)) return false;
  SetTopMost(true);
  return true;
}

LRESULT CHelpDlg::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PaintScope paint(*this);
      DeviceContext& dc = paint.dc();
      ResourceLibraryRef library = ProcessResources();
      dc.FillSolid(ClientRect(), RGB(12, 12, 12));
      dc.FillSolid(Rect{18, 0, 463, 700}, RGB(40, 40, 40));
      DrawCaption(dc, u"이용안내", Rect{18, 0, 463, 80}, 32, kWhite, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      DrawResourcePicture(dc, 36, 543, 52, 52, library, ticked_ ? 1092 : 1093);
      DrawCaption(dc, u"다시 보지않기", Rect{99, 550, 378, 592}, 32, kWhite, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
      DrawResourcePicture(dc, kOkButton.left, kOkButton.top, kOkButton.Width(), kOkButton.Height(), library,
                          ok_pressed_ ? 1076 : 1075);
      DrawCaption(dc, u"확인", kOkButton, 32, kWhite, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      return 0;
    }
    case WM_LBUTTONDOWN:
      if (Inside(kTickBox, lParam)) {
        ticked_ = !ticked_;
        Invalidate();
      }
      ok_pressed_ = Inside(kOkButton, lParam);
      return 0;
    case WM_LBUTTONUP:
      if (ok_pressed_ && Inside(kOkButton, lParam)) {
        if (ticked_) {
          RegistryKey key;
          if (CreateProgramKeyPath(key, HKEY_LOCAL_MACHINE, u"SOFTWARE\\BRANTEL\\BrantelStock"))
            key.SetDword(u"display_info", 1);
        }
        if (owner_ && owner_->IsAlive())
          owner_->Post(WM_HELP_CLOSED);
        else
          Destroy();
      }
      ok_pressed_ = false;
      return 0;
    default:
      return Dialog::WindowProc(message, wParam, lParam);
  }
}

}  // namespace brantel
