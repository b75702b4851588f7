// Master list parser over hostile bytes: any input parses into bounded
// entries, and searching and lookups over them stay within their limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "cache/master_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  brantel::CParseMaster parser;
  parser.ParseText(bytes);
  // Every entry has a code and a name, neither longer than one piece.
  if (parser.GetEntryCount() < 0) std::abort();
  if (parser.GetEntryCount() > 0) {
    // Search with the first bytes of the input as the typed text.
    brantel::WideText prefix = brantel::Widen(bytes.substr(0, size % 5));
    int found = parser.FindByPrefix(prefix, prefix.size());
    if (found < 0 || found > brantel::kMaxMasterResults) std::abort();
    for (int i = 0; i < found; ++i) {
      const brantel::MasterEntry* e = parser.GetResult(i);
      if (!e || e->code.empty() || e->name.empty()) std::abort();
      if (e->code.size() + e->name.size() > brantel::kMasterPieceChars) std::abort();
      if (parser.LookupMarket(e->code) < 0) std::abort();
    }
    if (parser.GetResult(found)) std::abort();
  }
  return 0;
}
