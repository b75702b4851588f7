#pragma once
// The stock-code master list: one process-wide object holding every entry of
// the master file, searched by code or name prefix.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/text.h"

namespace brantel {

struct MasterEntry {
  WideText name;
  WideText code;
  int32_t market = 1;  // 0 for KOSPI and KOSDAQ stocks, 1 otherwise
};

// Files larger than this are refused rather than read into memory; a real
// master list is a few hundred kilobytes.
inline constexpr size_t kMaxMasterFileBytes = size_t(32) << 20;
// A line is taken in pieces of at most this many characters.
inline constexpr size_t kMasterPieceChars = 1023;
inline constexpr int kMaxMasterResults = 30;

class CParseMaster {
 public:
  // Appends one entry per usable line of the file ("code|name|market|...").
  // False (with a diagnostic) when the file cannot be opened or is too large;
  // true otherwise, also for an empty file.
  bool Parse(const std::string& path);
  // The same over bytes already in memory.
  void ParseText(std::string_view bytes);

  int GetEntryCount() const { return int(entries_.size()); }
  // Case-insensitive prefix match of code or name, in file order, at most
  // 30 results; `length` is the text's own length.
  int FindByPrefix(WideView text, size_t length);
  const MasterEntry* GetResult(int index) const;
  // Market flag of the first entry with exactly this code; -1 when none.
  int LookupMarket(WideView code) const;

 private:
  void AddPiece(WideView piece);

  std::deque<MasterEntry> entries_;  // a deque: results keep pointing at entries
  // Folded first characters of each entry's code and name, side by side in
  // one array, so a search touches an entry's texts only when one matches.
  struct FirstChars {
    char16_t code;
    char16_t name;
  };
  std::vector<FirstChars> first_chars_;
  std::vector<const MasterEntry*> results_;
};

// The process-wide master list, made on first use.
CParseMaster& GetMasterParser();

}  // namespace brantel
