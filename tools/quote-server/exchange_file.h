#pragma once
// One of the exchange's daily files (all stocks, all indices) or one of our
// own files of rates, currencies and commodities, read into rows. The kind
// comes from the header row, the trading day from the file name.
//
// Our own file: UTF-8 or CP949 CSV with the header
//   kind,code,name,group,close,change,open,high,low
// where kind is rate, currency or commodity (currencies in won per unit).

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/quote-server/exchange_csv.h"

namespace brantel::quote_server {

enum class FileKind { kStocks, kIndices, kOthers };

struct FileRow {
  int category = 0;     // kStock, kIndex, kExchange, kInterestRate, kCommodity
  std::string code;     // indices: empty (they are named, not coded)
  std::string name;
  std::string market;   // stocks: KOSPI, KOSDAQ or KONEX
  std::string group;    // our own file: the list group
  double close = 0, change = 0, open = 0, high = 0, low = 0;
  std::optional<double> rate;  // as published
  double volume = 0, value = 0, market_cap = 0, shares = 0;
};

struct ExchangeFile {
  FileKind kind = FileKind::kStocks;
  FileMoment moment;
  std::vector<FileRow> rows;
};

// Called once for every row skipped and every file that cannot be read.
using LoadLog = std::function<void(const std::string& line)>;

// Reads the bytes of a file named `name`. False with `why` set when the file
// is no such file at all (undated name, unknown header, undecodable text);
// a malformed row is skipped with one log line "name:line: why".
bool ParseExchangeFile(std::string_view bytes, const std::string& name, ExchangeFile& out, const LoadLog& log,
                       std::string& why);

}  // namespace brantel::quote_server
