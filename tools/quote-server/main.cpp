// brantel-quote-server: the reference information server on 127.0.0.1.

#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/folders.h"
#include "tools/quote-server/http_front.h"
#include "tools/quote-server/market_data.h"
#include "tools/quote-server/market_folder.h"
#include "tools/quote-server/model_source.h"
#include "tools/quote-server/quote_service.h"
#include "tools/quote-server/server_options.h"

using namespace brantel::quote_server;

int main(int argc, char** argv) {
  ServerOptions options;
  std::string error;
  if (!ParseServerOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    std::fprintf(stderr, "brantel-quote-server: %s\n%s", error.c_str(), ServerUsage());
    return 2;
  }
  if (options.help) {
    std::fputs(ServerUsage(), stdout);
    return 0;
  }
  if (options.data_dir.empty()) options.data_dir = BRANTEL_QUOTE_SERVER_DATA_DIR;

  if (!options.files_dir.empty() && !brantel::DirectoryExists(options.files_dir)) {
    std::fprintf(stderr, "brantel-quote-server: --files: no folder %s\n", options.files_dir.c_str());
    return 2;
  }
  MarketData market;
  if (!market.Load(options.data_dir, error)) {
    std::fprintf(stderr, "brantel-quote-server: %s\n", error.c_str());
    return 1;
  }
  ServiceSettings settings;
  settings.seed = options.seed;
  settings.fixed_clock = options.fixed_clock;
  settings.clock = options.clock;
  settings.result_code = options.result_code;
  settings.ranking_rows = options.ranking_rows;
  // The market served: the sample's model, or the exchange files of
  // --market-data, read anew into a fresh market whenever the folder changes.
  auto slot = std::make_shared<SourceSlot>(std::make_shared<ModelSource>(market, settings.seed));
  FolderWatcher watcher;
  if (!options.market_dir.empty()) {
    if (!brantel::DirectoryExists(options.market_dir)) {
      std::fprintf(stderr, "brantel-quote-server: --market-data: no folder %s\n", options.market_dir.c_str());
      return 2;
    }
    const auto load = [&market, dir = options.market_dir, slot]() -> bool {
      const auto start = std::chrono::steady_clock::now();
      FolderLoadStats stats;
      auto files = LoadMarketFolder(dir, market, [](const std::string& line) {
        std::fprintf(stderr, "brantel-quote-server: %s\n", line.c_str());
      }, &stats);
      if (!files) {
        std::fprintf(stderr, "brantel-quote-server: %s cannot be read; the market stays as it was\n", dir.c_str());
        return false;
      }
      const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
      std::fprintf(stderr, "brantel-quote-server: market of %s: %zu files, %zu rows, %zu skipped, %lld ms\n", dir.c_str(),
                   stats.files_read, stats.rows, stats.files_skipped, static_cast<long long>(ms.count()));
      slot->Set(std::move(files));
      return true;
    };
    if (!load()) return 1;
    if (!watcher.Start(options.market_dir, [load] { load(); }, error)) {
      std::fprintf(stderr, "brantel-quote-server: %s\n", error.c_str());
      return 1;
    }
  }
  const QuoteService service(slot, settings);

  // A client that hangs up mid-answer must not end the server.
  std::signal(SIGPIPE, SIG_IGN);
  HttpFront front(options, service);
  const int port = front.Bind();
  if (port <= 0) {
    std::fprintf(stderr, "brantel-quote-server: cannot listen on 127.0.0.1:%d\n", options.port);
    return 1;
  }
  // Tests and scripts read this line to learn the port.
  std::printf("listening on 127.0.0.1:%d\n", port);
  std::fflush(stdout);
  return front.Run() ? 0 : 1;
}
