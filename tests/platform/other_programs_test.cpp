#include "platform/process/other_programs.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/folders.h"
#include "tests/support/registry_test_support.h"

namespace brantel {
namespace {

using namespace std::chrono_literals;

constexpr uint32_t kUpdaterClose = 0x8320;
constexpr uint32_t kAppExit = 0x800A;

// Posts that reached this process, for the test to wait on.
class Inbox {
 public:
  void Put(const RemotePost& p) {
    std::lock_guard lock(mutex_);
    posts_.push_back(p);
    cv_.notify_all();
  }
  std::optional<RemotePost> Take(uint32_t message, std::chrono::milliseconds within) {
    std::unique_lock lock(mutex_);
    std::optional<RemotePost> found;
    cv_.wait_for(lock, within, [&] {
      for (auto it = posts_.begin(); it != posts_.end(); ++it) {
        if (it->message == message) {
          found = *it;
          posts_.erase(it);
          return true;
        }
      }
      return false;
    });
    return found;
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  std::deque<RemotePost> posts_;
};

WindowHandle OwnHandle(uint32_t serial) { return (uint64_t(uint32_t(getpid())) << 32) | serial; }

std::optional<PublishedWindow> WaitForWindow(WideView class_name, std::chrono::milliseconds within) {
  const auto until = std::chrono::steady_clock::now() + within;
  while (std::chrono::steady_clock::now() < until) {
    if (auto w = FindPublishedWindow(class_name, u"")) return w;
    std::this_thread::sleep_for(20ms);
  }
  return std::nullopt;
}

StartedProgram StartHelper(const char* test_name) {
  return StartProgram("/proc/self/exe", std::string("--gtest_filter=OtherProgramsHelper.") + test_name, false);
}

// --- The second process's side (run only when started by a test below) ---

TEST(OtherProgramsHelper, Viewer) {
  if (!std::getenv("BRANTEL_PEER_ROLE")) GTEST_SKIP() << "runs only as the second process";
  Inbox inbox;
  ASSERT_TRUE(StartPostEndpoint([&](const RemotePost& p) { inbox.Put(p); }));
  const WindowHandle own = OwnHandle(7);
  ASSERT_TRUE(PublishWindow(own, u"Brantel_Stock_Class", u"증권정보 NUV"));
  auto updater = WaitForWindow(u"__BRANTEL_STOCK_UPDATE_WM__", 10s);
  ASSERT_TRUE(updater);
  ASSERT_TRUE(PostToProcess(updater->hwnd, kUpdaterClose, 11, -22));
  auto exit = inbox.Take(kAppExit, 10s);
  ASSERT_TRUE(exit);
  EXPECT_EQ(exit->hwnd, own);
  UnpublishWindow(own);
  StopPostEndpoint();
}

TEST(OtherProgramsHelper, Stubborn) {
  if (!std::getenv("BRANTEL_PEER_ROLE")) GTEST_SKIP() << "runs only as the second process";
  signal(SIGTERM, SIG_IGN);
  ASSERT_TRUE(PublishWindow(OwnHandle(1), u"Stubborn", u""));
  std::this_thread::sleep_for(60s);
}

// --- Tests ---

class OtherProgramsTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("BRANTEL_PEER_ROLE", "peer", 1); }
  void TearDown() override {
    StopPostEndpoint();
    unsetenv("BRANTEL_PEER_ROLE");
  }
  testing::TempDataFolder folder_;
};

TEST_F(OtherProgramsTest, TwoProcessesFindEachOtherByClassAndExchangePosts) {
  Inbox inbox;
  ASSERT_TRUE(StartPostEndpoint([&](const RemotePost& p) { inbox.Put(p); }));
  const WindowHandle updater = OwnHandle(1);
  ASSERT_TRUE(PublishWindow(updater, u"__BRANTEL_STOCK_UPDATE_WM__", u""));

  const StartedProgram viewer = StartHelper("Viewer");
  ASSERT_TRUE(viewer.started);
  auto close = inbox.Take(kUpdaterClose, 15s);
  ASSERT_TRUE(close);
  EXPECT_EQ(close->hwnd, updater);
  EXPECT_EQ(close->wparam, 11u);
  EXPECT_EQ(close->lparam, -22);

  auto found = FindPublishedWindow(u"Brantel_Stock_Class", u"");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->pid, viewer.pid);
  EXPECT_EQ(WindowHandleProcessId(found->hwnd), viewer.pid);
  EXPECT_EQ(found->title, u"증권정보 NUV");
  EXPECT_TRUE(FindPublishedWindow(u"", u"증권정보 NUV"));
  EXPECT_FALSE(FindPublishedWindow(u"Brantel_Stock_Class", u"other title"));
  // Our own windows are found only when asked for.
  EXPECT_FALSE(FindPublishedWindow(u"__BRANTEL_STOCK_UPDATE_WM__", u""));
  EXPECT_TRUE(FindPublishedWindow(u"__BRANTEL_STOCK_UPDATE_WM__", u"", true));

  ASSERT_TRUE(PostToProcess(found->hwnd, kAppExit, 0, 0));
  int code = -1;
  ASSERT_TRUE(WaitForProgram(viewer.pid, 15000, &code));
  EXPECT_EQ(code, 0);
  EXPECT_FALSE(FindPublishedWindow(u"Brantel_Stock_Class", u""));
  EXPECT_FALSE(PostToProcess(found->hwnd, kAppExit, 0, 0));  // nobody listens any more
}

TEST_F(OtherProgramsTest, TerminateEscalatesAndTheDeadProcessIsForgotten) {
  const StartedProgram stubborn = StartHelper("Stubborn");
  ASSERT_TRUE(stubborn.started);
  auto w = WaitForWindow(u"Stubborn", 10s);
  ASSERT_TRUE(w);
  ASSERT_EQ(w->pid, stubborn.pid);

  const auto begin = std::chrono::steady_clock::now();
  EXPECT_TRUE(TerminateWindowProcess(w->hwnd, 300));
  EXPECT_GE(std::chrono::steady_clock::now() - begin, 300ms);  // SIGTERM was ignored
  int code = 0;
  ASSERT_TRUE(WaitForProgram(stubborn.pid, 5000, &code));
  EXPECT_EQ(code, 128 + SIGKILL);

  // Its entry is still on disk, but a lookup skips and removes it.
  EXPECT_FALSE(FindPublishedWindow(u"Stubborn", u""));
  EXPECT_TRUE(PublishedWindows().empty());
  EXPECT_FALSE(TerminateProgram(getpid()));
}

TEST_F(OtherProgramsTest, EntriesOfAReusedProcessIdAreIgnored) {
  // Process 1 runs, but it is not the process that wrote this entry.
  const std::string stale = RunFolder() + "window-1-00000001.entry";
  // Its start time differs from the real one, whatever that is.
  const uint64_t other_start = ProcessStartTime(1).value_or(0) + 1;
  ASSERT_TRUE(WriteFileAtomically(stale, "hwnd=4294967297\npid=1\nstart=" + std::to_string(other_start) +
                                             "\nclass=Brantel_Stock_Class\ntitle=\n"));
  ASSERT_TRUE(WriteFileAtomically(RunFolder() + "window-junk.entry", std::string(100, '\x01')));
  EXPECT_FALSE(FindPublishedWindow(u"Brantel_Stock_Class", u"", true));
  EXPECT_FALSE(FileExists(stale));

  // Titles with line breaks and percent signs come back as they were.
  ASSERT_TRUE(PublishWindow(OwnHandle(3), u"Class", u"100%\nsure"));
  auto own = FindPublishedWindow(u"Class", u"", true);
  ASSERT_TRUE(own);
  EXPECT_EQ(own->title, u"100%\nsure");
  UnpublishWindow(OwnHandle(3));
  EXPECT_FALSE(FindPublishedWindow(u"Class", u"", true));
}

TEST_F(OtherProgramsTest, StartsFromTheProgramFolderWithTheCommandLineAsOneArgument) {
  const std::string folder = folder_.path() + "/program/";
  ASSERT_TRUE(CreateFoldersAlong(folder));
  const std::string script = folder + "StockUpdater";
  ASSERT_TRUE(WriteFileAtomically(script, "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" > \"$0.out\"\nexit 3\n"));
  chmod(script.c_str(), 0755);
  SetProgramFolderForTesting(folder);

  EXPECT_EQ(ProgramPathInFolder(u"StockUpdater.exe"), script);
  StartedProgram run = StartProgramFromFolder(u"StockUpdater.exe", u"/opt/brantel/ |http://h:8470/u/ x.xml", true);
  ASSERT_TRUE(run.started);
  EXPECT_EQ(run.exit_code, 3);
  std::string out;
  ASSERT_TRUE(ReadWholeFile(script + ".out", out));
  EXPECT_EQ(out, "1\n/opt/brantel/ |http://h:8470/u/ x.xml\n");

  run = StartProgramFromFolder(u"StockUpdater", u"", false);
  ASSERT_TRUE(run.started);
  int code = 0;
  ASSERT_TRUE(WaitForProgram(run.pid, 5000, &code));
  EXPECT_EQ(code, 3);
  ASSERT_TRUE(ReadWholeFile(script + ".out", out));
  EXPECT_EQ(out, "0\n\n");  // an empty command line gives no argument

  EXPECT_FALSE(StartProgramFromFolder(u"Missing.exe", u"", true).started);
  SetProgramFolderForTesting("");
}

}  // namespace
}  // namespace brantel
