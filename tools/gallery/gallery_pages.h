#pragma once
// The gallery's pages, painted with the device context alone so that the
// same pixels come out in a window, on the headless screen and in --pages.

#include <vector>

#include "platform/gfx/device_context.h"
#include "platform/ui/edit_painting.h"
#include "platform/text.h"

namespace brantel::gallery {

constexpr int kPageWidth = 480;
constexpr int kPageHeight = 748;  // the screen below the 52-pixel system bar
constexpr int kHeaderHeight = 44;

enum Page { kTextSmall, kTextLarge, kDrawText, kDrawing, kDialog, kInput, kControls, kList, kEdit, kPageCount };

WideText PageTitle(int page);

// The band at the top: title, page number and the previous/next arrows
// (tapping the left or right quarter of the band turns the page).
void PaintHeader(DeviceContext& dc, int page);

// Pages that need no state.
void PaintTextPage(DeviceContext& dc, bool large);
void PaintDrawTextPage(DeviceContext& dc);
void PaintDrawingPage(DeviceContext& dc);

// The dialog page: a button that opens a modal message box.
constexpr Rect kOpenDialogButton{120, 320, 360, 390};
void PaintDialogPage(DeviceContext& dc, bool pressed);
// The message box: dims what `dc` shows (black at alpha 210), then draws the
// box with a caption, a text and two buttons (`pressed`: -1, 0 or 1).
Rect MessageBoxRect();
Rect MessageBoxButton(int index);
void PaintDimmedBackground(DeviceContext& dc);
void PaintMessageBox(DeviceContext& dc, int pressed);

// The input page: what arrived from the pointer and the keyboard.
struct InputEcho {
  std::vector<Point> trail;   // points of the current or last stroke
  WideText pointer;           // the last pointer message, described
  WideText keys;              // the last key messages, described
  WideText typed;             // WM_CHAR text
  WideText composing;         // input-method composition in progress
};
void PaintInputPage(DeviceContext& dc, const InputEcho& echo);

// The controls page: labels and the controls at rest (gallery_controls.h).
void PaintControlsPage(DeviceContext& dc);
// The edit page: edits in the states the screens show them. The gallery
// window puts real edit controls over them; --pages paints their looks.
struct EditSample {
  int id;
  Rect rect;               // in page coordinates
  uint32_t style;          // 0 or ES_MULTILINE
  int font_height;
  WideText text;
  long sel_start, sel_end;  // EM_SETSEL
  char16_t composing;      // the syllable being composed, or 0
  EditColors colors;
  bool focused;
};
const std::vector<EditSample>& EditSamples();
const Font& EditSampleFont(const EditSample& sample);
void PaintEditPage(DeviceContext& dc);

// The whole page as the gallery shows it (header included); the dialog page
// with the message box open when `dialog_open`, its button pressed when
// `button_pressed`.
void PaintPage(DeviceContext& dc, int page, const InputEcho& echo, bool dialog_open, bool button_pressed = false);

}  // namespace brantel::gallery
