#pragma once
// Turns raw input from a display backend or a script into window messages:
// hit-testing, capture, activation on press, focus for keys, coalesced move
// points. Called on the UI thread.

#include <cstdint>

#include "platform/text.h"

namespace brantel {

enum class PointerAction { kDown, kMove, kUp };

// Coordinates are screen pixels; fractions are kept for the move points.
void RoutePointer(PointerAction action, double x, double y);
// Wheel turns at screen point (x, y), in WHEEL_DELTA units a notch (dy
// positive away from the user, dx positive to the right): WM_MOUSEWHEEL and
// WM_MOUSEHWHEEL to the window under the point.
void RouteWheel(double x, double y, int delta_x, int delta_y);
// Virtual-key press or release, to the focus window (else the active one).
void RouteKey(uint32_t vk, bool down);
// Whether a key is held (routed down and not yet up): Shift and Control for
// the edit's selection and clipboard keys.
bool IsKeyDown(uint32_t vk);
// A finished character (text input): WM_CHAR.
void RouteChar(char16_t ch);
// Input-method composition: start, the character being composed (0 when the
// composition was cleared), finished text (sent as WM_IME_COMPOSITION with
// GCS_RESULTSTR and WM_CHAR per character), end.
void RouteCompositionStart();
void RouteCompositionUpdate(char16_t composing);
void RouteCompositionResult(WideView text);
void RouteCompositionEnd();
bool IsComposing();

// The desktop asks to close the window (its close button): WM_CLOSE_REQUEST
// when the program takes system key messages, else WM_QUIT.
void RouteCloseRequest();

}  // namespace brantel
