#pragma once
// The single-code request of the search screen: asks the server for one
// code and keeps its first row in the quote table.

#include <cstdint>

#include "platform/text.h"
#include "platform/ui/ui_types.h"

namespace brantel {

// 1 when an answer came (its first row, if any, written into "StockData" by
// code and category, an existing row replaced, with the answer's ServerDate
// as its update time); 0 for an empty code, group or path or a negative
// category; the transport's error otherwise.
int32_t FetchSingleCode(WideView code, int32_t category, WideView group, WideView path, HWND caller);

}  // namespace brantel
