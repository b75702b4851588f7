#include "updater/updater_panel.h"

#include "controls/image_drawing.h"
#include "platform/gfx/device_context.h"
#include "resources/updater/updater_pictures.h"

namespace brantel {

namespace {

constexpr COLORREF kTextColor = 0x37373A;
constexpr COLORREF kFailedTextColor = 0x9D0091;

Surface Picture(uint32_t number) { return DecodeImage(UpdaterPictureBytes(number)); }

}  // namespace

UpdaterPanelArt LoadUpdaterPanelArt() {
  UpdaterPanelArt art;
  art.background = Picture(507);
  art.overall_frame = Picture(506);
  art.file_frame = Picture(510);
  art.file_label = Picture(508);
  art.overall_label = Picture(509);
  art.text_font = Font(u"벨탄고딕", 17, FW_NORMAL);
  art.title_font = Font(u"벨탄고딕", 18, FW_BOLD);
  return art;
}

void PaintUpdaterPanel(Surface& panel, const UpdaterPanelState& state, const UpdaterPanelArt& art) {
  if (panel.width() != kPanelWidth || panel.height() != kPanelHeight)
    panel.Resize(kPanelWidth, kPanelHeight, ColorRefToPixel(kPanelTransparent));
  DeviceContext dc(panel);
  dc.FillSolid(Rect{0, 0, kPanelWidth, kPanelHeight}, kPanelTransparent);
  DrawImage(dc, 0, 0, art.background);
  const bool downloading = !state.install_phase;
  if (!state.failed) {
    if (downloading) {
      DrawImage(dc, 28, 190, art.overall_label);
      DrawImage(dc, 28, 243, art.file_label);
      DrawImage(dc, 38, 211, art.overall_frame);
    }
    DrawImage(dc, 38, 264, art.file_frame);
  }

  dc.SetBkMode(TRANSPARENT);
  dc.SelectFont(art.text_font);
  dc.SetTextColor(state.failed ? kFailedTextColor : kTextColor);
  constexpr unsigned kLine = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  if (downloading) dc.DrawText(state.overall_size_text, Rect{110, 187, 292, 211}, kLine | DT_RIGHT);
  dc.DrawText(state.file_name, Rect{105, 126, 281, 150}, kLine | DT_LEFT | DT_END_ELLIPSIS);
  dc.DrawText(state.file_text, Rect{110, 241, 292, 265}, kLine | (state.failed ? DT_CENTER : DT_RIGHT));

  if (!state.failed) {
    dc.SelectFont(art.title_font);
    dc.SetTextColor(kTextColor);
    dc.DrawText(downloading ? u"파일 다운로드 중 ..." : u"파일 복사 중 ...", Rect{31, 86, 292, 116},
                DT_SINGLELINE | DT_LEFT | DT_NOPREFIX);
  }
}

}  // namespace brantel
