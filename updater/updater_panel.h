#pragma once
// The updater's 322 x 360 panel: background picture, bar labels and frames,
// the phase title, the file name and the size or status texts. Painted into
// an off-screen surface that the window lays over its screen picture.

#include "platform/gfx/font.h"
#include "platform/gfx/surface.h"
#include "platform/text.h"

namespace brantel {

inline constexpr int kPanelWidth = 322;
inline constexpr int kPanelHeight = 360;
inline constexpr COLORREF kPanelTransparent = 0xFF00FF;

// What the panel shows.
struct UpdaterPanelState {
  bool install_phase = false;
  bool failed = false;
  WideText file_name;
  WideText overall_size_text;  // download phase only
  WideText file_text;          // file size, or the status text
};

// The pictures and fonts the panel is drawn with.
struct UpdaterPanelArt {
  Surface background;    // 507
  Surface overall_frame; // 506
  Surface file_frame;    // 510
  Surface file_label;    // 508
  Surface overall_label; // 509
  Font text_font;        // "벨탄고딕" 17, 400
  Font title_font;       // "벨탄고딕" 18, 700
};

// Loads the updater's own pictures and the two fonts.
UpdaterPanelArt LoadUpdaterPanelArt();

// Paints the whole panel into `panel` (resized to 322 x 360).
void PaintUpdaterPanel(Surface& panel, const UpdaterPanelState& state, const UpdaterPanelArt& art);

}  // namespace brantel
