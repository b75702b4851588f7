#pragma once
// The key text of a list row: code, category, group, MyPage flag, display
// name and change sign joined by "^".

#include <cstdint>

#include "platform/text.h"
#include "protocol/records.h"

namespace brantel {

// What a quote list row stands for. Rows keep it as their key text (the
// list control knows only texts); screens read it back as this value.
struct RowKey {
  WideText code;
  int32_t category = 0;
  WideText group;
  WideText mypage_flag;  // "1" when the code is in MyPage, else "0"
  WideText name;
  WideText sign;

  bool in_mypage() const { return mypage_flag == u"1"; }
  // The list fields a row carries of its record: category, code, group, name.
  StockRecord Record() const;
};

// Empty when the code, the group or the flag is empty or the category is
// below 1.
WideText BuildRowKey(WideView code, int32_t category, WideView group, WideView mypage_flag, WideView name,
                     WideView sign);
// Splits at the first five "^"; the rest after the fifth is the sign. False
// for an empty key or one with fewer than five "^". A name holding "^" does
// not survive: its remainder lands in the sign.
bool ParseRowKey(WideView key, RowKey& out);
// The same key with its MyPage flag set; empty when `key` does not parse.
WideText RowKeyWithMyPage(WideView key, bool in_mypage);

}  // namespace brantel
