#pragma once
// The start-up master refresh without its screens: ask the server whether a
// newer master list exists, install and load it, or load the stored one.
// The main dialog runs it on its first timer tick; brantel-quote before a
// search.

#include <functional>
#include <string>

#include "platform/text.h"

namespace brantel {

// What one master request brought back.
struct MasterAnswer {
  bool answered = false;   // a response arrived at all
  bool accepted = false;   // its result code was "1"
  bool has_item = false;   // it held at least one item
  std::string file_path;   // the file of the first item, "" when none
  WideText server_date;    // the answer's ServerDate
  bool cancelled = false;  // the exchange was cancelled (the viewer is ending)
};

// Sends the master request with the stored entry count as decimal text.
using MasterRequestFn = std::function<MasterAnswer(WideView count_text)>;
// Records the master stamp after a new file was installed.
using MasterStampFn = std::function<void(WideView server_date)>;

inline constexpr int kMasterRefreshAttempts = 4;

// True when the process-wide master list is loaded (or, as before, when the
// server's item came without a file and no stored file could be read).
bool RefreshMaster(const MasterRequestFn& request, const MasterStampFn& record_stamp);

}  // namespace brantel
