// The Yes/No question box: a small modal dialog centred on the screen with
// the caption, the question and two buttons.

#include "controls/ce_button.h"
#include "platform/gfx/device_context.h"
#include "platform/ui/dialog.h"
#include "platform/ui/paint.h"
#include "platform/ui/screen.h"
#include "resources/updater/updater_pictures.h"
#include "updater/updater_dialog_services.h"

namespace brantel {

namespace {

QuestionBox g_question_box_override;

constexpr int kBoxWidth = 400;
constexpr int kBoxHeight = 240;
constexpr int kYesId = 6;  // IDYES
constexpr int kNoId = 7;   // IDNO

class CQuestionBox : public Dialog {
 public:
  CQuestionBox(WideView text, WideView caption) : text_(text), caption_(caption) {
    const Size screen = GetScreenSize();
    SetInitialRect(Rect::FromSize((screen.cx - kBoxWidth) / 2, (screen.cy - kBoxHeight) / 2, kBoxWidth, kBoxHeight));
    SetInitialText(caption);
  }

 protected:
  bool OnInitDialog() override {
    SetTopMost(true);
    const PictureSource pictures = [](uint32_t n) { return UpdaterPictureBytes(n); };
    const int y = kBoxHeight - 58;
    yes_.Create(Rect::FromSize(kBoxWidth / 2 - 118, y, 108, 38), this, kYesId);
    no_.Create(Rect::FromSize(kBoxWidth / 2 + 10, y, 108, 38), this, kNoId);
    for (CCeButton* b : {&yes_, &no_}) {
      b->SetImages(pictures, 501, 502);
      b->SetTransparent(true, 0xFF00FF);
    }
    yes_.SetCaption(u"예", Rect{0, 0, 108, 38});
    no_.SetCaption(u"아니요", Rect{0, 0, 108, 38});
    return true;
  }

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_CEBUTTON_CLICKED) {
      EndDialog(intptr_t(wParam));
      return 0;
    }
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
      EndDialog(kNoId);
      return 0;
    }
    if (message == WM_PAINT) {
      PaintScope paint(*this);
      DeviceContext& dc = paint.dc();
      dc.FillSolid(ClientRect(), 0x3A3737);
      dc.FillSolid(Rect{0, 0, kBoxWidth, 44}, 0x5A4A2A);
      dc.SetBkMode(TRANSPARENT);
      dc.SetTextColor(0xFFFFFF);
      dc.SelectFont(Font(u"벨탄고딕", 20, FW_BOLD));
      dc.DrawText(caption_, Rect{16, 0, kBoxWidth - 16, 44}, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS);
      // A question mark in a circle stands for the question icon.
      dc.SelectFont(Font(u"벨탄고딕", 36, FW_BOLD));
      dc.SetTextColor(0x60C0FF);
      dc.DrawText(u"?", Rect{14, 60, 58, 120}, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
      dc.SelectFont(Font(u"벨탄고딕", 18, FW_NORMAL));
      dc.SetTextColor(0xFFFFFF);
      dc.DrawText(text_, Rect{66, 56, kBoxWidth - 16, kBoxHeight - 66}, DT_WORDBREAK | DT_LEFT | DT_VCENTER);
      return 0;
    }
    return Dialog::WindowProc(message, wParam, lParam);
  }

 private:
  WideText text_;
  WideText caption_;
  CCeButton yes_;
  CCeButton no_;
};

}  // namespace

void SetQuestionBoxForTesting(QuestionBox box) { g_question_box_override = std::move(box); }

bool AskYesNo(HWND owner, WideView text, WideView caption) {
  if (g_question_box_override) return g_question_box_override(owner, text, caption);
  CQuestionBox box(text, caption);
  return box.DoModal(WindowFromHandle(owner)) == kYesId;
}

}  // namespace brantel
