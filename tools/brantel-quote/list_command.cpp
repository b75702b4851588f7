// brantel-quote list indices|fx|rates|commodities|ranking [volume|value|cap] [--offline]
// The cached rows first (with their stamp), then the server's, which are
// stored as the list screens store them; --offline shows the cache only.

#include <cstdio>
#include <map>

#include "protocol/categories.h"
#include "protocol/last_update.h"
#include "protocol/market_requests.h"
#include "protocol/standard_currency.h"
#include "tools/brantel-quote/cache_view.h"
#include "tools/brantel-quote/list_cache.h"
#include "tools/brantel-quote/quote_command.h"
#include "tools/brantel-quote/quote_output.h"

namespace brantel::quote_tool {

namespace {

// The list request's side of a list window, for one request.
class CommandList : public MarketListTarget {
 public:
  CommandList(int32_t category, int32_t sub_kind) : category_(category), sub_kind_(sub_kind) {
    stamp_ = LastUpdateStamp(u"", category, sub_kind, true);
  }
  int32_t category() const override { return category_; }
  int32_t sub_kind() const override { return sub_kind_; }
  HWND owner() const override { return 0; }
  WideText LastUpdate() const override { return stamp_; }
  void SetLastUpdate(WideView stamp) override { stamp_ = WideText(stamp); }
  void ReceiveRows(std::vector<StockRecord>&& rows) override { rows_ = std::move(rows); }

  const WideText& stamp() const { return stamp_; }
  const std::vector<StockRecord>& rows() const { return rows_; }

 private:
  int32_t category_, sub_kind_;
  WideText stamp_;
  std::vector<StockRecord> rows_;
};

bool ParseListKind(const std::vector<std::string>& args, int32_t* category, int32_t* sub_kind) {
  static const std::map<std::string, int32_t> kKinds = {
      {"indices", kCategoryIndex}, {"fx", kCategoryExchange}, {"rates", kCategoryInterestRate},
      {"commodities", kCategoryFutures}, {"ranking", kCategoryRanking}};
  static const std::map<std::string, int32_t> kRankings = {
      {"volume", kRankingTradeVolume}, {"value", kRankingTradeValue}, {"cap", kRankingMarketCap}};
  if (args.empty() || !kKinds.count(args[0])) return false;
  *category = kKinds.at(args[0]);
  *sub_kind = 0;
  if (*category == kCategoryRanking && args.size() > 1) {
    if (!kRankings.count(args[1])) return false;
    *sub_kind = kRankings.at(args[1]);
    return args.size() == 2;
  }
  return args.size() == 1;
}

void PrintFreshJson(CommandList& list) {
  std::printf("\"fresh\": {\"server_date\": %s, \"rows\": %s}", JsonString(list.stamp()).c_str(),
              QuoteRowsJson(list.rows()).c_str());
}

void PrintText(CommandList& list, const QuoteOptions& options) {
  std::printf("from the server (%s):\n", StampText(list.stamp()).c_str());
  const bool ranked = list.category() == kCategoryRanking;
  std::vector<std::vector<WideText>> table;
  WideText group = u"\x01";
  int rank = 0;
  for (const StockRecord& r : list.rows()) {
    if (!ranked && r.item != group) {
      group = r.item;
      const WideText caption = GroupName(r.gubun, r.item);
      if (!table.empty()) table.push_back({});
      table.push_back({u"[" + (caption.empty() ? r.item : caption) + u"]"});
    }
    WideText rate = r.rate.empty() ? WideText() : r.rate + u"%";
    std::vector<WideText> row = {r.code, r.codename, r.current_price, ChangeCell(r.daebi, options.colour), rate,
                                 r.date.size() >= 8 ? r.date.substr(3) : r.date, r.time};
    if (ranked) row.insert(row.begin(), FormatText(u"%d", ++rank));
    table.push_back(std::move(row));
  }
  const std::vector<bool> right = ranked ? std::vector<bool>{true, false, false, true, true, true}
                                         : std::vector<bool>{false, false, true, true, true};
  PrintTable(table, right);
  std::printf("%zu rows, server time %s\n", list.rows().size(), Narrow(list.stamp()).c_str());
}

int RunList(const std::vector<std::string>& arguments, const QuoteOptions& options) {
  std::vector<std::string> args = arguments;
  const bool offline = TakeOfflineFlag(args);
  int32_t category = 0, sub_kind = 0;
  if (!ParseListKind(args, &category, &sub_kind)) {
    std::fprintf(stderr,
                 "usage: brantel-quote list indices|fx|rates|commodities|ranking [volume|value|cap] [--offline]\n");
    return kExitUsage;
  }
  if (category == kCategoryExchange) {
    WideText code, item;
    StandardCurrency(code, item, true);  // the exchange list follows the viewer's choice
  }
  CommandList list(category, sub_kind);
  const WideText cached_stamp = list.stamp();
  const std::vector<StockRecord> cached = LoadCachedList(category, sub_kind);
  if (options.json) std::printf("{\"category\": %d, \"sub_kind\": %d, ", category, sub_kind);
  PrintCachedRows(cached, cached_stamp, options);
  if (offline) {
    if (options.json) std::printf("}\n");
    else if (cached.empty()) std::printf("nothing is cached for this list yet\n");
    return kExitOk;
  }
  const int32_t result = FetchMarketList(list);
  if (result != 1) {
    if (options.json) std::printf("}\n");
    if (!cached.empty()) PrintCachedOnlyNote(cached_stamp, options);
    std::fflush(stdout);  // the note before the reason on standard error
    return ReportRequestFailure(result, "list");
  }
  if (!StoreListAnswer(category, sub_kind, list.rows(), list.stamp()))
    std::fprintf(stderr, "brantel-quote: the rows could not be stored in the cache\n");
  if (options.json) {
    std::printf(", ");
    PrintFreshJson(list);
    std::printf("}\n");
  } else {
    PrintText(list, options);
  }
  return kExitOk;
}

const QuoteCommandRegistration kRegistration({"list", "indices|fx|rates|commodities|ranking [volume|value|cap] [--offline]",
                                              "a market list: cached rows, then the server's", RunList});

}  // namespace

}  // namespace brantel::quote_tool
