// Where a release may write: only into the viewer's folder and the data
// folder, never through a symbolic link, and never a file pieced together
// from two versions on the server; which programs it may close and start
// again: only those of the viewer's folder.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>

#include "platform/folders.h"
#include "tests/support/temp_folder.h"
#include "tests/support/file_server.h"
#include "tests/updater/recording_services.h"
#include "updater/update_work.h"
#include "updater/updater_registry.h"

namespace brantel {
namespace {

using testing::ReadFile;
using testing::RecordingServices;
using testing::TempFolder;
using testing::WriteFile;

class UpdateDestinationRule : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("BRANTEL_HOME", data_.c_str(), 1);
    WriteFile(viewer_ + "BrantelStock", "viewer v1");
    WriteFile(outside_ + "victim.txt", "precious");
  }
  void TearDown() override { unsetenv("BRANTEL_HOME"); }

  // An update_file entry fetching /<name> into `local`.
  std::string Entry(const std::string& name, const std::string& local, const std::string& info = "") {
    WriteFile(dir_ / ("www/" + name), "new " + name);
    return "<update_file name=\"" + name + "\"><file_Info down_url=\"" + server_.url("/" + name) +
           "\" local_path=\"" + local + "\" file_version=\"1\" " + info + "/></update_file>";
  }
  std::string Publish(const std::string& body) {
    WriteFile(dir_ / "www/m.xml", "<u><head update_date=\"9\"/><body>" + body + "</body></u>");
    return server_.url("/m.xml");
  }
  UpdateWorkSetup Setup(const std::string& manifest) {
    UpdateWorkSetup s;
    s.manifest_address = Widen(manifest);
    s.local_manifest = data_ + "/q_stock_update.xml";
    s.viewer_dir = viewer_;
    return s;
  }
  // Checks, downloads and installs; returns the number of files that were due.
  int Run(const std::string& manifest, RecordingServices& services, CUpdateWork*& out) {
    work_ = std::make_unique<CUpdateWork>(Setup(manifest), services);
    out = work_.get();
    const int due = work_->CheckForUpdates();
    if (due > 0) work_->RunUpdate(nullptr);
    return due;
  }
  // The run stopped at `name` as a failed file and applied nothing after it.
  void ExpectFailedAt(const CUpdateWork& work, const RecordingServices& services, const std::string& name) {
    EXPECT_TRUE(work.failed());
    ASSERT_FALSE(services.reports.empty());
    EXPECT_EQ(services.reports.back().code, kProgressInstallFailed);
    EXPECT_EQ(work.current_name(), Widen(name));
    EXPECT_FALSE(FileExists(data_ + "/q_stock_update.xml"));
    EXPECT_EQ(ReadStoredUpgradeDate(), u"");
    EXPECT_EQ(ReadFile(outside_ + "victim.txt"), "precious");
  }

  TempFolder dir_;
  std::string viewer_ = dir_ / "viewer/";
  std::string data_ = dir_ / "data";
  std::string outside_ = dir_ / "outside/";
  testing::FileServer server_{dir_ / "www"};
  std::unique_ptr<CUpdateWork> work_;
  int server_port_ = 0;
};

TEST_F(UpdateDestinationRule, AFileOutsideBothFoldersFailsTheRunAndIsNeverFetched) {
  const std::string refused[] = {
      outside_ + "victim.txt",                               // any other folder, as given
      "\\TARGET-DIRECTORY\\..\\outside\\victim.txt",         // climbing out of the viewer's folder
      "\\TARGET-DIRECTORY\\sub\\..\\..\\outside\\victim.txt",
      "victim.txt",                                          // relative to wherever the updater runs
      "",                                                    // no destination at all
  };
  for (const std::string& local : refused) {
    SCOPED_TRACE(local);
    RecordingServices services;
    CUpdateWork* work = nullptr;
    const std::string manifest =
        Publish(Entry("inside.txt", "\\TARGET-DIRECTORY\\inside.txt") +
                Entry("data.txt", data_ + "/sub/./data.txt") + Entry("evil.txt", local) +
                Entry("after.txt", "\\TARGET-DIRECTORY\\after.txt"));
    ASSERT_EQ(Run(manifest, services, work), 4);
    // Files before it are in place, in either folder; it and those after are not.
    EXPECT_EQ(ReadFile(viewer_ + "inside.txt"), "new inside.txt");
    EXPECT_EQ(ReadFile(data_ + "/sub/data.txt"), "new data.txt");
    EXPECT_FALSE(FileExists(viewer_ + "after.txt"));
    EXPECT_EQ(server_.Requests("/evil.txt"), 0);
    ExpectFailedAt(*work, services, "evil.txt");
    std::filesystem::remove(viewer_ + "inside.txt");
  }
}

TEST_F(UpdateDestinationRule, EditsAndTheHandOverKeyStayInsideToo) {
  WriteFile(viewer_ + "a.txt", "a");
  RecordingServices services;
  CUpdateWork* work = nullptr;
  const std::string edits =
      "<file_edit file_edit_type=\"3\" path_1=\"\\TARGET-DIRECTORY\\a.txt\" path_2=\"" + outside_ + "copy.txt\"/>"
      "<file_edit file_edit_type=\"1\" path_1=\"" + outside_ + "victim.txt\"/>"
      "<file_edit file_edit_type=\"2\" path_1=\"" + outside_ + "victim.txt\" path_2=\"\\TARGET-DIRECTORY\\v.txt\"/>"
      "<file_edit file_edit_type=\"3\" path_1=\"\\TARGET-DIRECTORY\\a.txt\" path_2=\"\\TARGET-DIRECTORY\\..\\esc.txt\"/>"
      "<file_edit file_edit_type=\"3\" path_1=\"\\TARGET-DIRECTORY\\a.txt\" path_2=\"" + data_ + "/b.txt\"/>";
  EXPECT_EQ(Run(Publish(edits), services, work), 0);
  work->FinishWithoutDownloads();
  EXPECT_FALSE(FileExists(outside_ + "copy.txt"));
  EXPECT_FALSE(FileExists(viewer_ + "v.txt"));
  EXPECT_FALSE(FileExists(dir_ / "esc.txt"));
  EXPECT_EQ(ReadFile(outside_ + "victim.txt"), "precious");
  EXPECT_EQ(ReadFile(data_ + "/b.txt"), "a");  // the edit inside still ran
  EXPECT_TRUE(work->failed());
  EXPECT_EQ(work->current_name(), Widen(outside_ + "copy.txt"));  // the first refused
  EXPECT_EQ(ReadStoredUpgradeDate(), u"");  // so the release is offered again

  // The file the viewer will replace at its next start is a destination too,
  // and only one in the viewer's folder, where the viewer puts it in place.
  for (const std::string& target : {outside_ + "victim.txt", data_ + "/StockUpdater"}) {
    SCOPED_TRACE(target);
    RecordingServices again;
    ASSERT_EQ(Run(Publish(Entry("StockUpdater", target, "is_self_update=\"Y\"")), again, work), 1);
    ExpectFailedAt(*work, again, "StockUpdater");
    EXPECT_EQ(ReadRegistryText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Stock\\SelpUpgrade", "NewFilePath", 1024), u"");
  }
}

TEST_F(UpdateDestinationRule, ALinkInsideTheViewersFolderDoesNotLeadOut) {
  std::filesystem::create_directory_symlink(outside_, viewer_ + "link");
  // A planted temporary sibling and a planted download file, both links out.
  WriteFile(outside_ + "staging.txt", "precious");
  WriteFile(outside_ + "download.txt", "precious");
  std::filesystem::create_symlink(outside_ + "staging.txt", viewer_ + "app.txt.updating");
  WriteFile(viewer_ + "update_temp/.keep", "");
  std::filesystem::create_symlink(outside_ + "download.txt", viewer_ + "update_temp/fetched.txt.tmp");
  RecordingServices services;
  CUpdateWork* work = nullptr;
  const std::string manifest = Publish(Entry("app.txt", "\\TARGET-DIRECTORY\\app.txt") +
                                       Entry("fetched.txt", "\\TARGET-DIRECTORY\\fetched.txt") +
                                       Entry("via.txt", "\\TARGET-DIRECTORY\\link\\..\\via.txt") +
                                       Entry("evil.txt", "\\TARGET-DIRECTORY\\link\\victim.txt"));
  ASSERT_EQ(Run(manifest, services, work), 4);
  EXPECT_EQ(ReadFile(viewer_ + "app.txt"), "new app.txt");
  EXPECT_EQ(ReadFile(viewer_ + "fetched.txt"), "new fetched.txt");
  EXPECT_EQ(ReadFile(outside_ + "staging.txt"), "precious");
  EXPECT_EQ(ReadFile(outside_ + "download.txt"), "precious");
  // "link\.." is the viewer's folder itself, not the link's parent.
  EXPECT_EQ(ReadFile(viewer_ + "via.txt"), "new via.txt");
  EXPECT_FALSE(FileExists(dir_ / "via.txt"));
  ExpectFailedAt(*work, services, "evil.txt");

  // The working folder itself replaced by a link: the downloads stay inside.
  std::filesystem::remove_all(viewer_ + "update_temp");
  std::filesystem::create_directory_symlink(outside_, viewer_ + "update_temp");
  RecordingServices again;
  ASSERT_EQ(Run(Publish(Entry("next.txt", "\\TARGET-DIRECTORY\\next.txt")), again, work), 1);
  EXPECT_FALSE(work->failed());
  EXPECT_EQ(ReadFile(viewer_ + "next.txt"), "new next.txt");
  EXPECT_FALSE(std::filesystem::is_symlink(viewer_ + "update_temp"));
  EXPECT_FALSE(FileExists(outside_ + "update_tmp.xml.svr"));
}

TEST_F(UpdateDestinationRule, OnlyProgramsOfTheViewersFolderAreClosedAndStartedAgain) {
  std::filesystem::create_directory_symlink(outside_, viewer_ + "link");
  WriteFile(outside_ + "tool", "#!/bin/sh\n");
  std::filesystem::create_symlink(outside_ + "tool", viewer_ + "tool");
  WriteFile(data_ + "/tool", "#!/bin/sh\n");
  const std::string refused[] = {
      "/bin/sh",                                // any program, as given
      "\\TARGET-DIRECTORY\\..\\outside\\tool",  // climbing out of the viewer's folder
      "\\TARGET-DIRECTORY\\link\\tool",         // through a folder link
      "\\TARGET-DIRECTORY\\tool",               // the program's own name a link out
      data_ + "/tool",                          // the data folder holds no programs
      "tool",                                   // relative to wherever the updater runs
  };
  for (const std::string& exec : refused) {
    SCOPED_TRACE(exec);
    RecordingServices services;
    const ProgramWindow running = services.AddWindow(u"Brantel_Stock_Class", u"", 32778);
    CUpdateWork work(Setup("http://127.0.0.1:9/none"), services);
    work.CloseProgram(u"Brantel_Stock_Class", u"NULL_NAME", 32778, Widen(exec), u"-c 'touch /tmp/owned'");
    work.RestartWithCancelMarker();
    EXPECT_TRUE(services.Alive(running));
    EXPECT_TRUE(services.posted.empty());
    EXPECT_TRUE(services.started.empty());
    EXPECT_TRUE(work.failed());
  }

  // Through a release: the viewer is closed and started again as always, the
  // other program is left alone, the files are installed, and the run fails.
  RecordingServices services;
  const ProgramWindow viewer = services.AddWindow(u"Brantel_Stock_Class", u"", 32778);
  const ProgramWindow other = services.AddWindow(u"Other_Class", u"", 32778);
  const std::string body = Entry("BrantelStock", "\\TARGET-DIRECTORY\\BrantelStock");
  WriteFile(dir_ / "www/m.xml",
            "<u><head update_date=\"9\" update_option=\"/k\" kill_process=\"[cnt]2[/cnt]"
            "[1]Brantel_Stock_Class;NULL_NAME;32778;\\TARGET-DIRECTORY\\BrantelStock;[/1]"
            "[2]Other_Class;NULL_NAME;32778;/bin/sh;-c x[/2]\"/><body>" + body + "</body></u>");
  CUpdateWork* work = nullptr;
  work_ = std::make_unique<CUpdateWork>(Setup(server_.url("/m.xml")), services);
  work = work_.get();
  ASSERT_EQ(work->CheckForUpdates(), 1);
  work->CloseListedPrograms();
  work->RunUpdate(nullptr);
  EXPECT_FALSE(services.Alive(viewer));
  EXPECT_TRUE(services.Alive(other));
  EXPECT_EQ(ReadFile(viewer_ + "BrantelStock"), "new BrantelStock");
  ASSERT_EQ(services.started.size(), 1u);
  EXPECT_EQ(services.started[0], std::make_pair(viewer_ + "BrantelStock", WideText(kMarkerAutoUpdate)));
  EXPECT_TRUE(work->failed());

  // What the path names is checked again at the start: a link that took the
  // program's place since it was closed is not started.
  RecordingServices later;
  later.AddWindow(u"Helper_Class", u"", 16);
  CUpdateWork again(Setup("http://127.0.0.1:9/none"), later);
  again.CloseProgram(u"Helper_Class", u"NULL_NAME", 16, u"\\TARGET-DIRECTORY\\helper", u"");
  EXPECT_FALSE(again.failed());
  std::filesystem::create_symlink(outside_ + "tool", viewer_ + "helper");
  again.RestartWithCancelMarker();
  EXPECT_TRUE(later.started.empty());
  EXPECT_TRUE(again.failed());
}

TEST_F(UpdateDestinationRule, AFileThatChangesBetweenAttemptsIsFetchedWholeAgain) {
  // The first answer breaks off half way through the old file; the second
  // offers the rest of the new one (a resume nobody asked for); the third is
  // the new file whole.
  const std::string old_file(200000, 'o'), new_file(200000, 'n');
  int attempt = 0;
  testing_support::LoopbackServer server([&](int fd, const std::string& request) {
    if (request.find("/m.xml") != std::string::npos) {
      testing_support::SendText(
          fd, testing_support::FileAnswer("<u><head update_date=\"9\"/><body><update_file name=\"f\"><file_Info "
                                          "down_url=\"http://127.0.0.1:" + std::to_string(server_port_) +
                                          "/f\" local_path=\"\\TARGET-DIRECTORY\\f.bin\"/></update_file></body></u>"));
      return;
    }
    ++attempt;
    if (attempt == 1) {
      testing_support::SendText(fd, "HTTP/1.1 200 OK\r\nContent-Length: 200000\r\n\r\n" + old_file.substr(0, 100000));
    } else if (attempt == 2) {
      testing_support::SendText(fd, "HTTP/1.1 206 Partial Content\r\nContent-Range: bytes 100000-199999/200000\r\n"
                                    "Content-Length: 100000\r\n\r\n" + new_file.substr(100000));
    } else {
      testing_support::SendText(fd, testing_support::FileAnswer(new_file));
    }
  });
  server_port_ = server.port();
  RecordingServices services;
  CUpdateWork* work = nullptr;
  ASSERT_EQ(Run(server.url("/m.xml"), services, work), 1);
  EXPECT_EQ(attempt, 3);
  EXPECT_FALSE(work->failed());
  EXPECT_TRUE(ReadFile(viewer_ + "f.bin") == new_file) << "installed " << ReadFile(viewer_ + "f.bin").size() << " bytes";
  for (const std::string& request : server.requests()) EXPECT_EQ(request.find("Range:"), std::string::npos);
}

}  // namespace
}  // namespace brantel
