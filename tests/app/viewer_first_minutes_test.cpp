// What a new user meets in the first minutes: the real program started where
// there is no display, the window's size on a small display, and the empty
// watch list of a first start.

#include <gtest/gtest.h>

#include <filesystem>

#include <string>

#include "platform/registry/registry_store.h"
#include "platform/ui/window_fit.h"
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

TEST(ViewerFirstMinutes, TheWindowFitsASmallDisplayAndKeepsTheSizeTheUserChose) {
  const Size screen{480, 800};
  // A 1366 x 768 laptop with a 32-pixel panel: the largest scale that fits.
  const double laptop = FitWindowScale(screen, Size{1366, 736}, 1.0, 40);
  EXPECT_NEAR(laptop, 696.0 / 800, 1e-9);
  EXPECT_LE(800 * laptop + 40, 736);
  EXPECT_DOUBLE_EQ(FitWindowScale(screen, Size{1920, 1050}, 1.0, 40), 1.0);  // fits: as it is
  EXPECT_DOUBLE_EQ(FitWindowScale(screen, Size{1920, 1050}, 1.5, 40), (1050.0 - 40) / 800);
  EXPECT_DOUBLE_EQ(FitWindowScale(screen, Size{300, 200}, 1.0, 40), 0.25);  // never unusably small
  EXPECT_DOUBLE_EQ(FitWindowScale(screen, Size{0, 0}, 0.8, 40), 0.8);      // unknown display

  testing::TempDataFolder home("brantel-window-fit");
  EXPECT_FALSE(RememberedWindowScale());
  ASSERT_TRUE(RememberWindowScale(0.75));
  ASSERT_TRUE(RememberedWindowScale());
  EXPECT_DOUBLE_EQ(*RememberedWindowScale(), 0.75);
  // A damaged value is not a size.
  auto store = RegistryStore::Shared();
  RegKeyId key;
  ASSERT_EQ(store->CreateKey(HKEY_CURRENT_USER, kDisplaySettingsKey, &key), ERROR_SUCCESS);
  ASSERT_EQ(store->SetValue(key, kWindowScaleValue, REG_DWORD, std::string("\x01\0\0\0", 4)), ERROR_SUCCESS);
  EXPECT_FALSE(RememberedWindowScale());
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

  // A cache that cannot be opened is no empty watch list: a box says so, and
  // the hint stays away.
  std::filesystem::remove_all(viewer.data_folder() + "/qelstockdb");
  std::filesystem::create_directory(viewer.data_folder() + "/qelstockdb");
  viewer.SetScript("wait 2500\nidle\n" + viewer.DumpStep() + "quit\n");
  ASSERT_FALSE(viewer.Run(30000).timed_out) << viewer.Log();
  const std::string unusable = viewer.Dumps().back();
  EXPECT_NE(Line(unusable, "Brantel_Stock_Class").find(" disabled"), std::string::npos) << unusable;
  EXPECT_EQ(Line(unusable, "    EmptyListHint").find(" visible"), std::string::npos) << unusable;
}

}  // namespace
}  // namespace brantel
