#include "app/search/search_results.h"

#include <string>

#include "cache/mypage_store.h"
#include "protocol/categories.h"
#include "protocol/row_key.h"

namespace brantel {

std::vector<SearchRow> FindSearchRows(CParseMaster& master, WideView text) {
  std::vector<SearchRow> rows;
  if (text.empty()) return rows;
  const int found = master.FindByPrefix(text, text.size());
  rows.reserve(size_t(found));
  for (int i = 0; i < found; ++i) {
    const MasterEntry* entry = master.GetResult(i);
    if (!entry || entry->code.empty() || entry->name.empty()) continue;
    rows.push_back(SearchRow{entry->code, entry->name, entry->market, false});
  }
  // The flag of the first entry with the code, as the row key packs it.
  for (SearchRow& row : rows) row.market = master.LookupMarket(row.code);
  return rows;
}

void MarkMyPageRows(std::vector<SearchRow>& rows) {
  if (rows.empty()) return;
  std::vector<WideText> codes, on_list;
  codes.reserve(rows.size());
  for (const SearchRow& row : rows) codes.push_back(row.code);
  FindMyPageCodesOf(codes, on_list);
  for (SearchRow& row : rows)
    for (const WideText& code : on_list)
      if (code == row.code) row.in_mypage = true;
}

WideText SearchRowKey(const SearchRow& row) {
  return BuildRowKey(row.code, kCategoryStock, Widen(std::to_string(row.market)), row.in_mypage ? u"1" : u"0",
                     row.name, u"");
}

WideText SearchDisplayName(WideView name) {
  WideText out;
  out.reserve(name.size());
  for (size_t i = 0; i < name.size(); ++i) {
    out += name[i];
    if (name[i] == u'&' && i + 1 < name.size() && name[i + 1] == u'&') ++i;
  }
  return out;
}

}  // namespace brantel
