// Installing files: a kill -9 of the updater in the middle of the install
// leaves every target either old or new, and the file-level rules of the
// atomic install and the digest check.

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "platform/folders.h"
#include "tests/support/temp_folder.h"
#include "tests/support/file_server.h"
#include "tests/updater/recording_services.h"
#include "updater/file_install.h"
#include "updater/sha256.h"
#include "updater/update_work.h"

namespace brantel {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

constexpr int kFiles = 24;

std::string OldContent(int i) { return "old " + std::to_string(i); }
std::string NewContent(int i) { return std::string(512 * 1024, char('A' + i % 26)); }

TEST(InstallInterrupt, KillNineDuringTheInstallLeavesEveryTargetOldOrNew) {
  for (int delay_ms : {0, 3, 10, 25, 60}) {
    TempFolder dir;
    setenv("BRANTEL_HOME", (dir / "data").c_str(), 1);
    const std::string viewer = dir / "viewer/";
    std::string body;
    testing::FileServer server(dir / "www");
    for (int i = 0; i < kFiles; ++i) {
      const std::string name = std::string("f").append(std::to_string(i));
      WriteFile(viewer + name, OldContent(i));
      WriteFile(dir / ("www/" + name), NewContent(i));
      body += "<update_file name=\"" + name + "\"><file_Info down_url=\"" + server.url("/" + name) +
              "\" local_path=\"\\TARGET-DIRECTORY\\" + name + "\" file_version=\"1\"/></update_file>";
    }
    WriteFile(dir / "www/m.xml", "<u><head update_date=\"1\"/><body>" + body + "</body></u>");

    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // The updater: tells the parent when the install begins, then installs.
      close(ready[0]);
      testing::RecordingServices services;
      services.on_report = [&](intptr_t code, intptr_t) {
        if (code == kProgressInstallBegins) (void)!write(ready[1], "x", 1);
      };
      UpdateWorkSetup setup;
      setup.manifest_address = Widen(server.url("/m.xml"));
      setup.local_manifest = dir / "data/q_stock_update.xml";
      setup.viewer_dir = viewer;
      CUpdateWork work(setup, services);
      if (work.CheckForUpdates() == kFiles) work.RunUpdate(nullptr);
      _exit(0);
    }
    close(ready[1]);
    char c;
    ASSERT_EQ(read(ready[0], &c, 1), 1) << "the install never began";
    close(ready[0]);
    usleep(useconds_t(delay_ms) * 1000);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);

    int replaced = 0;
    for (int i = 0; i < kFiles; ++i) {
      const std::string got = ReadFile(viewer + "f" + std::to_string(i));
      const bool is_old = got == OldContent(i), is_new = got == NewContent(i);
      EXPECT_TRUE(is_old || is_new) << "f" << i << " after " << delay_ms << " ms has " << got.size() << " bytes";
      replaced += is_new;
    }
    // The manifest copy changes only after the last file.
    if (replaced < kFiles) {
      EXPECT_FALSE(FileExists(dir / "data/q_stock_update.xml"));
    }
    std::printf("killed after %d ms: %d of %d targets new\n", delay_ms, replaced, kFiles);
    unsetenv("BRANTEL_HOME");
  }
}

TEST(InstallInterrupt, AtomicInstallKeepsModesAndNeverReplacesAFolder) {
  TempFolder dir;
  WriteFile(dir / "src", "new");
  WriteFile(dir / "prog", "old");
  chmod((dir / "prog").c_str(), 0750);
  ASSERT_TRUE(InstallFileAtomically(dir / "src", dir / "prog"));
  struct stat st {};
  stat((dir / "prog").c_str(), &st);
  EXPECT_EQ(st.st_mode & 07777, 0750u);
  EXPECT_EQ(ReadFile(dir / "prog"), "new");
  EXPECT_FALSE(FileExists(InstallStagingPath(dir / "prog")));

  // A new plain file is not executable; missing folders are made.
  ASSERT_TRUE(InstallFileAtomically(dir / "src", dir / "a/b/plain"));
  stat((dir / "a/b/plain").c_str(), &st);
  EXPECT_EQ(st.st_mode & 0111, 0u);

  // A folder in the target's place, or a missing source, changes nothing.
  std::filesystem::create_directories(dir / "folder");
  EXPECT_FALSE(InstallFileAtomically(dir / "src", dir / "folder"));
  EXPECT_TRUE(DirectoryExists(dir / "folder"));
  EXPECT_FALSE(InstallFileAtomically(dir / "missing", dir / "prog"));
  EXPECT_EQ(ReadFile(dir / "prog"), "new");
  EXPECT_FALSE(FileExists(InstallStagingPath(dir / "prog")));
}

TEST(InstallInterrupt, Sha256OfKnownTexts) {
  EXPECT_EQ(Sha256OfBytes(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Sha256OfBytes("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  const std::string million(1000000, 'a');
  EXPECT_EQ(Sha256OfBytes(million), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
  TempFolder dir;
  WriteFile(dir / "m", million);
  EXPECT_EQ(Sha256OfFile(dir / "m"), Sha256OfBytes(million));
  EXPECT_EQ(Sha256OfFile(dir / "none"), "");
}

}  // namespace
}  // namespace brantel
