// A list request with a 3,000-row answer (about 600 KB) from the reference
// server over loopback: FetchMarketList (connect, send, receive in 1 KiB
// chunks with message pumping, read the answer into rows) beside a plain
// client that posts the same document, receives with 64 KiB chunks and
// parses with pugixml, copying the nine fields of each row.

#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "platform/folders.h"
#include "protocol/market_requests.h"
#include "protocol/quote_transport.h"
#include "protocol/request_cycle.h"
#include "protocol/request_settings.h"
#include "protocol/wire_text.h"
#include "tests/support/loopback_listener.h"
#include "tests/support/quote_server_process.h"
#include "tests/support/plain_list_rows.h"

namespace brantel {
namespace {

std::unique_ptr<testing::QuoteServerProcess> g_server;
int g_port = 0;

// Starts brantel-quote-server with every stock in its rankings.
bool StartServer() {
  g_server = std::make_unique<testing::QuoteServerProcess>(
      std::vector<std::string>{"--ranking-rows", "0", "--fixed-clock", "2026-12-07 10:56"});
  g_port = g_server->port();
  return g_server->started();
}

void StopServer() { g_server.reset(); }

class RankingList : public MarketListTarget {
 public:
  int32_t category() const override { return 6; }
  HWND owner() const override { return 0; }
  WideText LastUpdate() const override { return stamp_; }
  void SetLastUpdate(WideView stamp) override { stamp_ = WideText(stamp); }
  void ReceiveRows(std::vector<StockRecord>&& rows) override { rows_ = std::move(rows); }
  WideText stamp_;
  std::vector<StockRecord> rows_;
};

void BM_FetchMarketList(benchmark::State& state) {
  for (auto _ : state) {
    RankingList list;
    if (FetchMarketList(list) != 1 || list.rows_.size() != 3000) return state.SkipWithError("request failed");
    benchmark::DoNotOptimize(list.rows_);
  }
}
BENCHMARK(BM_FetchMarketList)->Unit(benchmark::kMillisecond)->MinTime(2.0);

std::string PlainRequest() {
  RequestDocument document = MakeRequestDocument(u"", u"L");
  document.AddParam(document.AddGroup(6), u"", u"", u"0");
  const std::string body = Utf16ToUtf8(document.BuildInfoListText());
  return BuildRequestHead("127.0.0.1", g_port, "/hfjs-web/wm/market/MarketList.do", body.size()) + body;
}

// The plain client: one socket, 64 KiB receives, pugixml on the XML part.
void BM_PlainClient(benchmark::State& state) {
  const std::string request = PlainRequest();
  std::vector<char> chunk(64 * 1024);
  for (auto _ : state) {
    const int fd = testing_support::ConnectLoopback(g_port);
    if (fd < 0) return state.SkipWithError("connect failed");
    send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    std::string answer;
    ssize_t n;
    while ((n = recv(fd, chunk.data(), chunk.size(), 0)) > 0) answer.append(chunk.data(), size_t(n));
    close(fd);
    const size_t xml = answer.find("<?xml");
    const size_t end = answer.find("</SmartPhone>", xml);
    if (xml == std::string::npos || end == std::string::npos) return state.SkipWithError("no XML part");
    pugi::xml_document doc;
    if (!doc.load_buffer(answer.data() + xml, end + 13 - xml)) return state.SkipWithError("parse failed");
    std::vector<testing::NarrowRow> rows = testing::CopyPlainListRows(doc);
    if (rows.size() != 3000) return state.SkipWithError("rows missing");
    benchmark::DoNotOptimize(rows);
  }
}
BENCHMARK(BM_PlainClient)->Unit(benchmark::kMillisecond)->MinTime(2.0);

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
        const std::string name = run.benchmark_name();
        ms_[name.substr(0, name.find('/'))] = run.GetAdjustedRealTime();
      }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    const double fetch = ms_["BM_FetchMarketList"], plain = ms_["BM_PlainClient"];
    if (plain > 0)
      std::printf("ratio FetchMarketList / plain client = %.2f (%.3f ms / %.3f ms, wall time)\n", fetch / plain, fetch,
                  plain);
  }

 private:
  std::map<std::string, double> ms_;
};

}  // namespace
}  // namespace brantel

int main(int argc, char** argv) {
  char home[] = "/tmp/brantel_transport_bench_XXXXXX";
  if (!mkdtemp(home)) return 1;
  setenv("BRANTEL_HOME", home, 1);
  brantel::SetProgramFolderForTesting(std::string(home) + "/");
  if (!brantel::StartServer()) {
    std::fprintf(stderr, "brantel-quote-server did not start\n");
    return 1;
  }
  brantel::SetInformationServer(u"127.0.0.1", brantel::g_port);
  benchmark::Initialize(&argc, argv);
  brantel::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  brantel::StopServer();
  std::system((std::string("rm -rf '") + home + "'").c_str());
  return 0;
}
