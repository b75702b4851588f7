// The reference server on a year of the exchange's files: 250 trading days of
// 3,000 stocks (CP949, as the portal sends them) and 50 indices, generated
// into a scratch folder.
//   BM_LoadYearOfFiles  reading the folder into a market, in this process
//   BM_ServerStart      the real server started on the folder: time until it
//                       listens, resident memory after loading (VmRSS, VmHWM)
//   BM_Requests         requests per second over loopback from one load
//                       client (4 connections at a time, one request each)
//                       for the 3,000-row ranking and a detail with its two
//                       charts, against nginx (a worker per core, sendfile)
//                       serving the same answer bytes as static files in
//                       the same run. Answers of a market read from files
//                       are kept and sent again, so this measures delivery.

#include <benchmark/benchmark.h>
#include <iconv.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <arpa/inet.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench/process_counters.h"
#include "tests/support/loopback_listener.h"
#include "tests/support/quote_server_process.h"
#include "tests/tools/quote_server_harness.h"
#include "tests/tools/nginx_process.h"
#include "tools/quote-server/market_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace brantel::quote_server;

constexpr int kDays = 250;
constexpr int kStocks = 3000;
constexpr int kIndices = 50;

std::string ToCp949(const std::string& utf8) {
  iconv_t cd = iconv_open("CP949", "UTF-8");
  std::string out(utf8.size() + 16, '\0');
  char* in = const_cast<char*>(utf8.data());
  size_t in_left = utf8.size(), out_left = out.size();
  char* o = out.data();
  iconv(cd, &in, &in_left, &o, &out_left);
  iconv_close(cd);
  out.resize(out.size() - out_left);
  return out;
}

// The year's files, written once per run.
const std::string& YearFolder() {
  static const std::string folder = [] {
    const std::string dir = (fs::temp_directory_path() / ("brantel_market_year_" + std::to_string(getpid()))).string();
    fs::create_directories(dir);
    std::mt19937 random(7);
    std::vector<double> price(kStocks), level(kIndices);
    for (int s = 0; s < kStocks; ++s) price[size_t(s)] = 1000 + double(random() % 200000);
    for (int i = 0; i < kIndices; ++i) level[size_t(i)] = 500 + double(random() % 3000);
    int64_t day = DaysFromCivil(2025, 12, 1);
    for (int d = 0; d < kDays; ++d, ++day) {
      while (!IsTradingDay(day)) ++day;
      int y = 0, m = 0, dd = 0;
      CivilFromDays(day, y, m, dd);
      char date[16];
      std::snprintf(date, sizeof date, "%04d%02d%02d", y, m, dd);
      std::string stocks = "종목코드,종목명,시장구분,소속부,종가,대비,등락률,시가,고가,저가,거래량,거래대금,시가총액,상장주식수\r\n";
      char row[512];
      for (int s = 0; s < kStocks; ++s) {
        const double before = price[size_t(s)];
        const double close = std::max(100.0, std::round(before * (1 + (double(random() % 2001) - 1000) / 40000)));
        price[size_t(s)] = close;
        const long volume = long(random() % 5000000);
        std::snprintf(row, sizeof row,
                      "\"%06d\",\"종목%d\",\"%s\",\"중견기업부\",\"%.0f\",\"%.0f\",\"%.2f\",\"%.0f\",\"%.0f\",\"%.0f\",\"%ld\",\"%.0f\",\"%.0f\",\"%d\"\r\n",
                      100000 + s * 3, s, s % 3 ? "KOSDAQ" : "KOSPI", close, close - before, (close - before) / before * 100,
                      before, std::max(before, close) * 1.01, std::min(before, close) * 0.99, volume, volume * close,
                      close * 1e7, 10000000);
        stocks += row;
      }
      std::ofstream(dir + "/data_" + date + "_stocks.csv", std::ios::binary) << ToCp949(stocks);
      std::string indices = "지수명,종가,대비,등락률,시가,고가,저가,거래량,거래대금,상장시가총액\r\n";
      for (int i = 0; i < kIndices; ++i) {
        const double before = level[size_t(i)];
        const double close = before * (1 + (double(random() % 2001) - 1000) / 80000);
        level[size_t(i)] = close;
        std::snprintf(row, sizeof row, "\"%s\",\"%.2f\",\"%.2f\",\"%.2f\",\"%.2f\",\"%.2f\",\"%.2f\",\"%d\",\"%d\",\"%d\"\r\n",
                      i == 0 ? "코스피" : i == 1 ? "코스닥" : ("지수 " + std::to_string(i)).c_str(), close, close - before,
                      (close - before) / before * 100, before, std::max(before, close), std::min(before, close), 1000000,
                      2000000, 3000000);
        indices += row;
      }
      std::ofstream(dir + "/indices_" + date + ".csv", std::ios::binary) << ToCp949(indices);
    }
    std::atexit([] {
      std::error_code ec;
      fs::remove_all(fs::temp_directory_path() / ("brantel_market_year_" + std::to_string(getpid())), ec);
    });
    return dir;
  }();
  return folder;
}

const MarketData& Sample() {
  static const MarketData sample = [] {
    MarketData m;
    std::string error;
    m.Load(std::string(BRANTEL_SOURCE_DIR) + "/tools/quote-server/data", error);
    return m;
  }();
  return sample;
}

void BM_LoadYearOfFiles(benchmark::State& state) {
  const std::string& dir = YearFolder();
  FolderLoadStats stats;
  for (auto _ : state) {
    auto market = LoadMarketFolder(dir, Sample(), nullptr, &stats);
    benchmark::DoNotOptimize(market);
  }
  state.counters["files"] = double(stats.files_read);
  state.counters["rows"] = double(stats.rows);
}
BENCHMARK(BM_LoadYearOfFiles)->Unit(benchmark::kMillisecond)->Iterations(3);

// The server this process started (its child of that name).
int ChildServerPid() {
  for (const auto& entry : fs::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    const std::string stat = brantel::FileText(entry.path().string() + "/stat");
    const size_t paren = stat.rfind(')');
    if (paren == std::string::npos || stat.find("(brantel-quote-s") == std::string::npos) continue;
    int ppid = 0;
    if (std::sscanf(stat.c_str() + paren + 2, "%*c %d", &ppid) == 1 && ppid == getpid()) return std::stoi(name);
  }
  return -1;
}

void BM_ServerStart(benchmark::State& state) {
  const std::string& dir = YearFolder();
  double rss = 0, hwm = 0;
  for (auto _ : state) {
    brantel::testing::QuoteServerProcess server({"--market-data", dir});
    if (!server.started()) {
      state.SkipWithError(server.why_not().c_str());
      return;
    }
    const brantel::Sample s = brantel::Take(ChildServerPid());
    rss = s.rss_mb;
    hwm = s.hwm_mb;
  }
  state.counters["rss_mb"] = rss;
  state.counters["hwm_mb"] = hwm;
}
BENCHMARK(BM_ServerStart)->Unit(benchmark::kMillisecond)->Iterations(1);

// One request on a fresh connection, read to the end: bytes received.
size_t OneRequest(int port, const std::string& request) {
  const int fd = brantel::testing_support::ConnectLoopback(port);
  if (fd < 0) return 0;
  size_t got = 0;
  if (send(fd, request.data(), request.size(), MSG_NOSIGNAL) == ssize_t(request.size())) {
    static thread_local char buffer[1 << 16];
    ssize_t n;
    while ((n = recv(fd, buffer, sizeof buffer, 0)) > 0) got += size_t(n);
  }
  close(fd);
  return got;
}

// Requests per second from 4 connections at a time for `seconds`; answers
// shorter than `body_bytes` count as failures.
double RequestsPerSecond(int port, const std::string& request, size_t body_bytes, double seconds, int& failures) {
  std::atomic<long> done{0}, failed{0};
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  std::vector<std::thread> clients;
  for (int c = 0; c < 4; ++c)
    clients.emplace_back([&] {
      while (std::chrono::steady_clock::now() < end) {
        if (OneRequest(port, request) > body_bytes) ++done;
        else ++failed;
      }
    });
  for (auto& t : clients) t.join();
  failures += int(failed);
  return double(done) / seconds;
}

std::string Post(const std::string& path, const std::string& groups) {
  const std::string doc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><SmartPhone><Header><Layout>L</Layout><Msisdn>0</Msisdn>"
                          "<Os>WM6.1</Os><Filler></Filler><Version>1.0</Version><ServerDate></ServerDate></Header><Body>" +
                          groups + "</Body></SmartPhone>";
  return "POST " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: text/xml;\r\nConnection: close\r\nContent-Length: " +
         std::to_string(doc.size()) + "\r\n\r\n" + doc;
}

std::string Get(const std::string& path) { return "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n"; }

// The body of one answer, as the server sent it.
std::string BodyOf(int port, const std::string& request) { return quote_server_test::Exchange(port, request).body; }

void BM_Requests(benchmark::State& state) {
  const std::string& dir = YearFolder();
  brantel::testing::QuoteServerProcess server({"--market-data", dir, "--ranking-rows", "0"});
  brantel::testing::NginxProcess nginx("  sendfile on;\n  server {\n    listen 127.0.0.1:@PORT@;\n    root @ROOT@/www;\n"
                                       "    default_type multipart/mixed;\n  }\n");
  if (!server.started() || !nginx.started()) {
    state.SkipWithError((server.why_not() + nginx.why_not()).c_str());
    return;
  }
  const std::string ranking = Post("/hfjs-web/wm/market/MarketList.do",
                                   "<InfoList gubun=\"6\"><param item=\"1\" /></InfoList>");
  const std::string detail = Post("/hfjs-web/wm/market/MarketDetail.do",
                                  "<Detail gubun=\"1\"><param key=\"100000\" item=\"0\" period=\"4\" /></Detail>");
  const std::string ranking_body = BodyOf(server.port(), ranking);
  const std::string detail_body = BodyOf(server.port(), detail);
  fs::create_directories(nginx.root() + "/www");
  fs::permissions(nginx.root() + "/www", fs::perms::all & ~fs::perms::group_write & ~fs::perms::others_write);
  std::ofstream(nginx.root() + "/www/ranking") << ranking_body;
  std::ofstream(nginx.root() + "/www/detail") << detail_body;
  int failures = 0;
  double rank_server = 0, rank_nginx = 0, detail_server = 0, detail_nginx = 0;
  for (auto _ : state) {
    rank_server = RequestsPerSecond(server.port(), ranking, ranking_body.size(), 3, failures);
    rank_nginx = RequestsPerSecond(nginx.port(), Get("/ranking"), ranking_body.size(), 3, failures);
    detail_server = RequestsPerSecond(server.port(), detail, detail_body.size(), 3, failures);
    detail_nginx = RequestsPerSecond(nginx.port(), Get("/detail"), detail_body.size(), 3, failures);
  }
  state.counters["ranking_kb"] = double(ranking_body.size()) / 1024;
  state.counters["detail_kb"] = double(detail_body.size()) / 1024;
  state.counters["ranking_server_rps"] = rank_server;
  state.counters["ranking_nginx_rps"] = rank_nginx;
  state.counters["ranking_ratio"] = rank_nginx > 0 ? rank_server / rank_nginx : 0;
  state.counters["detail_server_rps"] = detail_server;
  state.counters["detail_nginx_rps"] = detail_nginx;
  state.counters["detail_ratio"] = detail_nginx > 0 ? detail_server / detail_nginx : 0;
  state.counters["failures"] = failures;
}
BENCHMARK(BM_Requests)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
