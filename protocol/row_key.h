#pragma once
// The key text of a list row: code, category, group, MyPage flag, display
// name and change sign joined by "^".

#include <cstdint>

#include "platform/text.h"

namespace brantel {

struct RowKey {
  WideText code;
  int32_t category = 0;
  WideText group;
  WideText mypage_flag;  // "1" when the code is in MyPage, else "0"
  WideText name;
  WideText sign;
};

// Empty when the code, the group or the flag is empty or the category is
// below 1.
WideText BuildRowKey(WideView code, int32_t category, WideView group, WideView mypage_flag, WideView name,
                     WideView sign);
// Splits at the first five "^"; the rest after the fifth is the sign. False
// for an empty key or one with fewer than five "^". A name holding "^" does
// not survive: its remainder lands in the sign.
bool ParseRowKey(WideView key, RowKey& out);

}  // namespace brantel
