#pragma once
// The sample market the reference server quotes: instruments read from the
// data files (indices, currencies, rates, commodities, stocks).

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace brantel::quote_server {

// Category codes of the protocol.
enum Category : int {
  kMaster = 0,
  kStock = 1,
  kIndex = 2,
  kExchange = 3,
  kInterestRate = 4,
  kCommodity = 5,
  kRanking = 6,
};

struct Instrument {
  int category = kStock;
  std::string code;
  std::string name;
  std::string group;      // the record's item: market group of the list
  std::string market;     // stocks: "KOSPI" or "KOSDAQ"
  double reference = 0;   // level the price model moves around
  double volatility = 0;  // typical daily move, as a fraction
  int64_t shares = 0;     // stocks: shares outstanding
};

class MarketData {
 public:
  // Reads the five files from `folder`. False with `error` set when a file is
  // missing or a line is malformed (the server refuses to start on bad data).
  bool Load(const std::string& folder, std::string& error);

  const std::vector<Instrument>& List(int category) const;
  const Instrument* Find(int category, const std::string& code) const;
  size_t StockCount() const { return List(kStock).size(); }

  // The master file as delivered: "code|name|market|" lines.
  const std::string& MasterText() const { return master_text_; }

 private:
  bool LoadFile(const std::string& path, int category, std::string& error);

  std::map<int, std::vector<Instrument>> lists_;
  std::map<std::pair<int, std::string>, size_t> index_;
  std::string master_text_;
};

}  // namespace brantel::quote_server
