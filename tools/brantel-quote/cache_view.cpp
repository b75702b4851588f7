#include "tools/brantel-quote/cache_view.h"

#include <algorithm>
#include <cstdio>

#include "cache/master_info.h"
#include "cache/master_parser.h"
#include "cache/master_request.h"
#include "protocol/categories.h"
#include "protocol/last_update.h"
#include "tools/brantel-quote/quote_output.h"

namespace brantel::quote_tool {

bool TakeOfflineFlag(std::vector<std::string>& args) {
  auto it = std::find(args.begin(), args.end(), "--offline");
  if (it == args.end()) return false;
  args.erase(it);
  return true;
}

bool LoadMasterList(bool offline) {
  if (!offline) return RefreshMasterFromServer(LastUpdateStamp(u"", kCategoryMaster, 0, true), 0);
  std::string path;
  uint32_t count = 0;
  LoadMasterInfo(path, count);
  return GetMasterParser().Parse(path.empty() ? DefaultMasterPath() : path);
}

void PrintQuoteRows(const char* heading, const std::vector<StockRecord>& rows, const QuoteOptions& options) {
  std::printf("%s\n", heading);
  if (rows.empty()) {
    std::printf("  (no rows)\n");
    return;
  }
  std::vector<std::vector<WideText>> table;
  for (const StockRecord& r : rows) {
    WideText rate = r.rate.empty() ? WideText() : r.rate + u"%";
    table.push_back({r.code, r.codename, r.current_price, ChangeCell(r.daebi, options.colour), rate, r.time});
  }
  PrintTable(table, {false, false, true, true, true, false});
}

std::string QuoteRowsJson(const std::vector<StockRecord>& rows) {
  std::string out = "[";
  for (size_t i = 0; i < rows.size(); ++i) {
    const StockRecord& r = rows[i];
    char category[16];
    std::snprintf(category, sizeof category, "%d", r.gubun);
    out += std::string(i ? ",\n  " : "\n  ") + "{\"category\": " + category + ", \"code\": " + JsonString(r.code) +
           ", \"group\": " + JsonString(r.item) + ", \"group_name\": " + JsonString(GroupName(r.gubun, r.item)) +
           ", \"name\": " + JsonString(r.codename) +
           ", \"price\": " + JsonString(r.current_price) + ", \"change\": " + JsonString(r.daebi) +
           ", \"rate\": " + JsonString(r.rate) + ", \"date\": " + JsonString(r.date) +
           ", \"time\": " + JsonString(r.time) + "}";
  }
  return out + "\n]";
}

void PrintCachedRows(const std::vector<StockRecord>& rows, WideView stamp, const QuoteOptions& options) {
  if (options.json) {
    std::printf("\"cached\": {\"stamp\": %s, \"rows\": %s}", JsonString(stamp).c_str(), QuoteRowsJson(rows).c_str());
    return;
  }
  const std::string heading = "cached (stored " + StampText(stamp) + "):";
  PrintQuoteRows(heading.c_str(), rows, options);
}

void PrintCachedOnlyNote(WideView stamp, const QuoteOptions& options) {
  if (options.json) return;
  std::printf("the server cannot be reached: the rows above are the cached ones, stored %s\n",
              StampText(stamp).c_str());
}

std::string StampText(WideView stamp) { return stamp.empty() ? std::string("never") : Narrow(stamp); }

}  // namespace brantel::quote_tool
