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
  // Entries of the master file (the sample lists every stock; a market read
  // from files lists the stocks of its latest day).
  size_t MasterCount() const { return master_count_; }

  // Building a market from other sources. False when the code is unsafe or
  // already listed in its category.
  bool Add(Instrument in);
  void SetMaster(std::string text, size_t count) {
    master_text_ = std::move(text);
    master_count_ = count;
  }

  // The master file as delivered: "code|name|market|" lines.
  const std::string& MasterText() const { return master_text_; }

 private:
  bool LoadFile(const std::string& path, int category, std::string& error);

  std::map<int, std::vector<Instrument>> lists_;
  std::map<std::pair<int, std::string>, size_t> index_;
  std::string master_text_;
  size_t master_count_ = 0;
};

// Codes become file names of chart pictures and keys of the viewer's cache:
// letters, digits and '@' only, at most 16.
bool IsSafeCode(const std::string& code);

}  // namespace brantel::quote_server
