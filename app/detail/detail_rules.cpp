#include "app/detail/detail_rules.h"

#include <algorithm>

namespace brantel {

int PeriodOfItem(int item_id) {
  switch (item_id) {
    case kPeriodItemDay:
    case kPeriodItemMonth:
    case kPeriodItemHalfYear:
    case kPeriodItemYear:
      return item_id - kPeriodItemDay;
    default:
      return -1;
  }
}

WideText WithoutMinus(WideView value) {
  WideText out;
  for (char16_t c : value)
    if (c != u'-') out.push_back(c);
  return out;
}

WideText DailyDateCell(WideView date) {
  if (date.size() < 4) return {};
  return WideText(date.substr(3, 5));
}

WideText UpdateTextOfServerDate(WideView server_date) {
  if (server_date.size() < 4) return {};
  return WideText(server_date.substr(3, 11));
}

WideText UpdateTextOfListStamp(WideView stamp) {
  return stamp.size() >= 12 ? WideText(stamp.substr(3, 11)) : WideText(stamp);
}

int DetailContentHeight(int daily_rows, int view) {
  const int content = daily_rows <= 0 ? 394 : 436 + kDailyRowPitch * daily_rows;
  return std::max(content, view);
}

int DetailThumbLength(int view, int content) {
  if (view <= 0 || content <= view) return 0;
  const int length = int(int64_t(view) * view / content);
  return std::min(std::max(length, 30), view - 30);
}

NamePlacement PlaceName(int width_at_32, int width_at_24, int band_width) {
  // Centred in the whole band only while it stays clear of the star.
  constexpr int kClearOfStar = 381, kLeftOfStar = 430;
  if (width_at_32 < kClearOfStar) return {32, Rect{0, 0, band_width, 75}};
  if (width_at_32 <= kLeftOfStar) return {32, Rect{0, 0, kLeftOfStar, 75}};
  if (width_at_24 < kClearOfStar) return {24, Rect{0, 0, band_width, 75}};
  return {24, Rect{0, 0, kLeftOfStar, 75}};
}

WideText NameAsShown(WideView name) {
  WideText out;
  for (size_t i = 0; i < name.size(); ++i) {
    out.push_back(name[i]);
    if (name[i] == u'&' && i + 1 < name.size() && name[i + 1] == u'&') ++i;
  }
  return out;
}

}  // namespace brantel
