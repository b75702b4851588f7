#pragma once
// Reading the exchange's CSV downloads: the text in CP949 or UTF-8 (with or
// without a byte-order mark), quoted fields, signed numbers, and the trading
// day and snapshot time in a file's name.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brantel::quote_server {

// The text as UTF-8: a byte-order mark is dropped, valid UTF-8 is kept, and
// anything else is read as CP949. False when it is neither.
bool DecodeDownload(std::string_view bytes, std::string& utf8);

// The fields of one CSV line: split at commas outside double quotes, quotes
// removed ("" inside quotes is one quote), surrounding blanks trimmed.
// Views point into `line` or into `scratch` (for fields with "").
std::vector<std::string_view> SplitCsvLine(std::string_view line, std::string& scratch);

// A number as the files write it: "2905", "-10", "0.35", "+1.2", "1,234".
// Nothing for empty or "-" fields and for anything else that is not a number.
std::optional<double> ReadCsvNumber(std::string_view field);

// The trading day of a file (days since 1970-01-01) from the first valid
// YYYYMMDD in its name, and the snapshot minute of the day (hh*60+mm) when
// four digits HHMM follow the date right away or after one of "_-T ".
struct FileMoment {
  int64_t day = 0;
  std::optional<int> minute;  // none: the day's closing file
};
std::optional<FileMoment> MomentFromFileName(std::string_view name);

}  // namespace brantel::quote_server
