// Two brantel-quote-server instances reading one folder of exchange files,
// behind nginx (an upstream of both, as README shows), serve one market:
// brantel-quote pointed at nginx sees the same answers as from one server,
// and both servers take requests.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "tests/support/run_command.h"
#include "tests/support/temp_folder.h"
#include "tests/tools/nginx_process.h"
#include "tests/tools/quote_server_harness.h"

using namespace quote_server_test;
namespace fs = std::filesystem;

namespace {

std::string Quote(int port, const std::string& args) {
  const auto run = brantel::testing::RunCommand(BinDir() + "/brantel-quote --server 127.0.0.1:" + std::to_string(port) +
                                                " " + args);
  // Lists print the viewer's cache first; what the server said follows.
  const size_t fresh = run.output.find("from the server");
  return "exit " + std::to_string(run.exit_code) + "\n" + run.output.substr(fresh == std::string::npos ? 0 : fresh);
}

TEST(QuoteServerBehindNginx, TwoInstancesServeOneMarket) {
  struct stat st;
  if (stat((BinDir() + "/brantel-quote").c_str(), &st) != 0) GTEST_SKIP() << "brantel-quote is not built";
  if (access(brantel::testing::kNginxBinary, X_OK) != 0) GTEST_SKIP() << "nginx is not installed";
  brantel::testing::TempDataFolder home("quote_nginx_home");
  brantel::testing::TempFolder market("quote_nginx_market");
  for (const auto& f : fs::directory_iterator(std::string(BRANTEL_TEST_DATA_DIR) + "/market"))
    fs::copy_file(f.path(), fs::path(market.path()) / f.path().filename());

  ServerProcess first({"--market-data", market.path(), "--log"});
  ServerProcess second({"--market-data", market.path(), "--log"});
  ASSERT_GT(first.port(), 0) << first.why_not();
  ASSERT_GT(second.port(), 0) << second.why_not();
  brantel::testing::NginxProcess nginx(
      "  upstream brantel_quote {\n"
      "    server 127.0.0.1:" + std::to_string(first.port()) + ";\n"
      "    server 127.0.0.1:" + std::to_string(second.port()) + ";\n"
      "  }\n"
      "  server {\n"
      "    listen 127.0.0.1:@PORT@;\n"
      "    location / { proxy_pass http://brantel_quote; }\n"
      "  }\n");
  ASSERT_TRUE(nginx.started()) << nginx.why_not();

  for (const char* args : {"--json detail 005930", "list ranking value", "list indices", "master"}) {
    const std::string direct = Quote(first.port(), args);
    EXPECT_EQ(direct.rfind("exit 0\n", 0), 0u) << direct;
    // Round robin: two asks through nginx reach both servers.
    EXPECT_EQ(Quote(nginx.port(), args), direct) << args;
    EXPECT_EQ(Quote(nginx.port(), args), direct) << args;
  }
  const auto served = [](const ServerProcess& s) {
    const std::string log = s.Log();
    size_t n = 0;
    for (size_t at = log.find("POST"); at != std::string::npos; at = log.find("POST", at + 1)) ++n;
    return n;
  };
  EXPECT_GE(served(first), 4u + 2u);  // its own direct asks and some through nginx
  EXPECT_GE(served(second), 2u);
}

}  // namespace
