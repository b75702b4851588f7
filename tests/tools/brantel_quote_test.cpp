// brantel-quote run as a user runs it, against the reference server.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/run_command.h"
#include "tests/support/temp_folder.h"
#include "tests/tools/quote_server_harness.h"

extern char** environ;

namespace {

using quote_server_test::BinDir;
using quote_server_test::ServerProcess;

struct QuoteRun {
  int exit_code = -1;
  std::string out;
};

QuoteRun Quote(const std::string& args) {
  brantel::testing::CommandRun run = brantel::testing::RunCommand(BinDir() + "/brantel-quote " + args);
  return QuoteRun{run.exit_code, std::move(run.output)};
}

class BrantelQuote : public ::testing::Test {
 protected:
  void SetUp() override {
    struct stat st;
    if (stat((BinDir() + "/brantel-quote").c_str(), &st) != 0) GTEST_SKIP() << "brantel-quote is not built";
  }
  std::string Server(const ServerProcess& s) { return "--server 127.0.0.1:" + std::to_string(s.port()) + " "; }
  brantel::testing::TempDataFolder data_folder_{"brantel_quote_tool"};
  const std::string home_ = data_folder_.path();
};

TEST_F(BrantelQuote, ListsDetailAndMaster) {
  ServerProcess server({"--fixed-clock", "2026-12-07 10:56"});
  ASSERT_GT(server.port(), 0);
  QuoteRun indices = Quote(Server(server) + "list indices");
  EXPECT_EQ(indices.exit_code, 0) << indices.out;
  EXPECT_NE(indices.out.find("[국내지수]"), std::string::npos);
  EXPECT_NE(indices.out.find("[Europe/Middle East/Africa]"), std::string::npos);

  QuoteRun ranking = Quote(Server(server) + "--json list ranking cap");
  EXPECT_EQ(ranking.exit_code, 0) << ranking.out;
  EXPECT_EQ(ranking.out.rfind("{\"category\": 6, \"sub_kind\": 2, \"cached\": {\"stamp\": \"\", \"rows\": [\n]}, "
                              "\"fresh\": {\"server_date\": \"26/12/07 10:56",
                              0),
            0u)
      << ranking.out.substr(0, 200);

  const std::string charts = home_ + "/charts";
  QuoteRun detail = Quote(Server(server) + "detail 005930 --period 4 --charts " + charts);
  EXPECT_EQ(detail.exit_code, 0) << detail.out;
  EXPECT_NE(detail.out.find("(005930)"), std::string::npos);
  EXPECT_NE(detail.out.find("52주 최고"), std::string::npos);
  struct stat st;
  EXPECT_EQ(stat((charts + "/chart_small_005930_4.png").c_str(), &st), 0) << detail.out;
  EXPECT_EQ(stat((charts + "/chart_large_005930_4.png").c_str(), &st), 0);

  QuoteRun master = Quote(Server(server) + "master");
  EXPECT_EQ(master.exit_code, 0);
  EXPECT_NE(master.out.find("KOSDAQ"), std::string::npos);
}

TEST_F(BrantelQuote, ExitCodesTellWhatWentWrong) {
  EXPECT_EQ(Quote("").exit_code, 2);
  EXPECT_EQ(Quote("--server 127.0.0.1:1 frobnicate").exit_code, 2);
  EXPECT_EQ(Quote("--server 127.0.0.1:notaport list indices").exit_code, 2);
  EXPECT_EQ(Quote("--server 127.0.0.1:1 list shoes").exit_code, 2);
  EXPECT_EQ(Quote("--server 127.0.0.1:1 detail").exit_code, 2);

  // Port 1 on the loopback: nothing listens there.
  QuoteRun none = Quote("--server 127.0.0.1:1 list indices");
  EXPECT_EQ(none.exit_code, 3);
  EXPECT_NE(none.out.find("no information server"), std::string::npos);

  ServerProcess refusing({"--result-code", "0"});
  EXPECT_EQ(Quote(Server(refusing) + "list rates").exit_code, 4);
  ServerProcess missing({"--status", "404"});
  EXPECT_EQ(Quote(Server(missing) + "list rates").exit_code, 4);
  ServerProcess garbage({"--garbage"});
  EXPECT_EQ(Quote(Server(garbage) + "list rates").exit_code, 5);
}

// Lists: the first run stores the server's rows; later runs show them first,
// and alone (with their stamp) when the server is gone.
TEST_F(BrantelQuote, ListRowsAreCachedAndShownWithoutTheServer) {
  std::string server_address;
  {
    ServerProcess server({"--fixed-clock", "2026-12-07 10:56"});
    ASSERT_GT(server.port(), 0);
    server_address = Server(server);
    QuoteRun first = Quote(server_address + "list indices");
    EXPECT_EQ(first.exit_code, 0) << first.out;
    EXPECT_NE(first.out.find("cached (stored never):\n  (no rows)\nfrom the server (26/12/07 10:56:00):"),
              std::string::npos)
        << first.out.substr(0, 300);

    // Each ranking kind keeps its own order.
    EXPECT_EQ(Quote(server_address + "list ranking cap").exit_code, 0);
    EXPECT_EQ(Quote(server_address + "list ranking value").exit_code, 0);

    QuoteRun second = Quote(server_address + "--json list ranking cap");
    EXPECT_EQ(second.exit_code, 0) << second.out;
    const size_t cached = second.out.find("\"cached\": {\"stamp\": \"26/12/07 10:56:00\", \"rows\": [");
    const size_t fresh = second.out.find("\"fresh\": {\"server_date\": \"26/12/07 10:56:00\", \"rows\": [");
    ASSERT_NE(cached, std::string::npos) << second.out.substr(0, 300);
    ASSERT_NE(fresh, std::string::npos);
    EXPECT_LT(cached, fresh);
    EXPECT_NE(second.out.find("\"code\": \"005930\"", cached), std::string::npos);
    EXPECT_LT(second.out.find("\"code\": \"005930\"", cached), fresh);
  }

  // The server has stopped: the cached rows, the note with their stamp, and
  // the tool's exit code for an unreachable server.
  QuoteRun gone = Quote(server_address + "list indices");
  EXPECT_EQ(gone.exit_code, 3) << gone.out;
  const size_t kospi = gone.out.find("KOSPI ");
  const size_t note =
      gone.out.find("the server cannot be reached: the rows above are the cached ones, stored 26/12/07 10:56:00");
  ASSERT_NE(kospi, std::string::npos) << gone.out;
  ASSERT_NE(note, std::string::npos) << gone.out;
  EXPECT_LT(kospi, note);
  EXPECT_EQ(gone.out.find("from the server"), std::string::npos);
  EXPECT_NE(gone.out.find("no information server"), std::string::npos);

  // Ranking order from the rank table: cap and value differ in second place.
  QuoteRun cap = Quote(server_address + "list ranking cap");
  QuoteRun value = Quote(server_address + "list ranking value");
  EXPECT_EQ(cap.exit_code, 3);
  EXPECT_LT(cap.out.find("\n005930 "), cap.out.find("\n000660 ")) << cap.out.substr(0, 400);
  EXPECT_LT(value.out.find("\n005930 "), value.out.find("\n373220 ")) << value.out.substr(0, 400);
  EXPECT_LT(value.out.find("\n373220 "), value.out.find("\n000660 "));
  // Nothing stored for the volume ranking.
  EXPECT_EQ(Quote(server_address + "list ranking volume").out.find("\n005930 "), std::string::npos);
}

TEST_F(BrantelQuote, OfflineListReadsOnlyTheCache) {
  ServerProcess server({"--fixed-clock", "2026-12-07 10:56", "--log"});
  ASSERT_GT(server.port(), 0);

  // Nothing cached yet: said so, and not an error.
  QuoteRun empty = Quote(Server(server) + "list fx --offline");
  EXPECT_EQ(empty.exit_code, 0) << empty.out;
  EXPECT_NE(empty.out.find("nothing is cached for this list yet"), std::string::npos) << empty.out;
  QuoteRun empty_json = Quote(Server(server) + "--json list rates --offline");
  EXPECT_EQ(empty_json.exit_code, 0);
  EXPECT_EQ(empty_json.out, "{\"category\": 4, \"sub_kind\": 0, \"cached\": {\"stamp\": \"\", \"rows\": [\n]}}\n");
  EXPECT_EQ(server.Log().find("POST"), std::string::npos) << server.Log();

  EXPECT_EQ(Quote(Server(server) + "list rates").exit_code, 0);
  const size_t requests = server.Log().size();
  ASSERT_GT(requests, 0u);
  QuoteRun cached = Quote(Server(server) + "list rates --offline");
  EXPECT_EQ(cached.exit_code, 0) << cached.out;
  EXPECT_EQ(cached.out.rfind("cached (stored 26/12/07 10:56:00):\n", 0), 0u) << cached.out;
  EXPECT_EQ(cached.out.find("from the server"), std::string::npos);
  EXPECT_EQ(server.Log().size(), requests) << server.Log();
}

// A ranking save killed at any moment leaves the kind's old rows or its new
// ones, never none.
TEST_F(BrantelQuote, RankingSaveKilledAtRandomKeepsRows) {
  ServerProcess server;
  ASSERT_GT(server.port(), 0);
  const std::string address = "127.0.0.1:" + std::to_string(server.port());
  ASSERT_EQ(Quote(Server(server) + "list ranking volume").exit_code, 0);
  auto cached_codes = [&] {
    const std::string out = Quote(Server(server) + "--json list ranking volume --offline").out;
    size_t count = 0;
    for (size_t at = out.find("\"code\""); at != std::string::npos; at = out.find("\"code\"", at + 1)) ++count;
    return count;
  };
  const size_t full = cached_codes();
  ASSERT_GT(full, 0u);

  const std::string tool = BinDir() + "/brantel-quote";
  std::vector<std::string> args = {tool, "--server", address, "list", "ranking", "volume"};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);

  // One whole run sets the range the kills are spread over.
  auto start = std::chrono::steady_clock::now();
  pid_t pid = -1;
  ASSERT_EQ(posix_spawn(&pid, tool.c_str(), &quiet, nullptr, argv.data(), environ), 0);
  int status = 0;
  waitpid(pid, &status, 0);
  const auto run_us = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
  std::mt19937 random(20261207);
  std::uniform_int_distribution<long> moment(0, std::max<long>(run_us.count(), 1000));
  int killed = 0;
  for (int i = 0; i < 30; ++i) {
    ASSERT_EQ(posix_spawn(&pid, tool.c_str(), &quiet, nullptr, argv.data(), environ), 0);
    std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
    if (kill(pid, SIGKILL) == 0) ++killed;
    waitpid(pid, &status, 0);
    EXPECT_EQ(cached_codes(), full) << "after kill " << i;
  }
  posix_spawn_file_actions_destroy(&quiet);
  EXPECT_GT(killed, 0);
}

// The watch list shares the cached-rows printing and the stamp note.
TEST_F(BrantelQuote, MyPageListShowsCachedRowsWhenTheServerIsGone) {
  std::string server_address;
  {
    ServerProcess server({"--fixed-clock", "2026-12-07 10:56"});
    ASSERT_GT(server.port(), 0);
    server_address = Server(server);
    QuoteRun add = Quote(server_address + "mypage add 005930");
    ASSERT_EQ(add.exit_code, 0) << add.out;
    QuoteRun list = Quote(server_address + "mypage list");
    EXPECT_EQ(list.exit_code, 0) << list.out;
    EXPECT_LT(list.out.find("cached (stored "), list.out.find("from the server (26/12/07 10:56:00):")) << list.out;
  }
  QuoteRun gone = Quote(server_address + "mypage list");
  EXPECT_EQ(gone.exit_code, 3) << gone.out;
  EXPECT_LT(gone.out.find("005930"), gone.out.find("the server cannot be reached: the rows above are the cached ones"))
      << gone.out;
  QuoteRun offline = Quote(server_address + "--json mypage list --offline");
  EXPECT_EQ(offline.exit_code, 0);
  EXPECT_EQ(offline.out.rfind("{\"cached\": {\"stamp\": \"", 0), 0u) << offline.out;
  EXPECT_NE(offline.out.find("\"code\": \"005930\", \"group\": "), std::string::npos) << offline.out;
}

}  // namespace
