// brantel-quote's cache-backed commands as a user runs them, against the
// reference server: search, MyPage add and list, and the cache when the
// server is gone.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "tests/support/quote_server_process.h"
#include "tests/support/run_command.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

using ToolRun = testing::CommandRun;

std::string ToolPath() {
  return testing::BinDir() + "/brantel-quote";
}

ToolRun RunTool(const std::string& args) {
  return testing::RunCommand(ToolPath() + " " + args);
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(QuoteToolTest, SearchMyPageAndTheCacheWithoutServer) {
  if (access(ToolPath().c_str(), X_OK) != 0) GTEST_SKIP() << "brantel-quote is not built";
  testing::TempDataFolder home;
  testing::QuoteServerProcess server;
  ASSERT_TRUE(server.started()) << server.why_not();
  const std::string at = "--server 127.0.0.1:" + std::to_string(server.port()) + " ";

  ToolRun search = RunTool(at + "search 삼성");
  EXPECT_EQ(search.exit_code, 0) << search.output;
  EXPECT_TRUE(Contains(search.output, "005930  삼성전자")) << search.output;
  EXPECT_FALSE(Contains(search.output, "★")) << search.output;

  ToolRun add = RunTool(at + "mypage add 005930");
  EXPECT_EQ(add.exit_code, 0) << add.output;
  EXPECT_TRUE(Contains(add.output, "added 005930 삼성전자")) << add.output;
  EXPECT_TRUE(Contains(RunTool(at + "mypage add 005930").output, "already on MyPage"));
  EXPECT_TRUE(Contains(RunTool(at + "search 005930").output, "★  005930"));

  ToolRun list = RunTool(at + "mypage list");
  EXPECT_EQ(list.exit_code, 0) << list.output;
  const size_t cached = list.output.find("cached (stored ");
  const size_t fresh = list.output.find("from the server (");
  ASSERT_NE(cached, std::string::npos) << list.output;
  ASSERT_NE(fresh, std::string::npos) << list.output;
  EXPECT_LT(cached, fresh);  // the cached rows come first
  EXPECT_NE(list.output.find("005930", cached), std::string::npos);
  EXPECT_NE(list.output.find("005930", fresh), std::string::npos);

  server.Stop();
  ToolRun offline_server = RunTool(at + "mypage list");
  EXPECT_EQ(offline_server.exit_code, 3) << offline_server.output;
  EXPECT_TRUE(Contains(offline_server.output, "005930  삼성전자")) << offline_server.output;
  EXPECT_TRUE(Contains(offline_server.output, "the server cannot be reached: the rows above are the cached ones, stored"))
      << offline_server.output;
  ToolRun offline = RunTool(at + "mypage list --offline");
  EXPECT_EQ(offline.exit_code, 0) << offline.output;
  EXPECT_TRUE(Contains(offline.output, "005930")) << offline.output;
  // The stored master list still serves the search.
  ToolRun stored_search = RunTool(at + "search 삼성");
  EXPECT_EQ(stored_search.exit_code, 0) << stored_search.output;
  EXPECT_TRUE(Contains(stored_search.output, "★  005930  삼성전자")) << stored_search.output;

  EXPECT_TRUE(Contains(RunTool(at + "mypage remove 005930").output, "removed 005930"));
  EXPECT_TRUE(Contains(RunTool(at + "mypage list --offline").output, "(no rows)"));
  EXPECT_EQ(RunTool(at + "mypage frobnicate").exit_code, 2);
}

TEST(QuoteToolTest, FreshDeviceWithoutServerSaysSo) {
  if (access(ToolPath().c_str(), X_OK) != 0) GTEST_SKIP() << "brantel-quote is not built";
  testing::TempDataFolder home;
  ToolRun search = RunTool("--server 127.0.0.1:1 search 삼성");
  EXPECT_EQ(search.exit_code, 3) << search.output;
  EXPECT_TRUE(Contains(search.output, "no server answered and no list is stored")) << search.output;
  ToolRun offline = RunTool("--server 127.0.0.1:1 search 삼성 --offline");
  EXPECT_EQ(offline.exit_code, 1) << offline.output;
}

}  // namespace
}  // namespace brantel
