#include "tools/quote-server/exchange_file.h"

#include <array>

#include "tools/quote-server/market_data.h"

namespace brantel::quote_server {

namespace {

// Columns a kind of file is read from, by header name; the first ones are
// required.
enum Column { kCode, kName, kMarket, kGroup, kKind, kClose, kChange, kRate, kOpen, kHigh, kLow, kVolume, kValue, kCap, kShares, kColumns };

struct Layout {
  FileKind kind;
  std::array<const char*, kColumns> names;  // nullptr: the kind has no such column
};

const Layout kLayouts[] = {
    {FileKind::kStocks,
     {"종목코드", "종목명", "시장구분", nullptr, nullptr, "종가", "대비", "등락률", "시가", "고가", "저가", "거래량", "거래대금",
      "시가총액", "상장주식수"}},
    {FileKind::kIndices,
     {nullptr, "지수명", nullptr, nullptr, nullptr, "종가", "대비", "등락률", "시가", "고가", "저가", "거래량", "거래대금",
      "상장시가총액", nullptr}},
    {FileKind::kOthers,
     {"code", "name", nullptr, "group", "kind", "close", "change", nullptr, "open", "high", "low", nullptr, nullptr, nullptr,
      nullptr}},
};

constexpr int kMissing = -1;

// Which layout the header row fits, and where each column is.
bool MatchHeader(const std::vector<std::string_view>& header, const Layout*& layout, std::array<int, kColumns>& at) {
  for (const Layout& candidate : kLayouts) {
    at.fill(kMissing);
    for (int c = 0; c < kColumns; ++c) {
      if (!candidate.names[size_t(c)]) continue;
      for (size_t i = 0; i < header.size(); ++i)
        if (header[i] == candidate.names[size_t(c)]) at[size_t(c)] = int(i);
    }
    const bool named = at[kName] != kMissing && at[kClose] != kMissing;
    const bool coded = candidate.kind == FileKind::kIndices || at[kCode] != kMissing;
    const bool kinded = candidate.kind != FileKind::kOthers || at[kKind] != kMissing;
    if (named && coded && kinded) {
      layout = &candidate;
      return true;
    }
  }
  return false;
}

int CategoryOfKind(std::string_view kind) {
  if (kind == "rate") return kInterestRate;
  if (kind == "currency") return kExchange;
  if (kind == "commodity") return kCommodity;
  return -1;
}

// One data row; false with `why` set when it cannot be used.
bool ReadRow(const std::vector<std::string_view>& f, const Layout& layout, const std::array<int, kColumns>& at,
             FileRow& row, std::string& why) {
  const auto field = [&](Column c) -> std::string_view {
    const int i = at[size_t(c)];
    return i == kMissing || size_t(i) >= f.size() ? std::string_view() : f[size_t(i)];
  };
  // A number column: empty means "none" (0, or the close for prices);
  // anything else must read as a number.
  bool numbers_ok = true;
  const auto number = [&](Column c, double fallback) {
    const std::string_view text = field(c);
    const auto value = ReadCsvNumber(text);
    if (!value && !text.empty() && text != "-") numbers_ok = false;
    return value.value_or(fallback);
  };
  int highest = 0;
  for (int i : at) highest = std::max(highest, i);
  if (f.size() <= size_t(highest)) {
    why = "expected " + std::to_string(highest + 1) + " values, found " + std::to_string(f.size());
    return false;
  }
  row.name = std::string(field(kName));
  if (row.name.empty() || row.name.find_first_of("|\n") != std::string::npos) {
    why = "no usable name";
    return false;
  }
  switch (layout.kind) {
    case FileKind::kStocks:
      row.category = kStock;
      row.code = std::string(field(kCode));
      row.market = std::string(field(kMarket));
      if (row.market.empty()) row.market = "KOSPI";
      break;
    case FileKind::kIndices:
      row.category = kIndex;
      break;
    case FileKind::kOthers:
      row.category = CategoryOfKind(field(kKind));
      row.code = std::string(field(kCode));
      row.group = std::string(field(kGroup));
      if (row.group.empty()) row.group = "0";
      if (row.category < 0) {
        why = "kind must be rate, currency or commodity";
        return false;
      }
      if (row.group.size() != 1 || row.group[0] < '0' || row.group[0] > '3') {
        why = "group must be 0 to 3";
        return false;
      }
      break;
  }
  if (layout.kind != FileKind::kIndices && !IsSafeCode(row.code)) {
    why = "code must be letters and digits";
    return false;
  }
  const auto close = ReadCsvNumber(field(kClose));
  if (!close || *close <= 0) {
    why = "no closing price";
    return false;
  }
  row.close = *close;
  row.change = number(kChange, 0);
  if (const auto rate = ReadCsvNumber(field(kRate))) row.rate = *rate;
  // A stock that did not trade has no open, high or low: its close stands in.
  row.open = number(kOpen, 0);
  row.high = number(kHigh, 0);
  row.low = number(kLow, 0);
  if (row.open <= 0) row.open = row.close;
  if (row.high <= 0) row.high = std::max(row.open, row.close);
  if (row.low <= 0) row.low = std::min(row.open, row.close);
  row.volume = number(kVolume, 0);
  row.value = number(kValue, 0);
  row.market_cap = number(kCap, 0);
  row.shares = number(kShares, 0);
  if (!numbers_ok) {
    why = "a value is not a number";
    return false;
  }
  if (row.high < row.low || row.volume < 0 || row.value < 0) {
    why = "high below low or a negative volume";
    return false;
  }
  return true;
}

}  // namespace

bool ParseExchangeFile(std::string_view bytes, const std::string& name, ExchangeFile& out, const LoadLog& log,
                       std::string& why) {
  const auto moment = MomentFromFileName(name);
  if (!moment) {
    why = "no YYYYMMDD date in the file name";
    return false;
  }
  out.moment = *moment;
  std::string text;
  if (!DecodeDownload(bytes, text)) {
    why = "neither UTF-8 nor CP949 text";
    return false;
  }
  out.rows.clear();
  const Layout* layout = nullptr;
  std::array<int, kColumns> at{};
  std::string scratch;
  size_t line_no = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string_view line = std::string_view(text).substr(pos, end - pos);
    pos = end + 1;
    ++line_no;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.find_first_not_of(" \t,") == std::string_view::npos) continue;
    const std::vector<std::string_view> fields = SplitCsvLine(line, scratch);
    if (!layout) {
      if (!MatchHeader(fields, layout, at)) {
        why = "the first row is not a header of a known file";
        return false;
      }
      out.kind = layout->kind;
      continue;
    }
    FileRow row;
    std::string row_why;
    if (!ReadRow(fields, *layout, at, row, row_why)) {
      if (log) log(name + ":" + std::to_string(line_no) + ": row skipped: " + row_why);
      continue;
    }
    out.rows.push_back(std::move(row));
  }
  if (!layout) {
    why = "the file is empty";
    return false;
  }
  return true;
}

}  // namespace brantel::quote_server
