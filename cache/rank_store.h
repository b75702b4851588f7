#pragma once
// Stock rankings in the cache: one row per ranked code, ranking order is
// insertion order. Results 1 / 0 / 99.

#include <span>
#include <vector>

#include "platform/text.h"
#include "protocol/records.h"

namespace brantel {

// Deletes the rows of one ranking kind (0 when the table is absent).
int ClearStockRank(int ranking_kind);
// Inserts the codes in list order in one transaction.
int StoreStockRank(std::span<const StockRecord> records, int ranking_kind, WideView stamp);
// Replaces the kind's rows by the codes in list order in one transaction, so
// a failure or a killed process leaves the old rows or the new ones, never
// none. What a ranking save uses.
int ReplaceStockRank(std::span<const StockRecord> records, int ranking_kind, WideView stamp);
// Quote rows of the ranked codes of `quote_category`, in ranking order; a
// ranked code without a quote row is left out.
int LoadStockRank(int quote_category, int ranking_kind, std::vector<StockRecord>& out);

}  // namespace brantel
