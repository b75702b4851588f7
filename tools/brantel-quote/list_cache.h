#pragma once
// The cache side of `brantel-quote list`: market lists (indices, exchange,
// rates, commodities) are rows of their category in the quote table; each
// ranking is its kind's rows in the rank table over stock quotes.

#include <cstdint>
#include <vector>

#include "platform/text.h"
#include "protocol/records.h"

namespace brantel::quote_tool {

// The stored rows of the list `category` (and ranking `sub_kind`), in the
// order the list shows them; empty when nothing is stored.
std::vector<StockRecord> LoadCachedList(int32_t category, int32_t sub_kind);

// Keeps a server's answer as the list screens keep their first answer: the
// quote rows, and for a ranking its order (the old order of that kind is
// replaced). False when the cache could not take them.
bool StoreListAnswer(int32_t category, int32_t sub_kind, const std::vector<StockRecord>& rows, WideView stamp);

}  // namespace brantel::quote_tool
