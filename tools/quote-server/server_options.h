#pragma once
// Command line of brantel-quote-server.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/quote-server/market_clock.h"

namespace brantel::quote_server {

// How answers are delivered; everything off means a well-behaved server.
struct DeliveryFaults {
  int delay_ms = 0;         // wait before answering
  bool drip = false;        // send the answer in small pieces
  size_t drip_bytes = 64;
  int drip_ms = 50;
  bool close_early = false; // announce the full length, send half, close
  bool truncate = false;    // send only the first half, with a matching length
  bool garbage = false;     // replace the body with noise of the same length
  int status = 0;           // answer every request with this HTTP status
};

struct ServerOptions {
  int port = 8470;
  bool fixed_clock = false;
  KstSeconds clock = 0;
  uint64_t seed = 1;
  std::string result_code = "1";
  int ranking_rows = 100;   // 0: every stock
  bool log = false;
  std::string files_dir;    // serve files below it (GET and POST)
  std::string data_dir;     // the sample market
  std::string market_dir;   // exchange files to serve instead of the sample
  DeliveryFaults faults;
  bool help = false;
};

// False with `error` set for an unknown option or a bad value.
bool ParseServerOptions(const std::vector<std::string>& args, ServerOptions& out, std::string& error);
const char* ServerUsage();

}  // namespace brantel::quote_server
