#include "protocol/row_key.h"

namespace brantel {

WideText BuildRowKey(WideView code, int32_t category, WideView group, WideView mypage_flag, WideView name,
                     WideView sign) {
  if (code.empty() || group.empty() || mypage_flag.empty() || category < 1) return {};
  return FormatText(u"%s%s%d%s%s%s%s%s%s%s%s", code, u"^", category, u"^", group, u"^", mypage_flag, u"^", name,
                    u"^", sign);
}

bool ParseRowKey(WideView key, RowKey& out) {
  if (key.empty()) return false;
  WideView fields[5];
  WideView rest = key;
  for (WideView& field : fields) {
    const size_t caret = rest.find(u'^');
    if (caret == WideView::npos) return false;
    field = rest.substr(0, caret);
    rest = rest.substr(caret + 1);
  }
  out.code = WideText(fields[0]);
  out.category = int32_t(ParseLeadingLong(fields[1]));
  out.group = WideText(fields[2]);
  out.mypage_flag = WideText(fields[3]);
  out.name = WideText(fields[4]);
  out.sign = WideText(rest);
  return true;
}

WideText RowKeyWithMyPage(WideView key, bool in_mypage) {
  RowKey k;
  if (!ParseRowKey(key, k)) return {};
  return BuildRowKey(k.code, k.category, k.group, in_mypage ? u"1" : u"0", k.name, k.sign);
}

StockRecord RowKey::Record() const {
  StockRecord record;
  record.gubun = category;
  record.code = code;
  record.item = group;
  record.codename = name;
  return record;
}

}  // namespace brantel
