// brantel-quote run as a user runs it, against the reference server.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "tests/tools/quote_server_harness.h"

namespace {

using quote_server_test::BinDir;
using quote_server_test::ServerProcess;

struct QuoteRun {
  int exit_code = -1;
  std::string out;
};

QuoteRun Quote(const std::string& args) {
  QuoteRun run;
  const std::string command = BinDir() + "/brantel-quote " + args + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
  const int status = pclose(pipe);
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

class BrantelQuote : public ::testing::Test {
 protected:
  void SetUp() override {
    struct stat st;
    if (stat((BinDir() + "/brantel-quote").c_str(), &st) != 0) GTEST_SKIP() << "brantel-quote is not built";
    char home[] = "/tmp/brantel_quote_tool_XXXXXX";
    ASSERT_NE(mkdtemp(home), nullptr);
    home_ = home;
    setenv("BRANTEL_HOME", home, 1);
  }
  void TearDown() override {
    if (!home_.empty()) std::system(("rm -rf '" + home_ + "'").c_str());
  }
  std::string Server(const ServerProcess& s) { return "--server 127.0.0.1:" + std::to_string(s.port()) + " "; }
  std::string home_;
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
  EXPECT_EQ(ranking.out.rfind("{\"category\": 6, \"sub_kind\": 2, \"server_date\": \"26/12/07 10:56", 0), 0u)
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

}  // namespace
