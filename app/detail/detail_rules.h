#pragma once
// The small rules of the stock detail that do not need a window: how texts
// are cut for their cells, which period a menu item asks for, the panel's
// content height and thumb, and where the name goes in the title band.

#include "platform/gfx/geometry.h"
#include "platform/text.h"

namespace brantel {

// Period menu items; the period index is the item id less 1230.
inline constexpr int kPeriodItemDay = 1230;
inline constexpr int kPeriodItemMonth = 1232;
inline constexpr int kPeriodItemHalfYear = 1233;
inline constexpr int kPeriodItemYear = 1234;
// The period index of a chosen item; -1 for anything else (0 = closed unchosen).
int PeriodOfItem(int item_id);

// A quote value shown without its "-" (the marker and colour tell the fall).
WideText WithoutMinus(WideView value);
// The 5 characters of a daily row's date from the fourth ("26/12/07" ->
// "12/07"); empty when the date is shorter than four characters.
WideText DailyDateCell(WideView date);
// The update text of an answer: the 11 characters of ServerDate from the
// fourth ("26/12/07 10:56:06" -> "12/07 10:56"); what there is when shorter.
WideText UpdateTextOfServerDate(WideView server_date);
// The update text a market list hands to the detail: 12 or more characters
// are cut as an answer's ServerDate, shorter ones are taken whole.
WideText UpdateTextOfListStamp(WideView stamp);

// Panel: 394 without daily rows, else 436 + 61 per row; at least `view`.
inline constexpr int kDailyRowPitch = 61;
int DetailContentHeight(int daily_rows, int view);
// view * view / content, within [30, view - 30]; 0 when the content fits.
int DetailThumbLength(int view, int content);

// Where the name is drawn in the portrait title band (0, 0)-(width, 75).
struct NamePlacement {
  int font_height = 32;
  Rect rect;
};
// `width_at_32` is the name's width at height 32: narrower than 381 it is
// centred in the band; wider than 430 it goes to height 24; otherwise
// centred left of the star, in (0, 0)-(430, 75). At height 24 the same
// rule with `width_at_24`: centred in the band when narrower than 381, else
// left of the star, where a name still too wide ends in an ellipsis.
NamePlacement PlaceName(int width_at_32, int width_at_24, int band_width);
// The name as measured and drawn: every "&&" shows as "&".
WideText NameAsShown(WideView name);

}  // namespace brantel
