#include "tools/quote-server/server_options.h"

#include <cerrno>
#include <cstdlib>

namespace brantel::quote_server {

namespace {

bool ReadInt(const std::string& text, long long low, long long high, long long& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  out = std::strtoll(text.c_str(), &end, 10);
  return errno == 0 && *end == '\0' && out >= low && out <= high;
}

}  // namespace

const char* ServerUsage() {
  return "usage: brantel-quote-server [options]\n"
         "  --port N           listen on 127.0.0.1:N (default 8470; 0 picks a free port)\n"
         "  --fixed-clock T    quote the market as at T, \"YYYY-MM-DD hh:mm[:ss]\" Korean time\n"
         "  --seed N           seed of the price model (default 1)\n"
         "  --data DIR         folder of the sample market files\n"
         "  --market-data DIR  serve the market of the exchange's daily files in DIR (read\n"
         "                     at start, new files picked up while running)\n"
         "  --ranking-rows N   rows of a ranking answer (default 100, 0 for every stock)\n"
         "  --files DIR        serve the files below DIR for GET and POST (update releases)\n"
         "  --log              write method, path and request document of each request to stderr\n"
         "test faults:\n"
         "  --result-code C    answer every request with ResultCode C and no rows\n"
         "  --delay MS         wait MS milliseconds before answering\n"
         "  --drip             send answers slowly (--drip-bytes N every --drip-ms MS; 64 and 50)\n"
         "  --close-early      announce the full length, send half the body, close\n"
         "  --truncate         send half the body with a matching Content-Length\n"
         "  --garbage          send noise of the body's length instead of the body\n"
         "  --status N         answer every request with HTTP status N\n";
}

bool ParseServerOptions(const std::vector<std::string>& args, ServerOptions& out, std::string& error) {
  out = ServerOptions{};
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const auto value = [&](std::string& v) {
      if (i + 1 >= args.size()) {
        error = a + " needs a value";
        return false;
      }
      v = args[++i];
      return true;
    };
    const auto number = [&](long long low, long long high, long long& n) {
      std::string v;
      if (!value(v)) return false;
      if (!ReadInt(v, low, high, n)) {
        error = a + ": bad value \"" + v + "\"";
        return false;
      }
      return true;
    };
    long long n = 0;
    std::string v;
    if (a == "--help" || a == "-h") {
      out.help = true;
    } else if (a == "--port") {
      if (!number(0, 65535, n)) return false;
      out.port = int(n);
    } else if (a == "--fixed-clock") {
      if (!value(v)) return false;
      if (!ParseClockText(v, out.clock)) {
        error = "--fixed-clock: expected \"YYYY-MM-DD hh:mm[:ss]\", got \"" + v + "\"";
        return false;
      }
      out.fixed_clock = true;
    } else if (a == "--seed") {
      if (!number(0, (1LL << 62), n)) return false;
      out.seed = uint64_t(n);
    } else if (a == "--data") {
      if (!value(out.data_dir)) return false;
    } else if (a == "--market-data") {
      if (!value(out.market_dir)) return false;
    } else if (a == "--files") {
      if (!value(out.files_dir)) return false;
    } else if (a == "--ranking-rows") {
      if (!number(0, 100000, n)) return false;
      out.ranking_rows = int(n);
    } else if (a == "--log") {
      out.log = true;
    } else if (a == "--result-code") {
      if (!value(out.result_code)) return false;
    } else if (a == "--delay") {
      if (!number(0, 3600000, n)) return false;
      out.faults.delay_ms = int(n);
    } else if (a == "--drip") {
      out.faults.drip = true;
    } else if (a == "--drip-bytes") {
      if (!number(1, 1 << 20, n)) return false;
      out.faults.drip_bytes = size_t(n);
      out.faults.drip = true;
    } else if (a == "--drip-ms") {
      if (!number(0, 60000, n)) return false;
      out.faults.drip_ms = int(n);
      out.faults.drip = true;
    } else if (a == "--close-early") {
      out.faults.close_early = true;
    } else if (a == "--truncate") {
      out.faults.truncate = true;
    } else if (a == "--garbage") {
      out.faults.garbage = true;
    } else if (a == "--status") {
      if (!number(100, 999, n)) return false;
      out.faults.status = int(n);
    } else {
      error = "unknown option " + a;
      return false;
    }
  }
  return true;
}

}  // namespace brantel::quote_server
