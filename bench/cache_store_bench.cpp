// Cache store figures: writing a market answer (with open and close) beside
// the sqlite3 shell running the same statements in one transaction, loading
// a category, and the master list's parse and prefix search.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cache/cache_results.h"
#include "cache/cache_tables.h"
#include "cache/database_path.h"
#include "cache/master_parser.h"
#include "cache/quote_store.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

// One temporary data folder for the whole run, removed at exit.
std::string BenchHome() {
  static const testing::TempDataFolder home("brantel-cache-bench");
  if (home.path().empty()) std::abort();
  return home.path();
}

StockRecord Row(const std::string& code, int i) {
  StockRecord r;
  r.gubun = 1;
  r.code = Widen(code);
  r.item = u"0";
  r.codename = Widen("종목" + std::to_string(i));
  r.current_price = Widen(std::to_string(10000 + i));
  r.daebi = u"-150";
  r.rate = u"-1.23";
  r.date = u"20261207";
  r.time = u"103000";
  return r;
}

// Half the codes exist before each run ("E..."), half are new ("N...").
std::vector<StockRecord> HalfNewList(int rows) {
  std::vector<StockRecord> list;
  for (int i = 0; i < rows; ++i) {
    std::string code(1, i % 2 ? 'N' : 'E');
    code += std::to_string(100000 + i);
    list.push_back(Row(code, i));
  }
  return list;
}

void RunSql(const std::string& sql) {
  sqlite3* db = nullptr;
  sqlite3_open(BuildDatabasePath().c_str(), &db);
  sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

void PrepareFile(const std::vector<StockRecord>& list) {
  BenchHome();
  std::filesystem::remove(BuildDatabasePath());
  EnsureCacheTables();
  std::vector<StockRecord> existing;
  for (const auto& r : list)
    if (r.code[0] == u'E') existing.push_back(r);
  StoreQuoteList(kQuoteTable, existing, u"before");
}

void BM_StoreQuoteList(benchmark::State& state) {
  const int rows = int(state.range(0));
  const std::vector<StockRecord> list = HalfNewList(rows);
  PrepareFile(list);
  for (auto _ : state) {
    state.PauseTiming();
    RunSql("DELETE FROM StockData WHERE code LIKE 'N%'");
    state.ResumeTiming();
    if (StoreQuoteList(kQuoteTable, list, u"20261207103000") != CACHE_OK) state.SkipWithError("store failed");
  }
  state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_StoreQuoteList)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond)->UseRealTime();

std::string Literal(const WideText& text) {
  std::string out = "'";
  for (char c : Narrow(text)) out += c == '\'' ? std::string("''") : std::string(1, c);
  return out + "'";
}

// The same writes as a script for the sqlite3 shell: the connection
// settings, one transaction, an UPDATE for each stored code and an INSERT
// for each new one.
std::string ShellScript(const std::vector<StockRecord>& list) {
  std::string s = "PRAGMA synchronous=OFF;\nPRAGMA count_changes=OFF;\nPRAGMA temp_store=memory;\nBEGIN;\n";
  for (const auto& r : list) {
    if (r.code[0] == u'E') {
      s += "UPDATE StockData SET codename=" + Literal(r.codename) + ",sub_gubun=" + Literal(r.item) +
           ",current_price=" + Literal(r.current_price) + ",daebi=" + Literal(r.daebi) + ",rate=" + Literal(r.rate) +
           ",date=" + Literal(r.date) + ",time=" + Literal(r.time) + ",lastupdatetime='20261207103000' WHERE code=" +
           Literal(r.code) + " AND gubun=1;\n";
    } else {
      s += "INSERT INTO StockData (code, codename, gubun, sub_gubun, current_price, daebi, rate, date, time, "
           "lastupdatetime) VALUES(" +
           Literal(r.code) + "," + Literal(r.codename) + ",1," + Literal(r.item) + "," + Literal(r.current_price) +
           "," + Literal(r.daebi) + "," + Literal(r.rate) + "," + Literal(r.date) + "," + Literal(r.time) +
           ",'20261207103000');\n";
    }
  }
  return s + "COMMIT;\n";
}

void BM_SqliteShellSameStatements(benchmark::State& state) {
  const int rows = int(state.range(0));
  const std::vector<StockRecord> list = HalfNewList(rows);
  PrepareFile(list);
  const std::string script_path = BenchHome() + "/shell_script.sql";
  std::ofstream(script_path) << ShellScript(list);
  const std::string command = "/usr/bin/sqlite3 -batch '" + BuildDatabasePath() + "' < '" + script_path + "' >/dev/null";
  for (auto _ : state) {
    state.PauseTiming();
    RunSql("DELETE FROM StockData WHERE code LIKE 'N%'");
    state.ResumeTiming();
    if (std::system(command.c_str()) != 0) state.SkipWithError("sqlite3 shell failed");
  }
  state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_SqliteShellSameStatements)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadQuotesOfCategory(benchmark::State& state) {
  const std::vector<StockRecord> list = HalfNewList(3000);
  PrepareFile({});
  StoreQuoteList(kQuoteTable, list, u"t");
  for (auto _ : state) {
    std::vector<StockRecord> rows;
    if (LoadQuotesOfCategory(kQuoteTable, 1, rows) != CACHE_OK || rows.size() != 3000)
      state.SkipWithError("load failed");
    benchmark::DoNotOptimize(rows.data());
  }
  state.SetItemsProcessed(state.iterations() * 3000);
}
BENCHMARK(BM_LoadQuotesOfCategory)->Unit(benchmark::kMillisecond)->UseRealTime();

// A master list of `lines` stocks in the server's format.
std::string MasterText(int lines) {
  static const char* const kWords[] = {"삼성", "현대", "엘지", "Korea", "Global", "신한", "대한", "한국", "Daewoo",
                                       "에스케이", "Bio", "Tech", "롯데", "CJ", "포스코", "Hana"};
  std::string text;
  for (int i = 0; i < lines; ++i) {
    char code[16];
    std::snprintf(code, sizeof code, "%06d", 100000 + i * 7);
    text += std::string(code) + "|" + kWords[i % 16] + kWords[(i / 16) % 16] + std::to_string(i) + "|" +
            (i % 3 ? "KOSDAQ" : "KOSPI") + "|\n";
  }
  return text;
}

void BM_MasterParse(benchmark::State& state) {
  const std::string path = BenchHome() + "/masterinfo_bench";
  std::ofstream(path, std::ios::binary) << MasterText(10000);
  for (auto _ : state) {
    CParseMaster parser;
    if (!parser.Parse(path) || parser.GetEntryCount() != 10000) state.SkipWithError("parse failed");
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_MasterParse)->Unit(benchmark::kMillisecond);

// Two-letter prefix over 10,000 entries: "zq" matches nothing, so the whole
// list is scanned (the worst case); "hA" matches Hana... rows spread through
// the list.
void BM_FindByPrefix(benchmark::State& state, const char16_t* prefix) {
  CParseMaster parser;
  parser.ParseText(MasterText(10000));
  const WideText text(prefix);
  for (auto _ : state) benchmark::DoNotOptimize(parser.FindByPrefix(text, text.size()));
}
BENCHMARK_CAPTURE(BM_FindByPrefix, no_match_full_scan, u"zq")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FindByPrefix, mixed_case_match, u"hA")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FindByPrefix, korean, u"삼성")->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace brantel

BENCHMARK_MAIN();
