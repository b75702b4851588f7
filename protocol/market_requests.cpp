#include "protocol/market_requests.h"

#include <set>

#include "platform/memory_release.h"
#include "platform/ui/message_queue.h"
#include "protocol/app_messages.h"
#include "protocol/categories.h"
#include "protocol/last_update.h"
#include "protocol/request_cycle.h"
#include "protocol/row_key.h"
#include "protocol/standard_currency.h"

namespace brantel {

namespace {

// A list this long was a large answer, whose pieces are worth handing back
// once the window has its rows.
constexpr size_t kRowsWorthReturningMemory = 1000;

WideText Decimal(int64_t n) { return FormatText(u"%d", n); }

// Tells the target the request runs, for the whole request.
class RunningNotice {
 public:
  explicit RunningNotice(MarketListTarget& target) : target_(target) { target_.OnRequestRunning(true); }
  ~RunningNotice() { target_.OnRequestRunning(false); }
  RunningNotice(const RunningNotice&) = delete;
  RunningNotice& operator=(const RunningNotice&) = delete;

 private:
  MarketListTarget& target_;
};

}  // namespace

int32_t FetchMarketList(MarketListTarget& target) {
  const RunningNotice running(target);
  const int32_t category = target.category();
  RequestDocument document = MakeRequestDocument(target.LastUpdate(), u"L");
  const int group = document.AddGroup(category);
  if (category == kCategoryExchange) {
    document.AddParam(group, StandardCurrencyCode(), u"", StandardCurrencyItem());
  } else if (category == kCategoryRanking) {
    document.AddParam(group, u"", u"", Decimal(target.sub_kind()));
  }
  RequestOutcome outcome = RunRequestCycle(document, false, kMarketListPath, target.owner());

  auto* list = dynamic_cast<ListResponse*>(outcome.response.get());
  if (outcome.response && outcome.response->header().result_code == u"1") {
    const WideText& stamp = outcome.response->header().server_date;
    LastUpdateStamp(stamp, category, target.sub_kind(), false);
    target.SetLastUpdate(stamp);
    std::vector<StockRecord> rows = list ? std::move(list->items()) : std::vector<StockRecord>();
    const bool large = rows.size() > kRowsWorthReturningMemory;
    target.ReceiveRows(std::move(rows));
    outcome.response.reset();
    if (large) ReturnFreedMemory();
    PostMessage(target.owner(), WM_LIST_UPDATE_END, WPARAM(category), 1);
    return 1;
  }
  const int32_t result = outcome.response ? 0 : outcome.last_error;
  outcome.response.reset();
  PostMessage(target.owner(), WM_LIST_UPDATE_END, WPARAM(category), 0);
  return result;
}

int32_t FetchDetail(WideView code, int32_t category, WideView item, int period, HWND caller, DetailAnswer& out) {
  if (code.empty() || category < 0) return 0;
  RequestDocument document = MakeRequestDocument(u"", u"D");
  document.AddParam(document.AddGroup(category), code, u"", item, Decimal(period));
  RequestOutcome outcome = RunRequestCycle(document, true, kMarketDetailPath, caller);
  if (!outcome.response) return outcome.last_error;
  if (outcome.response->header().result_code != u"1") return 0;

  DetailAnswer answer;
  answer.server_date = outcome.response->header().server_date;
  if (auto* detail = dynamic_cast<DetailResponse*>(outcome.response.get())) {
    if (const StockDetailRecord* first = detail->ItemAt(0); first && !first->code.empty() && !first->codename.empty())
      answer.detail = *first;
    answer.daily = std::move(detail->related());
  }
  for (const Attachment& a : outcome.response->attachments()) answer.attachments.push_back(a.path);
  out = std::move(answer);
  return 1;
}

int32_t FetchMyPageList(const std::vector<WideText>& entries, WideView stamp, HWND caller,
                        std::vector<StockRecord>* rows, WideText& server_date) {
  if (entries.empty() || !rows) return 0;
  RequestDocument document = MakeRequestDocument(stamp, u"L");
  std::set<WideText> asked;
  for (const WideText& entry : entries) {
    RowKey key;
    if (!ParseRowKey(entry, key) || key.code.empty() || key.group.empty() || key.category < 0) continue;
    const WideText item = key.category == kCategoryExchange ? WideText(kDefaultStandardCurrency) : key.group;
    document.AddParam(document.AddGroup(key.category), key.code, u"", item);
    asked.insert(key.code);
  }
  RequestOutcome outcome = RunRequestCycle(document, false, kMyPageListPath, caller);
  if (!outcome.response) return 0;
  // Only the entries asked for, each once: an answer cannot add to the watch
  // list or the cache what the user never put there.
  if (auto* list = dynamic_cast<ListResponse*>(outcome.response.get())) {
    for (StockRecord& row : list->items())
      if (asked.erase(row.code) == 1) rows->push_back(std::move(row));
  }
  server_date = outcome.response->header().server_date;
  return 1;
}

int32_t RequestSingleCode(WideView code, int32_t category, WideView group, WideView path, HWND caller,
                          SingleCodeAnswer& out) {
  if (code.empty() || group.empty() || path.empty() || category < 0) return 0;
  RequestDocument document = MakeRequestDocument(u"", u"L");
  document.AddParam(document.AddGroup(category), code, u"", group);
  RequestOutcome outcome = RunRequestCycle(document, false, path, caller);
  if (!outcome.response) return outcome.last_error;
  out.server_date = outcome.response->header().server_date;
  out.first.reset();
  if (auto* list = dynamic_cast<ListResponse*>(outcome.response.get()); list && list->ItemAt(0))
    out.first = *list->ItemAt(0);
  return 1;
}

std::unique_ptr<ResponseDocument> FetchMaster(int stored_count, WideView stamp, HWND caller, int32_t* last_error) {
  RequestDocument document = MakeRequestDocument(stamp, u"L");
  document.AddParam(document.AddGroup(kCategoryMaster), u"", u"", Decimal(stored_count));
  RequestOutcome outcome = RunRequestCycle(document, false, kMasterPath, caller);
  if (last_error) *last_error = outcome.last_error;
  return std::move(outcome.response);
}

}  // namespace brantel
