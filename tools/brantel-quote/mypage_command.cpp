// brantel-quote mypage [list|refresh|add CODE|remove CODE]: the watch list
// through the same cache operations and limits as the viewer's screens.
//   list     cached rows first (with their stamp), then the server's; the
//            answer is stored as the MyPage screen stores it
//   refresh  only the server's rows, stored likewise
//   add      CODE [--category N] [--group G]: at most 200 entries, a code once
//   remove   CODE [--category N]
// --offline uses the cache (and the stored master list) only.

#include <cstdio>
#include <cstdlib>

#include "cache/cache_results.h"
#include "cache/master_parser.h"
#include "cache/mypage_store.h"
#include "cache/quote_store.h"
#include "cache/single_code_request.h"
#include "protocol/categories.h"
#include "protocol/change_mark.h"
#include "protocol/last_update.h"
#include "protocol/market_requests.h"
#include "protocol/request_cycle.h"
#include "protocol/row_key.h"
#include "tools/brantel-quote/cache_view.h"
#include "tools/brantel-quote/quote_command.h"
#include "tools/brantel-quote/quote_output.h"

namespace brantel::quote_tool {

namespace {

constexpr const char* kUsage =
    "usage: brantel-quote mypage [list|refresh] [--offline]\n"
    "       brantel-quote mypage add CODE [--category N] [--group G] [--offline]\n"
    "       brantel-quote mypage remove CODE [--category N]\n";

int Usage() {
  std::fprintf(stderr, "%s", kUsage);
  return kExitUsage;
}

// Takes "--name VALUE" out of `args` into `value`; false when it is there
// without a value.
bool TakeOption(std::vector<std::string>& args, const std::string& name, std::string& value) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] != name) continue;
    if (i + 1 >= args.size()) return false;
    value = args[i + 1];
    args.erase(args.begin() + long(i), args.begin() + long(i) + 2);
    return true;
  }
  return true;
}

bool ParseCategory(const std::string& text, int32_t& category) {
  char* end = nullptr;
  long n = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end || n < 1 || n > 5) return false;
  category = int32_t(n);
  return true;
}

// Asks the server for the watch list's rows and stores the answer as the
// MyPage screen does (stamp of kind 7, StampMyPage, StoreQuoteList).
int RefreshFromServer(const std::vector<StockRecord>& cached, const WideText& cached_stamp,
                      const QuoteOptions& options) {
  if (cached.empty()) {
    if (!options.json) std::printf("MyPage is empty\n");
    return kExitOk;
  }
  std::vector<WideText> keys;
  for (const StockRecord& r : cached) {
    WideText change = r.daebi, sign, marker;
    uint32_t colour = 0;
    FormatChangeMark(change, sign, marker, colour);
    keys.push_back(BuildRowKey(r.code, r.gubun, r.item, u"1", r.codename, sign));
  }
  const WideText stamp = LastUpdateStamp(u"", kCategoryMyPage, 0, true);
  std::vector<StockRecord> fresh;
  WideText server_date;
  if (FetchMyPageList(keys, stamp, 0, &fresh, server_date) != 1) {
    PrintCachedOnlyNote(cached_stamp, options);
    return kExitNoServer;
  }
  const WideText kept = LastUpdateStamp(server_date, kCategoryMyPage, 0, false);
  StampMyPage(Narrow(kept).c_str());
  StoreQuoteList(kQuoteTable, fresh, kept);
  if (options.json) {
    std::printf("\"fresh\": {\"server_date\": %s, \"rows\": %s}", JsonString(server_date).c_str(),
                QuoteRowsJson(fresh).c_str());
  } else {
    const std::string heading = "from the server (" + StampText(server_date) + "):";
    PrintQuoteRows(heading.c_str(), fresh, options);
  }
  return kExitOk;
}

int RunListOrRefresh(bool show_cached, bool offline, const QuoteOptions& options) {
  std::vector<StockRecord> cached;
  WideText cached_stamp;
  LoadMyPage(cached, cached_stamp);
  if (options.json) std::printf("{");
  if (show_cached || offline) PrintCachedRows(cached, cached_stamp, options);
  int result = kExitOk;
  if (!offline) {
    if (options.json && (show_cached || offline)) std::printf(", ");
    result = RefreshFromServer(cached, cached_stamp, options);
  }
  if (options.json) std::printf("}\n");
  return result;
}

// The record to add: the server's quote when it answers, else the master
// entry (stocks), else nothing.
bool RecordToAdd(const WideText& code, int32_t category, WideText group, bool offline, StockRecord& record,
                 WideText& stamp) {
  record = StockRecord();
  record.code = code;
  record.gubun = category;
  if (category == kCategoryStock && LoadMasterList(offline)) {
    CParseMaster& master = GetMasterParser();
    const int found = master.FindByPrefix(code, code.size());
    for (int i = 0; i < found; ++i) {
      const MasterEntry* e = master.GetResult(i);
      if (e->code != code) continue;
      record.codename = WideText(Trim(e->name));
      if (group.empty()) group = FormatText(u"%d", e->market);
      break;
    }
  }
  record.item = group.empty() ? WideText(u"0") : group;
  stamp = LastUpdateStamp(u"", kCategorySearch, 0, true);
  if (!offline && FetchSingleCode(code, category, record.item, kMyPageListPath, 0) == 1) {
    std::vector<StockDetailRecord> rows;
    WideText row_stamp;
    LoadQuote(kQuoteTable, Narrow(code).c_str(), category, rows, row_stamp);
    if (!rows.empty()) {
      const WideText asked_group = record.item;
      record = ListRowOfDetail(rows.back());
      if (record.item.empty()) record.item = asked_group;
      stamp = row_stamp;
    }
  }
  return !record.codename.empty();
}

int RunAdd(std::vector<std::string> args, bool offline) {
  std::string category_text = "1", group;
  if (!TakeOption(args, "--category", category_text) || !TakeOption(args, "--group", group) || args.size() != 1)
    return Usage();
  int32_t category = 0;
  if (!ParseCategory(category_text, category)) return Usage();
  const WideText code = Widen(args[0]);
  StockRecord record;
  WideText stamp;
  if (code.empty() || !RecordToAdd(code, category, Widen(group), offline, record, stamp)) {
    std::fprintf(stderr, "brantel-quote: %s is not a known code of category %d\n", args[0].c_str(), category);
    return kExitFailure;
  }
  switch (AddMyPageItem(record, stamp, true, true)) {
    case CACHE_OK:
      std::printf("added %s %s to MyPage\n", args[0].c_str(), Narrow(record.codename).c_str());
      return kExitOk;
    case CACHE_NOTHING:
      std::printf("%s is already on MyPage\n", args[0].c_str());
      return kExitOk;
    case MYPAGE_LIMIT:
      std::fprintf(stderr, "brantel-quote: MyPage is full (%d entries)\n", kMyPageMaxEntries);
      return kExitFailure;
    default:
      std::fprintf(stderr, "brantel-quote: %s could not be added (it may be on MyPage under another category)\n",
                   args[0].c_str());
      return kExitFailure;
  }
}

int RunRemove(std::vector<std::string> args) {
  std::string category_text;
  if (!TakeOption(args, "--category", category_text) || args.size() != 1) return Usage();
  const WideText code = Widen(args[0]);
  int32_t category = kCategoryStock;
  if (!category_text.empty()) {
    if (!ParseCategory(category_text, category)) return Usage();
  } else {
    std::vector<StockRecord> rows;
    WideText stamp;
    LoadMyPage(rows, stamp);
    for (const StockRecord& r : rows)
      if (r.code == code) category = r.gubun;
  }
  const int before = CountMyPage();
  if (RemoveMyPageItem(args[0].c_str(), category) != CACHE_OK) {
    std::fprintf(stderr, "brantel-quote: MyPage could not be changed\n");
    return kExitFailure;
  }
  if (CountMyPage() < before) {
    std::printf("removed %s from MyPage\n", args[0].c_str());
  } else {
    std::printf("%s is not on MyPage under category %d\n", args[0].c_str(), category);
  }
  return kExitOk;
}

int RunMyPage(const std::vector<std::string>& arguments, const QuoteOptions& options) {
  std::vector<std::string> args = arguments;
  const bool offline = TakeOfflineFlag(args);
  const std::string verb = args.empty() ? "list" : args[0];
  if (!args.empty()) args.erase(args.begin());
  if (verb == "list" && args.empty()) return RunListOrRefresh(true, offline, options);
  if (verb == "refresh" && args.empty() && !offline) return RunListOrRefresh(false, false, options);
  if (verb == "add") return RunAdd(args, offline);
  if (verb == "remove" && !offline) return RunRemove(args);
  return Usage();
}

const QuoteCommandRegistration kRegistration({"mypage", "[list|refresh|add CODE|remove CODE] [--offline]",
                                              "the MyPage watch list: cached rows, then the server's", RunMyPage});

}  // namespace

}  // namespace brantel::quote_tool
