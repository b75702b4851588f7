// Windows of two processes: the test starts itself again as the other
// program; each finds the other's window by class and posts to it.

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "platform/process/published_windows.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/other_programs_link.h"
#include "tests/support/ui_test_support.h"
#include "tests/support/temp_folder.h"

extern char** environ;

namespace brantel {
namespace {

using testing::RecordingWindow;

constexpr uint32_t kHello = WM_APP + 1;
constexpr uint32_t kAnswer = WM_APP + 2;

// Pumps until `done` or the time is up.
bool PumpUntil(const std::function<bool()>& done, int ms) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    Message m;
    while (PeekMessage(&m, 0, 0, 0, PM_REMOVE)) DispatchMessage(&m);
    WaitMessage(10);
  }
  return true;
}

TEST(OtherPrograms, ChildSide) {
  if (!std::getenv("BRANTEL_UI_CHILD")) GTEST_SKIP() << "run by TwoProgramsFindAndPostToEachOther";
  ASSERT_TRUE(ConnectToOtherPrograms());
  RecordingWindow w;
  bool hello = false;
  w.on[kHello] = [&](WPARAM, LPARAM lp) {
    hello = lp == 1234;
    return LRESULT(0);
  };
  WindowParams p;
  p.class_name = u"Ui_Child_Class";
  p.text = u"child";
  p.rect = Rect{0, 0, 10, 10};
  ASSERT_TRUE(w.Create(p));
  ASSERT_TRUE(PumpUntil([&] { return hello; }, 10000));
  EXPECT_EQ(w.Count(WM_SETTEXT), 0);  // a pointer from another process is never taken
  EXPECT_EQ(w.text(), u"child");
  HWND parent = FindWindow(u"Ui_Parent_Class", u"");
  ASSERT_NE(parent, 0u);
  EXPECT_TRUE(PostMessage(parent, kAnswer, 99, 0));
  DisconnectFromOtherPrograms();
}

TEST(OtherPrograms, TwoProgramsFindAndPostToEachOther) {
  if (std::getenv("BRANTEL_UI_CHILD")) GTEST_SKIP();
  testing::TempDataFolder home("ui_other_programs");
  ASSERT_TRUE(ConnectToOtherPrograms());
  RecordingWindow me;
  WindowParams p;
  p.class_name = u"Ui_Parent_Class";
  p.rect = Rect{0, 0, 10, 10};
  ASSERT_TRUE(me.Create(p));
  auto own = FindPublishedWindow(u"Ui_Parent_Class", u"", true);
  ASSERT_TRUE(own.has_value());
  EXPECT_EQ(own->hwnd, me.hwnd());
  EXPECT_EQ(FindWindow(u"Ui_Child_Class", u""), 0u);

  char self[4096];
  ssize_t n = readlink("/proc/self/exe", self, sizeof(self) - 1);
  ASSERT_GT(n, 0);
  self[n] = 0;
  setenv("BRANTEL_UI_CHILD", "1", 1);
  std::string filter = "--gtest_filter=OtherPrograms.ChildSide";
  char* argv[] = {self, filter.data(), nullptr};
  pid_t child = 0;
  int rc = posix_spawn(&child, self, nullptr, nullptr, argv, environ);
  unsetenv("BRANTEL_UI_CHILD");
  ASSERT_EQ(rc, 0);

  HWND other = 0;
  EXPECT_TRUE(PumpUntil([&] { return (other = FindWindow(u"Ui_Child_Class", u"child")) != 0; }, 10000));
  if (other) {
    EXPECT_FALSE(IsLocalHandle(other));
    EXPECT_EQ(HandleProcessId(other), uint32_t(child));
    EXPECT_TRUE(PostMessage(other, WM_SETTEXT, 0, LPARAM(0xDEAD)));  // travels, then dropped there
    EXPECT_TRUE(PostMessage(other, kHello, 0, 1234));
    EXPECT_TRUE(PumpUntil([&] { return me.Count(kAnswer) == 1; }, 10000));
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  // The child's window is no longer found once it ended.
  EXPECT_EQ(FindWindow(u"Ui_Child_Class", u""), 0u);
  EXPECT_FALSE(PostMessage(other, kHello, 0, 0));
  DisconnectFromOtherPrograms();
  EXPECT_FALSE(FindPublishedWindow(u"Ui_Parent_Class", u"", true).has_value());
}

TEST(OtherPrograms, OnlyMessagesWithoutPointersAreTakenFromOutside) {
  for (uint32_t m : {WM_NULL, WM_CLOSE, WM_COMMAND, WM_USER, WM_APP + 0x320})
    EXPECT_TRUE(AcceptsMessageFromOtherProcess(m)) << m;
  for (uint32_t m : {WM_SETTEXT, WM_GETTEXT, WM_CREATE, WM_PAINT, WM_TIMER, WM_QUIT, WM_DESTROY})
    EXPECT_FALSE(AcceptsMessageFromOtherProcess(m)) << m;
}

}  // namespace
}  // namespace brantel
