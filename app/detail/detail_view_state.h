#pragma once
// What the stock detail shows and how its taps change it, apart from the
// window: the record, the MyPage star, the daily rows, the update text, the
// chart period, the orientation and the landscape buttons.

#include <vector>

#include "platform/gfx/geometry.h"
#include "protocol/market_requests.h"
#include "protocol/records.h"

namespace brantel {

// Landscape buttons (the pressed one; -1 none).
inline constexpr int kNoButton = -1;
inline constexpr int kRefreshButton = 0;
inline constexpr int kPeriodMenuButton = 1;
Rect LandscapeButtonRect(int button);
// The MyPage star in the portrait title band.
inline constexpr Rect kStarRect{430, 17, 470, 57};

struct DetailViewState {
  StockDetailRecord record;
  bool in_mypage = false;
  bool changed = false;  // the user changed the MyPage state here
  std::vector<StockRecord> daily;
  WideText update_text;
  WideText server_date;  // the last answer's stamp, kept with the quote
  // An answer brought the full quote: until then the record is a list row's,
  // whose high, low, volume and 52-week values are not known.
  bool full_quote = false;
  int period = 0;
  bool landscape = false;
  int pressed_button = kNoButton;
  bool emphasised = false;
  bool star_pressed = false;
};

// A request is made only for a record with a code and a category of 0 or more.
bool CanRequestDetail(const StockDetailRecord& record);

// An answer that holds neither a quote nor daily rows cannot be shown: the
// request failed as much as one without an answer.
bool IsShowableDetailAnswer(const DetailAnswer& answer);
// A successful answer: the update text from its ServerDate when it holds
// items, its detail (when it has a code and a name) as the record, its
// daily rows in place of the earlier ones, in answer order.
void ApplyDetailAnswer(DetailViewState& state, const DetailAnswer& answer);

// Landscape taps: a press on a button marks it, elsewhere it toggles the
// emphasis. A release on the marked button returns it (to run), else -1.
void LandscapePress(DetailViewState& state, Point p);
int LandscapeRelease(DetailViewState& state, Point p);

// The star: the press marks it when inside; a release inside returns true
// (toggle it). The mark is cleared either way.
void StarPress(DetailViewState& state, Point p);
bool StarRelease(DetailViewState& state, Point p);

// Toggles MyPage in the cache for the record on show. What came of it:
enum class StarOutcome { kAdded, kRemoved, kFull, kFailed };
StarOutcome ToggleMyPage(DetailViewState& state);

}  // namespace brantel
