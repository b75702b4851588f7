// Feeds arbitrary bytes to the reader of the exchange's daily files (and the
// market built from them) and checks what the server relies on: every row
// kept has a positive close and a high not below its low, coded rows carry
// safe codes, and no name can break a line of the master file.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "tools/quote-server/file_market.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brantel::quote_server;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // The first line picks the file name, so names are fuzzed as well.
  const size_t newline = bytes.find('\n');
  const std::string name(bytes.substr(0, newline == std::string_view::npos ? 0 : newline));
  const std::string_view text = newline == std::string_view::npos ? bytes : bytes.substr(newline + 1);
  ExchangeFile file;
  std::string why;
  size_t logged = 0;
  if (!ParseExchangeFile(text, name, file, [&](const std::string&) { ++logged; }, why)) return 0;
  for (const FileRow& row : file.rows) {
    if (!(row.close > 0) || row.high < row.low || row.name.empty()) std::abort();
    if (row.name.find_first_of("|\n") != std::string::npos) std::abort();
    if (row.category != kIndex && !IsSafeCode(row.code)) std::abort();
  }
  static const MarketData sample;
  FileMarketBuilder builder(sample);
  builder.Add(file);
  builder.Add(file);  // the same file twice replaces, never doubles, a day
  const auto market = builder.Finish();
  if (market->Market().MasterCount() > market->Market().List(kStock).size()) std::abort();
  for (const Instrument& in : market->Market().List(kStock))
    if (const History* h = market->HistoryOf(in); h && h->days.size() != 1) std::abort();
  return 0;
}
