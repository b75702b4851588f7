// brantel-quote-server --market-data as a user runs it: the real server on a
// folder of the exchange's files (tests/data/market: three days of four
// stocks and four indices, one file CP949, one UTF-8 with a byte-order mark
// and a broken row, 카카오 missing on the last day), read through the real
// brantel-quote and through raw requests, with files added while it runs.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <filesystem>
#include <pugixml.hpp>
#include <thread>

#include "tests/support/run_command.h"
#include "tests/support/temp_folder.h"
#include "tests/tools/quote_server_harness.h"

using namespace quote_server_test;
namespace fs = std::filesystem;

namespace {

const std::string kList = "/hfjs-web/wm/market/MarketList.do";
const std::string kHeader = "종목코드,종목명,시장구분,소속부,종가,대비,등락률,시가,고가,저가,거래량,거래대금,시가총액,상장주식수\n";

std::string Quote(int port, const std::string& args) {
  const auto run = brantel::testing::RunCommand(BinDir() + "/brantel-quote --server 127.0.0.1:" + std::to_string(port) +
                                                " " + args);
  return run.exit_code == 0 ? run.output : "exit " + std::to_string(run.exit_code) + ": " + run.output;
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Writes a file beside the others the way a download should land: under a
// hidden name, then renamed into place.
void Drop(const std::string& folder, const std::string& name, const std::string& text) {
  const std::string part = folder + "/." + name + ".part";
  brantel::testing::WriteFile(part, text);
  fs::rename(part, folder + "/" + name);
}

std::string StockRow(const char* code, const char* name, int close, int change, long volume) {
  char row[256];
  std::snprintf(row, sizeof row, "\"%s\",\"%s\",\"KOSPI\",\"\",\"%d\",\"%d\",\"0.00\",\"%d\",\"%d\",\"%d\",\"%ld\",\"%ld\",\"1\",\"1\"\n",
                code, name, close, change, close, close, close, volume, volume * close);
  return row;
}

struct Rows {
  std::string server_date;
  std::vector<std::pair<std::string, std::string>> code_date;  // per row
  std::vector<std::string> prices;
};

Rows Ranking(int port, const char* kind) {
  Rows rows;
  const HttpReply reply = Exchange(
      port, ViewerPost(kList, port, Document("L", std::string("<InfoList gubun=\"6\"> <param item=\"") + kind + "\" /> </InfoList>")));
  std::vector<Part> parts;
  pugi::xml_document xml;
  if (reply.status != 200 || !SplitMultipart(reply.body, parts) || parts.empty() ||
      !xml.load_buffer(parts[0].data.data(), parts[0].data.size()))
    return rows;
  rows.server_date = xml.child("SmartPhone").child("Header").child_value("ServerDate");
  for (auto r : xml.child("SmartPhone").child("Body").children("InfoList")) {
    rows.code_date.emplace_back(r.child_value("Code"), r.child_value("Date"));
    rows.prices.push_back(r.child_value("CurrentPrc"));
  }
  return rows;
}

class MarketFilesServer : public ::testing::Test {
 protected:
  void SetUp() override {
    struct stat st;
    if (stat((BinDir() + "/brantel-quote").c_str(), &st) != 0) GTEST_SKIP() << "brantel-quote is not built";
    for (const auto& f : fs::directory_iterator(std::string(BRANTEL_TEST_DATA_DIR) + "/market"))
      fs::copy_file(f.path(), fs::path(market_.path()) / f.path().filename());
  }
  brantel::testing::TempDataFolder home_{"quote_market_home"};
  brantel::testing::TempFolder market_{"quote_market_files"};
};

TEST_F(MarketFilesServer, ViewerSeesTheFilesOwnNumbers) {
  ServerProcess server({"--market-data", market_.path()});
  ASSERT_GT(server.port(), 0) << server.why_not();
  const int port = server.port();

  // The latest day, its daily rows newest first (the CP949 day among them),
  // and the 52-week high and low from the daily highs and lows.
  const std::string samsung = Quote(port, "--json detail 005930");
  EXPECT_TRUE(Has(samsung, R"("server_date": "26/12/03 15:30:00")")) << samsung;
  for (const char* part :
       {R"("price": "71,800", "change": "-700", "rate": "-0.97", "high": "72,600", "low": "71,500", "open": "72,400", "previous_close": "72,500", "volume": "11,000,000", "high52": "73,000", "high52_date": "26/12/02", "low52": "70,200", "low52_date": "26/12/01", "date": "26/12/03", "time": "15:30:00")",
        R"({"date": "26/12/03", "price": "71,800", "change": "-700", "rate": "-0.97"},
  {"date": "26/12/02", "price": "72,500", "change": "1,500", "rate": "2.11"},
  {"date": "26/12/01", "price": "71,000", "change": "500", "rate": "0.71"}])"})
    EXPECT_TRUE(Has(samsung, part)) << samsung;

  // Halted on the last day: still quoted from its last day, not listed.
  const std::string kakao = Quote(port, "--json detail 035720");
  EXPECT_TRUE(Has(kakao, R"("price": "40,500", "change": "-500", "rate": "-1.22")")) << kakao;
  EXPECT_TRUE(Has(kakao, R"("date": "26/12/02")")) << kakao;

  const std::string master = Quote(port, "master");
  EXPECT_TRUE(Has(master, "005930  삼성전자    KOSPI\n000660  SK하이닉스  KOSPI\n060310  3S          KOSDAQ\n")) << master;
  EXPECT_TRUE(Has(master, "3 stocks: 2 KOSPI, 1 KOSDAQ")) << master;

  // Rankings of the latest day by the files' volume, value and capitalisation.
  const auto codes = [](const Rows& r) {
    std::string s;
    for (const auto& [code, date] : r.code_date) s += code + "@" + date + " ";
    return s;
  };
  EXPECT_EQ(codes(Ranking(port, "0")), "005930@26/12/03 000660@26/12/03 060310@26/12/03 ");
  EXPECT_EQ(codes(Ranking(port, "1")), "005930@26/12/03 000660@26/12/03 060310@26/12/03 ");
  EXPECT_EQ(Ranking(port, "1").prices, (std::vector<std::string>{"71,800", "181,000", "2,870"}));
  const std::string by_volume = Quote(port, "list ranking volume");
  EXPECT_TRUE(Has(by_volume, "005930  삼성전자     71,800    ▼ 700  -0.97%  12/03  15:30:00")) << by_volume;

  // Indices by the viewer's codes; one it does not know keeps a code of its own.
  const std::string indices = Quote(port, "list indices");
  EXPECT_TRUE(Has(indices, "KOSPI       코스피         2,520.75  ▲ 20.25   0.81%")) << indices;
  EXPECT_TRUE(Has(indices, "KPI200      코스피 200       338.00")) << indices;
  EXPECT_TRUE(Has(indices, "코스피 대형주  2,500.00")) << indices;
  EXPECT_TRUE(Has(Quote(port, "list fx"), "FX@USD  미국 달러  1,385.50    ▼ 2.30  -0.17%"));
  EXPECT_TRUE(Has(Quote(port, "list rates"), "3.265"));

  // The broken row is skipped with one line naming its file and line.
  EXPECT_TRUE(Has(server.Log(), "data_20261203_stocks.csv:4: row skipped")) << server.Log();
}

TEST_F(MarketFilesServer, NewFilesAreServedWhileRunningAndNoAnswerMixesTwoMarkets) {
  ServerProcess server({"--market-data", market_.path(), "--ranking-rows", "0"});
  ASSERT_GT(server.port(), 0) << server.why_not();
  const int port = server.port();

  // Rankings asked for without pause while whole days arrive: every answer
  // lists one day only, all of that day's stocks.
  std::atomic<bool> done{false};
  std::atomic<int> answers{0}, mixed{0};
  std::thread asker([&] {
    while (!done) {
      const Rows r = Ranking(port, "0");
      if (r.code_date.empty()) continue;
      ++answers;
      for (const auto& [code, date] : r.code_date)
        if (date != r.code_date.front().second || date != r.server_date.substr(0, 8)) ++mixed;
    }
  });
  const auto wait_for = [&](const std::string& stamp) {
    for (int i = 0; i < 100; ++i) {
      if (Ranking(port, "0").server_date == stamp) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  };
  // A snapshot during 12-04 (date and time in the name), then the close.
  std::string snapshot = kHeader, close = kHeader;
  for (int i = 0; i < 400; ++i) {
    char code[8], name[16];
    std::snprintf(code, sizeof code, "9%05d", i);
    std::snprintf(name, sizeof name, "종목%d", i);
    snapshot += StockRow(code, name, 1000 + i, 5, 100 + i);
    close += StockRow(code, name, 1010 + i, 15, 200 + i);
  }
  Drop(market_.path(), "stocks_20261204_1030.csv", snapshot);
  EXPECT_TRUE(wait_for("26/12/04 10:30:00"));
  Drop(market_.path(), "stocks_20261204.csv", close);
  EXPECT_TRUE(wait_for("26/12/04 15:30:00"));
  // A file written in place (as cp does) is read once it is closed.
  brantel::testing::WriteFile(market_.path() + "/indices_20261204.csv",
                              "지수명,종가,대비,등락률\n\"코스피\",\"2,530.00\",\"9.25\",\"0.37\"\n");
  bool index_seen = false;
  for (int i = 0; i < 100 && !index_seen; ++i) {
    index_seen = Has(Quote(port, "list indices"), "2,530.00   ▲ 9.25   0.37%");
    if (!index_seen) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_TRUE(index_seen) << Quote(port, "list indices");
  // A file that is no exchange file is skipped; the market stays.
  Drop(market_.path(), "notes_20261205.csv", "not,a,known,header\n1,2,3,4\n");
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  done = true;
  asker.join();
  EXPECT_GT(answers.load(), 0);
  EXPECT_EQ(mixed.load(), 0);

  const Rows last = Ranking(port, "0");
  EXPECT_EQ(last.server_date, "26/12/04 15:30:00");
  ASSERT_EQ(last.code_date.size(), 400u);
  EXPECT_EQ(last.code_date.front().first, "900399");  // the heaviest volume
  EXPECT_EQ(last.prices.front(), "1,409");
  // The day's snapshot is a point of its intraday chart; the close its row.
  const std::string detail = Quote(port, "--json detail 900000");
  EXPECT_TRUE(Has(detail, R"({"date": "26/12/04", "price": "1,010", "change": "15")")) << detail;
  EXPECT_TRUE(Has(server.Log(), "notes_20261205.csv: skipped")) << server.Log();
}

}  // namespace
