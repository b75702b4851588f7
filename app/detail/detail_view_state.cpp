#include "app/detail/detail_view_state.h"

#include "app/detail/detail_rules.h"
#include "cache/cache_results.h"
#include "cache/mypage_store.h"
#include "protocol/categories.h"
#include "protocol/last_update.h"

namespace brantel {

Rect LandscapeButtonRect(int button) {
  if (button == kRefreshButton) return Rect{712, 80, 776, 144};
  if (button == kPeriodMenuButton) return Rect{712, 156, 776, 220};
  return Rect{};
}

bool CanRequestDetail(const StockDetailRecord& record) { return !record.code.empty() && record.gubun >= 0; }

bool IsShowableDetailAnswer(const DetailAnswer& answer) { return answer.detail || !answer.daily.empty(); }

void ApplyDetailAnswer(DetailViewState& state, const DetailAnswer& answer) {
  state.server_date = answer.server_date;
  if (answer.detail || !answer.daily.empty()) state.update_text = UpdateTextOfServerDate(answer.server_date);
  if (answer.detail && !answer.detail->code.empty() && !answer.detail->codename.empty()) {
    state.record = *answer.detail;
    state.full_quote = true;
  }
  state.daily = answer.daily;
}

void LandscapePress(DetailViewState& state, Point p) {
  for (int button : {kRefreshButton, kPeriodMenuButton}) {
    if (LandscapeButtonRect(button).Contains(p)) {
      state.pressed_button = button;
      return;
    }
  }
  state.emphasised = !state.emphasised;
}

int LandscapeRelease(DetailViewState& state, Point p) {
  const int pressed = state.pressed_button;
  state.pressed_button = kNoButton;
  return pressed != kNoButton && LandscapeButtonRect(pressed).Contains(p) ? pressed : kNoButton;
}

void StarPress(DetailViewState& state, Point p) { state.star_pressed = kStarRect.Contains(p); }

bool StarRelease(DetailViewState& state, Point p) {
  const bool run = state.star_pressed && kStarRect.Contains(p);
  state.star_pressed = false;
  return run;
}

StarOutcome ToggleMyPage(DetailViewState& state) {
  if (!state.in_mypage) {
    const WideText stamp = LastUpdateStamp(u"", kCategoryMyPage, 0, true);
    const int result = AddMyPageItem(ListRowOfDetail(state.record), stamp, true, true);
    if (result == MYPAGE_LIMIT) return StarOutcome::kFull;
    // 0 (not added) and 99 (database error) leave the star off.
    if (result != CACHE_OK) return StarOutcome::kFailed;
    state.in_mypage = true;
    state.changed = true;
    return StarOutcome::kAdded;
  }
  if (RemoveMyPageItem(Narrow(state.record.code).c_str(), state.record.gubun) != CACHE_OK) return StarOutcome::kFailed;
  state.in_mypage = false;
  state.changed = true;
  return StarOutcome::kRemoved;
}

}  // namespace brantel
