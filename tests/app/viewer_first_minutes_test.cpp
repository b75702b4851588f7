// What a new user meets in the first minutes, with the real program: started
// where there is no display, and the empty watch list of a first start.

#include <gtest/gtest.h>

#include <string>

#include "tests/support/run_command.h"
#include "tests/support/temp_folder.h"
#include "tests/support/viewer_process.h"

namespace brantel {
namespace {

using testing::QuoteServerProcess;
using testing::ViewerProcess;
using testing::ViewerRun;

// The line of a window in a dump ("" when absent).
std::string Line(const std::string& dump, const std::string& start) {
  const size_t at = dump.find(start);
  if (at == std::string::npos) return "";
  return dump.substr(at, dump.find('\n', at) - at);
}

TEST(ViewerFirstMinutes, WithoutADisplayItSaysHowToRunHeadlessAndEnds) {
  testing::TempDataFolder home("brantel-first-minutes");
  const std::string program = testing::BinDir() + "/BrantelStock";
  const std::string bare = "env -u DISPLAY -u WAYLAND_DISPLAY -u BRANTEL_DISPLAY BRANTEL_HOME=" + home.path() +
                           " timeout 10 " + program;
  const testing::CommandRun alone = testing::RunCommand(bare);
  EXPECT_NE(alone.exit_code, 0);
  EXPECT_NE(alone.exit_code, 124) << "still running when the time ran out";
  EXPECT_NE(alone.output.find("no display found"), std::string::npos) << alone.output;
  EXPECT_NE(alone.output.find("--headless --script FILE"), std::string::npos) << alone.output;
  EXPECT_EQ(alone.output.find('\n'), alone.output.size() - 1) << "one line: " << alone.output;

  // Asked for, headless without a script runs as before (until the timeout ends it).
  const testing::CommandRun asked = testing::RunCommand(
      "env -u DISPLAY -u WAYLAND_DISPLAY BRANTEL_HOME=" + home.path() + " timeout 2 " + program + " --headless");
  EXPECT_EQ(asked.exit_code, 124) << asked.output;
}

TEST(ViewerFirstMinutes, AnEmptyMyPageSaysHowToAddEntriesUntilOneIsStarred) {
  QuoteServerProcess server;
  ASSERT_TRUE(server.started()) << server.why_not();
  ViewerProcess viewer;
  viewer.PointAt(server.port());
  const std::string settle = "wait 300\nidle\n";
  viewer.SetScript("wait 2500\nidle\ntap 240 703\n" + settle + "screenshot " + viewer.File("empty.png") + "\n" +
                   viewer.DumpStep() +
                   // The market tab, the star of the ranking list's first row, back to MyPage.
                   "tap 240 96\n" + settle + "wait 1000\nidle\ntap 455 259\n" + settle + "tap 85 96\n" + settle +
                   "wait 1000\nidle\nscreenshot " + viewer.File("one.png") + "\n" + viewer.DumpStep() + "quit\n");
  const ViewerRun run = viewer.Run(30000);
  ASSERT_FALSE(run.timed_out) << viewer.Log();
  const auto dumps = viewer.Dumps();
  ASSERT_EQ(dumps.size(), 2u);
  const std::string empty = Line(dumps[0], "    EmptyListHint");
  EXPECT_NE(empty.find(" visible"), std::string::npos) << dumps[0];
  EXPECT_NE(empty.find("별을 선택해 등록하세요"), std::string::npos) << empty;
  EXPECT_EQ(Line(dumps[1], "    EmptyListHint").find(" visible"), std::string::npos) << dumps[1];
}

}  // namespace
}  // namespace brantel
