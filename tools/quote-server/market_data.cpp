#include "tools/quote-server/market_data.h"

#include <cstdlib>

#include "platform/folders.h"
#include "platform/text.h"

namespace brantel::quote_server {

namespace {

std::vector<std::string> SplitFields(std::string_view line) {
  std::vector<std::string> out;
  size_t start = 0;
  while (true) {
    const size_t bar = line.find('|', start);
    out.emplace_back(TrimNarrow(line.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start)));
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  return out;
}

bool ReadNumber(const std::string& text, double& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  out = std::strtod(text.c_str(), &end);
  return end && *end == '\0' && out >= 0;
}

}  // namespace

bool IsSafeCode(const std::string& code) {
  if (code.empty() || code.size() > 16) return false;
  for (char c : code)
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '@')) return false;
  return true;
}

bool MarketData::Add(Instrument in) {
  if (!IsSafeCode(in.code) || index_.count({in.category, in.code})) return false;
  std::vector<Instrument>& list = lists_[in.category];
  index_[{in.category, in.code}] = list.size();
  list.push_back(std::move(in));
  return true;
}

bool MarketData::LoadFile(const std::string& path, int category, std::string& error) {
  std::string text;
  if (!ReadWholeFile(path, text, size_t(16) << 20)) {
    error = "cannot read " + path;
    return false;
  }
  std::vector<Instrument>& list = lists_[category];
  size_t line_no = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    const std::string_view line = TrimNarrow(std::string_view(text).substr(pos, end - pos));
    pos = end + 1;
    ++line_no;
    if (line.empty() || line[0] == '#') continue;
    const std::vector<std::string> f = SplitFields(line);
    Instrument in;
    in.category = category;
    bool ok = f.size() >= 5 && IsSafeCode(f[0]) && !f[1].empty();
    if (ok) {
      in.code = f[0];
      in.name = f[1];
      double shares = 0;
      if (category == kStock) {
        in.market = f[2];
        in.group = '0';
        ok = (in.market == "KOSPI" || in.market == "KOSDAQ") && ReadNumber(f[3], in.reference) && ReadNumber(f[4], shares);
        in.volatility = in.market == "KOSPI" ? 0.018 : 0.026;
        in.shares = int64_t(shares);
      } else {
        in.group = f[2];
        ok = f[2].size() == 1 && f[2][0] >= '0' && f[2][0] <= '3' && ReadNumber(f[3], in.reference) &&
             ReadNumber(f[4], in.volatility);
      }
      ok = ok && in.reference > 0 && !index_.count({category, in.code});
    }
    if (!ok) {
      error = path + ":" + std::to_string(line_no) + ": malformed or repeated entry";
      return false;
    }
    index_[{category, in.code}] = list.size();
    list.push_back(std::move(in));
  }
  return true;
}

bool MarketData::Load(const std::string& folder, std::string& error) {
  lists_.clear();
  index_.clear();
  const struct {
    const char* file;
    int category;
  } files[] = {{"indices.txt", kIndex},
               {"currencies.txt", kExchange},
               {"rates.txt", kInterestRate},
               {"commodities.txt", kCommodity},
               {"stocks.txt", kStock}};
  for (const auto& f : files)
    if (!LoadFile(JoinPath(folder, f.file), f.category, error)) return false;
  if (List(kExchange).empty() || !Find(kExchange, "FX@KRW")) {
    error = "currencies.txt must list FX@KRW";
    return false;
  }
  master_text_.clear();
  for (const Instrument& s : List(kStock)) master_text_ += s.code + "|" + s.name + "|" + s.market + "|\n";
  master_count_ = List(kStock).size();
  return true;
}

const std::vector<Instrument>& MarketData::List(int category) const {
  static const std::vector<Instrument> kEmpty;
  const auto it = lists_.find(category);
  return it == lists_.end() ? kEmpty : it->second;
}

const Instrument* MarketData::Find(int category, const std::string& code) const {
  const auto it = index_.find({category, code});
  return it == index_.end() ? nullptr : &lists_.at(category)[it->second];
}

}  // namespace brantel::quote_server
