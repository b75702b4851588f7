#include "cache/single_code_request.h"

#include "cache/cache_results.h"
#include "cache/quote_store.h"
#include "protocol/market_requests.h"

namespace brantel {

int32_t FetchSingleCode(WideView code, int32_t category, WideView group, WideView path, HWND caller) {
  SingleCodeAnswer answer;
  const int32_t result = RequestSingleCode(code, category, group, path, caller, answer);
  if (result == 1 && answer.first) StoreQuote(kQuoteTable, *answer.first, answer.server_date, true);
  return result;
}

}  // namespace brantel
