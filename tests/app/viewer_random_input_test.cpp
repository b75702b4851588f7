// The whole viewer under seeded random input while the reference server
// switches its faults on and off: nothing crashes or leaks (every run of the
// viewer ends with status 0), nothing hangs (the UI thread gets through each
// part of the script within a second of the part's own playing time), the
// cache passes SQLite's integrity check afterwards, and what the user kept is
// still there: a watch list of several entries never comes back empty (a tap
// may remove one entry; nothing random removes them all), and a ranking kind
// that had rows keeps rows.
//
// The short seed runs in ctest. The long run is `scripts/soak 20m`, which
// sets BRANTEL_SOAK_SECONDS and BRANTEL_SOAK_SEED for this test.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <set>
#include <thread>

#include "cache/mypage_store.h"
#include "protocol/registry_key.h"
#include "tests/support/cache_check.h"
#include "tests/support/random_input_script.h"
#include "tests/support/viewer_process.h"

namespace brantel {
namespace {

using testing::QuoteServerProcess;
using testing::RandomInputScript;
using testing::RandomScriptPart;
using testing::ViewerProcess;
using testing::ViewerRun;
using Clock = std::chrono::steady_clock;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kSlackMs = 3000;
#else
constexpr int kSlackMs = 1000;
#endif

int EnvNumber(const char* name, int fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::atoi(v) : fallback;
}

// The faults the server switches between; the empty set is a sound server,
// nullptr one that is not there at all.
const std::vector<std::vector<std::string>> kFaults = {
    {},
    {"--delay", "9000"},
    {"--drip", "--drip-bytes", "256", "--drip-ms", "20"},
    {"--close-early"},
    {"--truncate"},
    {"--garbage"},
    {"--status", "500"},
    {"--result-code", "0"},
    {"--ranking-rows", "0"},
};

// The reference server on one port, started again with other faults.
class SwitchingServer {
 public:
  SwitchingServer() : server_(std::make_unique<QuoteServerProcess>()) { port_ = server_->port(); }
  int port() const { return port_; }
  bool started() const { return server_ && server_->started(); }
  // fault < 0: no server at all.
  bool Switch(int fault) {
    server_.reset();
    if (fault < 0) return true;
    std::vector<std::string> args = {"--port", std::to_string(port_)};
    args.insert(args.end(), kFaults[size_t(fault)].begin(), kFaults[size_t(fault)].end());
    // The port may still be held for a moment by the old listener.
    for (int i = 0; i < 50; ++i) {
      server_ = std::make_unique<QuoteServerProcess>(args);
      if (server_->started()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }

 private:
  std::unique_ptr<QuoteServerProcess> server_;
  int port_ = 0;
};

// Counts the dump steps the viewer has written (window trees ended by a
// "--" line), reading only what is new, and notes the screens they show.
class DumpCounter {
 public:
  DumpCounter(std::string path, std::set<std::string>& screens_seen)
      : path_(std::move(path)), screens_seen_(screens_seen) {}
  int Count() {
    FILE* f = std::fopen(path_.c_str(), "rb");
    if (!f) return count_;
    std::fseek(f, long(offset_), SEEK_SET);
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
      block_.append(buffer, n);
      offset_ += n;
    }
    std::fclose(f);
    size_t end;
    while ((end = block_.find("\n--\n")) != std::string::npos) {
      NoteScreens(block_.substr(0, end));
      block_.erase(0, end + 4);
      ++count_;
    }
    return count_;
  }

 private:
  void NoteScreens(const std::string& tree) {
    for (const char* screen : {"CMyPageDlg", "CMarketInfoDlg", "CSearchDlg"}) {
      const size_t at = tree.find(std::string("  ") + screen + " id=");
      if (at != std::string::npos && tree.substr(at, tree.find('\n', at) - at).find(" visible") != std::string::npos)
        screens_seen_.insert(screen);
    }
    if (tree.find("Stock Detail Window") != std::string::npos) screens_seen_.insert("detail");
  }
  std::string path_;
  std::set<std::string>& screens_seen_;
  size_t offset_ = 0;
  std::string block_ = "\n";
  int count_ = 0;
};

// The watch list the session starts with: stocks, an index and a currency.
void SeedWatchList() {
  struct Entry {
    const char16_t* code;
    const char16_t* name;
    int32_t category;
    const char16_t* item;
  };
  for (const Entry& e : {Entry{u"005930", u"삼성전자", 1, u"0"}, Entry{u"000660", u"SK하이닉스", 1, u"0"},
                         Entry{u"033780", u"KT&G", 1, u"0"}, Entry{u"0001", u"코스피", 2, u"1"},
                         Entry{u"FX@USD", u"미국 달러", 3, u"0"}}) {
    StockRecord r;
    r.code = e.code;
    r.codename = e.name;
    r.gubun = e.category;
    r.item = e.item;
    AddMyPageItem(r, u"2026/12/07 10:00:00", true, true);
  }
}

// What the user keeps in the cache: the watch list's size and each ranking
// kind's rows.
struct KeptRows {
  int watch_list = 0;
  int ranking[3] = {0, 0, 0};
};
KeptRows ReadKeptRows(const std::string& cache) {
  KeptRows kept;
  kept.watch_list = testing::CacheRowCount(cache, "MyPage");
  for (int kind = 0; kind < 3; ++kind)
    kept.ranking[kind] = testing::CacheRowCount(cache, "StockRank WHERE gubun=" + std::to_string(kind));
  return kept;
}
std::string LostRows(const KeptRows& before, const KeptRows& after) {
  if (before.watch_list >= 3 && after.watch_list == 0)
    return "the watch list of " + std::to_string(before.watch_list) + " entries came back empty";
  for (int kind = 0; kind < 3; ++kind)
    if (before.ranking[kind] > 0 && after.ranking[kind] <= 0)
      return "the rows of ranking kind " + std::to_string(kind) + " are gone";
  return "";
}

struct SessionFindings {
  int viewer_starts = 0;
  int clean_ends = 0;  // ended by itself with status 0 before its script did
  int fault_switches = 0;
  std::set<std::string> screens_seen;
  std::string failure;  // empty when nothing went wrong
};

SessionFindings RunRandomSession(uint64_t seed, int seconds, int slack_ms) {
  SessionFindings findings;
  SwitchingServer server;
  if (!server.started()) return {0, 0, 0, {}, "the reference server did not start"};
  ViewerProcess viewer;
  viewer.PointAt(server.port());
  {
    RegistryKey key;
    key.Create(HKEY_LOCAL_MACHINE, u"SOFTWARE\\BRANTEL\\BrantelStock");
    key.SetDword(u"display_info", 1);  // no help at start: the input goes to the screens
  }
  SeedWatchList();
  const std::string cache = viewer.data_folder() + "/qelstockdb";
  const std::string dump_step = viewer.DumpStep();
  const std::string dump_path = dump_step.substr(5, dump_step.size() - 6);

  // The parts of the whole script, made once so a restart continues it.
  RandomInputScript generator(seed);
  std::vector<RandomScriptPart> parts;
  int planned_ms = 0;
  while (planned_ms < seconds * 1000) {
    parts.push_back(generator.NextPart(dump_step));
    planned_ms += parts.back().play_ms;
  }

  std::mt19937_64 fault_rng(seed ^ 0x5eed);
  size_t next_part = 0;
  while (next_part < parts.size() && findings.failure.empty()) {
    // A new start of the viewer meets a sound server; the faults come back
    // at the next switch.
    if (findings.viewer_starts > 0 && !server.Switch(0)) return {0, 0, 0, {}, "the reference server did not restart"};
    std::string script = "wait 1500\n";
    for (size_t i = next_part; i < parts.size(); ++i) script += parts[i].text;
    script += "quit\n";
    viewer.SetScript(script);
    const KeptRows kept_before = ReadKeptRows(cache);
    std::filesystem::remove(dump_path);
    DumpCounter dumps(dump_path, findings.screens_seen);
    if (!viewer.Start()) return {0, 0, 0, {}, "the viewer did not start"};
    ++findings.viewer_starts;

    // Start-up (the master refresh, up to four attempts) may take a while;
    // after that each part must come within its playing time and the slack.
    auto due = Clock::now() + std::chrono::milliseconds(1500 + parts[next_part].play_ms + 30000);
    auto next_switch = Clock::now() + std::chrono::milliseconds(2000 + fault_rng() % 4000);
    int seen = 0;
    ViewerRun run;
    bool ended = false;
    while (!ended) {
      const int now_seen = dumps.Count();
      if (now_seen > seen) {
        seen = now_seen;
        if (next_part + size_t(seen) < parts.size())
          due = Clock::now() + std::chrono::milliseconds(parts[next_part + size_t(seen)].play_ms + slack_ms);
        else
          due = Clock::now() + std::chrono::milliseconds(10000);  // the quit and the teardown
      }
      if (Clock::now() > due) {
        findings.failure = "the viewer did not get through script part " + std::to_string(next_part + size_t(seen)) +
                           " in time (seed " + std::to_string(seed) + "):\n" + parts[next_part + size_t(seen)].text;
        viewer.Kill();
        break;
      }
      if (Clock::now() > next_switch) {
        const int fault = int(fault_rng() % (kFaults.size() + 1)) - 1;
        if (!server.Switch(fault)) {
          findings.failure = "the reference server did not restart";
          break;
        }
        ++findings.fault_switches;
        next_switch = Clock::now() + std::chrono::milliseconds(2000 + fault_rng() % 4000);
      }
      ended = viewer.Ended(run);
      if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    seen = dumps.Count();
    if (const char* keep = std::getenv("BRANTEL_SOAK_KEEP"); keep && *keep) {
      // The scripts, window trees and logs of each start, to look into a finding.
      const std::string stem = std::string(keep) + "/start" + std::to_string(findings.viewer_starts);
      testing::WriteFile(stem + "-script.txt", script);
      testing::WriteFile(stem + "-windows.txt", testing::ReadFile(dump_path));
      testing::WriteFile(stem + "-stderr.txt", viewer.Log());
    }
    if (!findings.failure.empty()) break;
    if (run.exit_code != 0) {
      findings.failure = "the viewer ended with status " + std::to_string(run.exit_code) + " in script part " +
                         std::to_string(next_part + size_t(seen)) + " (seed " + std::to_string(seed) + "):\n" +
                         viewer.Log().substr(0, 4000);
      break;
    }
    const std::string integrity = testing::CacheIntegrity(cache);
    if (integrity != "ok") {
      findings.failure = "the cache failed its integrity check: " + integrity;
      break;
    }
    if (const std::string lost = LostRows(kept_before, ReadKeptRows(cache)); !lost.empty()) {
      findings.failure = lost + " (seed " + std::to_string(seed) + ", viewer start " +
                         std::to_string(findings.viewer_starts) + ")";
      break;
    }
    if (next_part + size_t(seen) < parts.size()) ++findings.clean_ends;
    next_part += size_t(seen) + 1;  // the part the viewer ended in is skipped
  }
  // A damaged cache would have been put aside during the run.
  for (const auto& entry : std::filesystem::directory_iterator(viewer.data_folder()))
    if (entry.path().filename().string().find("damaged") != std::string::npos && findings.failure.empty())
      findings.failure = "the cache was found damaged during the run: " + entry.path().string();
  return findings;
}

TEST(ViewerRandomInput, SeededRunOverEveryScreenWithServerFaults) {
  const int seconds = EnvNumber("BRANTEL_SOAK_SECONDS", 35);
  const char* seed_text = std::getenv("BRANTEL_SOAK_SEED");
  const uint64_t seed = seed_text && *seed_text ? std::strtoull(seed_text, nullptr, 10) : 5;
  // Sanitizer builds run several times slower: they get three seconds where
  // the plain build gets one; BRANTEL_SOAK_SLACK_MS sets it.
  const SessionFindings findings = RunRandomSession(seed, seconds, EnvNumber("BRANTEL_SOAK_SLACK_MS", kSlackMs));
  EXPECT_EQ(findings.failure, "");
  EXPECT_GE(findings.viewer_starts, 1);
  for (const char* screen : {"CMyPageDlg", "CMarketInfoDlg", "CSearchDlg"})
    EXPECT_EQ(findings.screens_seen.count(screen), 1u) << screen << " was never shown";
  std::string seen;
  for (const std::string& screen : findings.screens_seen) seen += " " + screen;
  std::printf("random input: %d s, seed %llu, %d viewer starts, %d clean ends by the script, %d server switches; screens:%s\n",
              seconds, static_cast<unsigned long long>(seed), findings.viewer_starts, findings.clean_ends,
              findings.fault_switches, seen.c_str());
}

}  // namespace
}  // namespace brantel
