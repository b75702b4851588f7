// The work object over a sample release in temporary folders, served by a
// loopback server and by nginx: install, edits, hand-over key, restarts,
// cancel, failures, and the rules for closing programs.

#include "updater/update_work.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "platform/folders.h"
#include "tests/support/temp_folder.h"
#include "tests/support/file_server.h"
#include "tests/updater/nginx_server.h"
#include "tests/updater/recording_services.h"
#include "tests/updater/reference_server.h"
#include "updater/sha256.h"
#include "updater/updater_registry.h"

namespace brantel {
namespace {

using testing::ReadFile;
using testing::RecordingServices;
using testing::TempFolder;
using testing::WriteFile;

constexpr uint32_t kHelperCloseMessage = 0x800A;

WideText ReadValue(RegRoot root, const std::string& path, const std::string& name) {
  return ReadRegistryText(root, path, name, 1024);
}

uint32_t ReadNumber(RegRoot root, const std::string& path, const std::string& name) {
  const std::optional<RegValue> v = ReadRegistryValue(root, path, name);
  if (!v || v->data.size() != 4) return 0xFFFFFFFF;
  return uint32_t(uint8_t(v->data[0])) | uint32_t(uint8_t(v->data[1])) << 8 | uint32_t(uint8_t(v->data[2])) << 16 |
         uint32_t(uint8_t(v->data[3])) << 24;
}

std::string Entry(const std::string& name, const std::string& url, const std::string& local,
                  const std::string& info = "", const std::string& kill = "") {
  return "<update_file name=\"" + name + "\"><file_Info real_name=\"" + name + "\" down_url=\"" + url +
         "\" local_path=\"" + local + "\" file_version=\"2\" " + info + "/><process_kill " + kill +
         "/></update_file>";
}

// Folders of one test: the viewer's folder, the data folder (registry and
// manifest copy) and the server's files.
class UpdateWorkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("BRANTEL_HOME", (dir_ / "data").c_str(), 1);
    viewer_ = dir_ / "viewer/";
    www_ = dir_ / "www";
    WriteFile(viewer_ + "BrantelStock", "viewer v1");
    WriteFile(viewer_ + "StockUpdater", "updater v1");
  }
  void TearDown() override { unsetenv("BRANTEL_HOME"); }

  // Publishes the sample release below www/update/ and returns the manifest
  // address on the server at `base`.
  std::string PublishSampleRelease(const std::string& base) {
    WriteFile(www_ + "/update/BrantelStock", "viewer v2");
    WriteFile(www_ + "/update/master.bin", std::string(100000, 'm'));
    WriteFile(www_ + "/update/settings.reg",
              "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\BRANTEL\\BrantelStock]\r\n\"Server\"=\"demo\"\r\n");
    WriteFile(www_ + "/update/StockUpdater", "updater v2");
    WriteFile(www_ + "/update/setup.sh", "#!/bin/sh\nexit 0\n");
    const std::string digest = Sha256OfBytes(std::string(100000, 'm'));
    std::string doc =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><update><head client_type=\"WM\" update_date=\"2026120800\" "
        "update_option=\"/k\" kill_process=\"\"/><body>" +
        Entry("BrantelStock", base + "/update/BrantelStock", "\\TARGET-DIRECTORY\\BrantelStock", "",
              "is_kill=\"Y\" wnd_class=\"Helper_Class\" wnd_name=\"NULL_NAME\" close_msg=\"32778\" "
              "exec_path=\"\\TARGET-DIRECTORY\\BrantelStock\" exec_parameter=\"\"") +
        Entry("master", base + "/update/master.bin", "\\TARGET-DIRECTORY\\data\\master.bin",
              "file_size=\"100,000\" sha256=\"" + digest + "\"") +
        Entry("settings.reg", base + "/update/settings.reg", "", "is_reg_file=\"Y\"") +
        Entry("StockUpdater", base + "/update/StockUpdater", "\\TARGET-DIRECTORY\\StockUpdater",
              "is_self_update=\"Y\"") +
        Entry("setup", base + "/update/setup.sh", "\\TARGET-DIRECTORY\\setup.sh",
              "is_setup_file=\"Y\" is_auto_register=\"Y\"") +
        "<reg_edit reg_edit_type=\"1\" hKey=\"2\" key=\"SOFTWARE\\BRANTEL\\BrantelStock\" value_name=\"Interval\" "
        "value_type=\"4\" value=\"30\" update_date=\"2026120800\"/>"
        "<file_edit file_edit_type=\"3\" path_1=\"\\TARGET-DIRECTORY\\data\\master.bin\" "
        "path_2=\"\\TARGET-DIRECTORY\\data\\master.copy\" update_date=\"\"/>"
        "</body></update>";
    WriteFile(www_ + "/update/q_stock_update.xml", doc);
    return base + "/update/q_stock_update.xml";
  }

  UpdateWorkSetup Setup(const std::string& manifest_address) {
    UpdateWorkSetup s;
    s.manifest_address = Widen(manifest_address);
    s.local_manifest = DataFolder() + "q_stock_update.xml";
    s.viewer_dir = viewer_;
    s.stored_upgrade_date = ReadStoredUpgradeDate();
    return s;
  }

  // Runs the sample release end to end and checks everything it leaves.
  void RunFullUpdate(const std::string& base) {
    const std::string manifest = PublishSampleRelease(base);
    const ProgramWindow helper = services_.AddWindow(u"Helper_Class", u"helper", kHelperCloseMessage);
    {
      CUpdateWork work(Setup(manifest), services_);
      services_.status = &work.status_text();
      ASSERT_EQ(work.CheckForUpdates(), 5);
      EXPECT_EQ(work.total_bytes(), 100000u);
      uint64_t last_received = 0;
      ASSERT_EQ(work.RunUpdate([&](const std::string&, uint64_t, uint64_t) { last_received = work.received_bytes(); }),
                1);
      uint64_t published = 0;
      for (const char* f : {"BrantelStock", "master.bin", "settings.reg", "StockUpdater", "setup.sh"})
        published += ReadFile(www_ + "/update/" + f).size();
      EXPECT_EQ(last_received, published);
      services_.status = nullptr;
    }
    // Files copied, folders created, the old viewer replaced.
    EXPECT_EQ(ReadFile(viewer_ + "BrantelStock"), "viewer v2");
    EXPECT_EQ(ReadFile(viewer_ + "data/master.bin"), std::string(100000, 'm'));
    EXPECT_EQ(ReadFile(viewer_ + "setup.sh"), "#!/bin/sh\nexit 0\n");
    EXPECT_TRUE(access((viewer_ + "setup.sh").c_str(), X_OK) == 0);  // a new script is a program
    // The self-update entry leaves the key and its temporary file; the
    // destination is untouched.
    EXPECT_EQ(ReadFile(viewer_ + "StockUpdater"), "updater v1");
    const std::string kept = viewer_ + "update_temp/StockUpdater.tmp";
    EXPECT_EQ(ReadFile(kept), "updater v2");
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Stock\\SelpUpgrade", "ExistFilePath"), Widen(kept));
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Stock\\SelpUpgrade", "NewFilePath"),
              Widen(viewer_ + "StockUpdater"));
    // The .reg script was imported, the registry and file edits applied.
    const std::optional<RegValue> server =
        ReadRegistryValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\BRANTEL\\BrantelStock", "Server");
    ASSERT_TRUE(server);
    EXPECT_EQ(server->type, REG_SZ);
    EXPECT_EQ(ReadNumber(HKEY_LOCAL_MACHINE, "SOFTWARE\\BRANTEL\\BrantelStock", "Interval"), 30u);
    EXPECT_EQ(ReadFile(viewer_ + "data/master.copy"), std::string(100000, 'm'));
    // Temporary files are gone except the self-update one.
    EXPECT_FALSE(FileExists(viewer_ + "update_temp/BrantelStock.tmp"));
    EXPECT_FALSE(FileExists(viewer_ + "update_temp/settings.reg.tmp"));
    EXPECT_FALSE(FileExists(viewer_ + "BrantelStock.updating"));
    // The helper was closed with its message and restarted with the marker;
    // the setup program started without command line and was registered.
    EXPECT_FALSE(services_.Alive(helper));
    ASSERT_EQ(services_.posted.size(), 1u);
    EXPECT_EQ(services_.posted[0].second, kHelperCloseMessage);
    ASSERT_EQ(services_.started.size(), 2u);
    EXPECT_EQ(services_.started[0], std::make_pair(viewer_ + "setup.sh", WideText()));
    EXPECT_EQ(services_.started[1], std::make_pair(viewer_ + "BrantelStock", WideText(kMarkerAutoUpdate)));
    EXPECT_EQ(services_.registered, std::vector<std::string>{viewer_ + "setup.sh"});
    // Stamp and manifest copy.
    EXPECT_EQ(ReadStoredUpgradeDate(), u"2026120800");
    EXPECT_EQ(ReadFile(DataFolder() + "q_stock_update.xml"), ReadFile(www_ + "/update/q_stock_update.xml"));
    EXPECT_FALSE(FileExists(viewer_ + "update_temp/update_tmp.xml.svr"));
    // Reports: install begins, progress 0..80 (the script is not counted), finished.
    std::vector<std::pair<intptr_t, intptr_t>> codes;
    for (const auto& r : services_.reports) codes.emplace_back(r.code, r.value);
    const std::vector<std::pair<intptr_t, intptr_t>> expected = {{1, 0}, {2, 0}, {2, 20}, {2, 40}, {2, 60}, {2, 80}, {100, 0}};
    EXPECT_EQ(codes, expected);
    EXPECT_EQ(services_.reports[5].status, u"파일 복사 : 4/5");

    // A second run finds nothing to do and changes nothing.
    RecordingServices again;
    CUpdateWork second(Setup(manifest), again);
    EXPECT_EQ(second.CheckForUpdates(), 0);
    second.FinishWithoutDownloads();
    EXPECT_TRUE(again.started.empty());
    EXPECT_FALSE(FileExists(viewer_ + "update_temp/update_tmp.xml.svr"));
  }

  TempFolder dir_;
  std::string viewer_;
  std::string www_;
  RecordingServices services_;
};

TEST_F(UpdateWorkTest, FullUpdateFromALoopbackServer) {
  testing::FileServer server(www_);
  RunFullUpdate(server.url(""));
}

TEST_F(UpdateWorkTest, FullUpdateFromTheReferenceServer) {
  WriteFile(www_ + "/.keep", "");
  testing::ReferenceServer server(www_);
  ASSERT_TRUE(server.started()) << server.why_not();
  RunFullUpdate(server.url(""));
}

TEST_F(UpdateWorkTest, FullUpdateFromNginx) {
  WriteFile(www_ + "/.keep", "");
  testing::NginxServer nginx(www_, dir_.path());
  if (!nginx.started()) GTEST_SKIP() << "nginx cannot be run here: " << nginx.why_not();
  RunFullUpdate(nginx.url(""));
}

TEST_F(UpdateWorkTest, CancelDuringADownloadRestartsClosedProgramsWithTheCancelMarker) {
  testing::FileServer server(www_);
  const std::string manifest = PublishSampleRelease(server.url(""));
  server.SetBlockDelay(2);
  services_.AddWindow(u"Helper_Class", u"helper", kHelperCloseMessage);
  CUpdateWork work(Setup(manifest), services_);
  ASSERT_EQ(work.CheckForUpdates(), 5);
  // "/k": the helper named by the first entry is closed first.
  work.CloseProgram(u"Helper_Class", u"NULL_NAME", kHelperCloseMessage, u"\\TARGET-DIRECTORY\\BrantelStock", u"");
  uint64_t seen = 0;
  services_.cancel_when = [&] { return seen > 20000; };
  EXPECT_EQ(work.RunUpdate([&](const std::string&, uint64_t written, uint64_t) { seen = written; }), 0);
  ASSERT_EQ(services_.reports.size(), 1u);
  EXPECT_EQ(services_.reports[0].code, kProgressCancelled);
  ASSERT_EQ(services_.started.size(), 1u);
  EXPECT_EQ(services_.started[0].second, u"UPDATE_USER_CANCEL");
  EXPECT_FALSE(FileExists(viewer_ + "update_temp/update_tmp.xml.svr"));
  EXPECT_EQ(ReadFile(viewer_ + "BrantelStock"), "viewer v1");
  EXPECT_EQ(ReadStoredUpgradeDate(), u"");
  EXPECT_TRUE(work.restart_list().empty());
}

TEST_F(UpdateWorkTest, AFileFailingFourTimesStopsTheInstallAndKeepsTheOldManifestCopy) {
  testing::FileServer server(www_);
  const std::string manifest = PublishSampleRelease(server.url(""));
  WriteFile(DataFolder() + "q_stock_update.xml", "<update><body/></update>");
  server.FailPath("/update/settings.reg");
  CUpdateWork work(Setup(manifest), services_);
  services_.status = &work.status_text();
  ASSERT_EQ(work.CheckForUpdates(), 5);
  EXPECT_EQ(work.RunUpdate(nullptr), 1);
  EXPECT_EQ(server.Requests("/update/settings.reg"), 4);
  EXPECT_EQ(server.Requests("/update/StockUpdater"), 1);  // later files are still fetched
  // Entries before the failed one are installed, the rest are not.
  EXPECT_EQ(ReadFile(viewer_ + "BrantelStock"), "viewer v2");
  EXPECT_FALSE(FileExists(viewer_ + "setup.sh"));
  EXPECT_EQ(services_.reports.back().code, kProgressInstallFailed);
  EXPECT_EQ(ReadFile(DataFolder() + "q_stock_update.xml"), "<update><body/></update>");
  EXPECT_FALSE(FileExists(viewer_ + "update_temp/update_tmp.xml.svr"));
  EXPECT_EQ(ReadStoredUpgradeDate(), u"");
  EXPECT_EQ(ReadNumber(HKEY_LOCAL_MACHINE, "SOFTWARE\\BRANTEL\\BrantelStock", "Interval"), 0xFFFFFFFFu);
}

TEST_F(UpdateWorkTest, AFileWhoseDigestDoesNotMatchCountsAsNotDownloaded) {
  testing::FileServer server(www_);
  const std::string manifest = PublishSampleRelease(server.url(""));
  WriteFile(www_ + "/update/master.bin", std::string(100000, 'x'));  // tampered
  CUpdateWork work(Setup(manifest), services_);
  ASSERT_EQ(work.CheckForUpdates(), 5);
  EXPECT_EQ(work.RunUpdate(nullptr), 1);
  EXPECT_EQ(server.Requests("/update/master.bin"), 4);
  EXPECT_EQ(services_.reports.back().code, kProgressInstallFailed);
  EXPECT_FALSE(FileExists(viewer_ + "data/master.bin"));
}

TEST_F(UpdateWorkTest, OnlyASelfUpdateEntryLeavesTheKeyAndTheTemporaryFile) {
  testing::FileServer server(www_);
  WriteFile(www_ + "/StockUpdater", "updater v2");
  WriteFile(www_ + "/m.xml", "<u><head update_date=\"5\"/><body>" +
                                 Entry("StockUpdater", server.url("/StockUpdater"), "\\TARGET-DIRECTORY\\StockUpdater",
                                       "is_self_update=\"Y\"") +
                                 "</body></u>");
  CUpdateWork work(Setup(server.url("/m.xml")), services_);
  ASSERT_EQ(work.CheckForUpdates(), 1);
  EXPECT_EQ(work.RunUpdate(nullptr), 1);
  EXPECT_EQ(ReadFile(viewer_ + "StockUpdater"), "updater v1");
  EXPECT_EQ(ReadFile(viewer_ + "update_temp/StockUpdater.tmp"), "updater v2");
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Stock\\SelpUpgrade", "NewFilePath"),
            Widen(viewer_ + "StockUpdater"));
  // Stored as the device stores text: two bytes a character, no terminator.
  const std::optional<RegValue> v = ReadRegistryValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Stock\\SelpUpgrade", "NewFilePath");
  ASSERT_TRUE(v);
  EXPECT_EQ(v->type, REG_MULTI_SZ);
  EXPECT_EQ(v->data.size(), 2 * (viewer_ + "StockUpdater").size());
}

TEST_F(UpdateWorkTest, EditsAreSkippedWhenTheStampIsAlreadyStored) {
  testing::FileServer server(www_);
  const std::string manifest = PublishSampleRelease(server.url(""));
  WriteUpgradeDate(u"2026120800");
  CUpdateWork work(Setup(manifest), services_);
  ASSERT_EQ(work.CheckForUpdates(), 5);
  EXPECT_EQ(work.RunUpdate(nullptr), 1);
  EXPECT_EQ(ReadFile(viewer_ + "BrantelStock"), "viewer v2");
  EXPECT_EQ(ReadNumber(HKEY_LOCAL_MACHINE, "SOFTWARE\\BRANTEL\\BrantelStock", "Interval"), 0xFFFFFFFFu);
  EXPECT_FALSE(FileExists(viewer_ + "data/master.copy"));
}

TEST_F(UpdateWorkTest, FinishWithoutDownloadsAppliesDueEditsAndKeepsTheManifestCopy) {
  testing::FileServer server(www_);
  WriteFile(viewer_ + "a.txt", "a");
  WriteFile(www_ + "/m.xml",
            "<u><head update_date=\"7\" update_option=\"/k\" kill_process=\"[cnt]1[/cnt][1]Helper_Class;NULL_NAME;0;"
            "\\TARGET-DIRECTORY\\helper;-r[/1]\"/><body>"
            "<reg_edit reg_edit_type=\"1\" hKey=\"1\" key=\"Software\\T\" value_name=\"s\" value_type=\"2\" "
            "value=\"multi\" process_kill=\"Y\"/>"
            "<reg_edit reg_edit_type=\"3\" hKey=\"1\" key=\"Software\\Missing\" value_name=\"s\" value=\"x\"/>"
            "<file_edit file_edit_type=\"2\" path_1=\"\\TARGET-DIRECTORY\\a.txt\" path_2=\"\\TARGET-DIRECTORY\\b.txt\"/>"
            "</body></u>");
  WriteFile(DataFolder() + "q_stock_update.xml", "<u><body/></u>");
  const ProgramWindow helper = services_.AddWindow(u"Helper_Class", u"h", 0);
  CUpdateWork work(Setup(server.url("/m.xml")), services_);
  ASSERT_EQ(work.CheckForUpdates(), 0);
  work.FinishWithoutDownloads();
  EXPECT_FALSE(services_.Alive(helper));
  EXPECT_EQ(services_.terminated.size(), 1u);  // close message 0: terminated
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, "Software\\T", "s"), u"multi");
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, "Software\\Missing", "s"), u"");
  EXPECT_FALSE(FileExists(viewer_ + "a.txt"));
  EXPECT_EQ(ReadFile(viewer_ + "b.txt"), "a");
  EXPECT_EQ(ReadStoredUpgradeDate(), u"7");
  ASSERT_EQ(services_.started.size(), 1u);
  EXPECT_EQ(services_.started[0], std::make_pair(viewer_ + "helper", WideText(u"-r")));
  EXPECT_EQ(ReadFile(DataFolder() + "q_stock_update.xml"), "<u><body/></u>");
  EXPECT_FALSE(FileExists(viewer_ + "update_temp/update_tmp.xml.svr"));
}

TEST_F(UpdateWorkTest, ClosingProgramsAndTheRestartList) {
  CUpdateWork work(Setup("http://127.0.0.1:9/none"), services_);
  // Any class and any title: nothing is looked for.
  work.CloseProgram(u"NULL_CLASS", u"NULL_NAME", 16, u"\\TARGET-DIRECTORY\\x", u"");
  EXPECT_EQ(services_.finds, 0);
  // A program that is not running gets no restart entry.
  work.CloseProgram(u"Absent", u"NULL_NAME", 16, u"\\TARGET-DIRECTORY\\x", u"");
  EXPECT_TRUE(work.restart_list().empty());
  // Two entries naming one restart path, in different case, restart it once.
  services_.AddWindow(u"A", u"one", 16);
  services_.AddWindow(u"B", u"two", 16);
  work.CloseProgram(u"A", u"NULL_NAME", 16, u"\\TARGET-DIRECTORY\\Prog", u"");
  work.CloseProgram(u"NULL_CLASS", u"two", 16, u"\\TARGET-DIRECTORY\\PROG", u"");
  ASSERT_EQ(work.restart_list().size(), 1u);
  EXPECT_EQ(work.restart_list()[0].path, viewer_ + "Prog");
  // A window that ignores its close message is asked 51 times, then given up.
  services_.AddWindow(u"Stubborn", u"s", 0);
  services_.finds = 0;
  work.CloseProgram(u"Stubborn", u"NULL_NAME", 16, u"", u"");
  EXPECT_EQ(services_.finds, 1 + kCloseProgramTries);
  // Without a restart path it is closed but never started.
  work.RestartWithCancelMarker();
  ASSERT_EQ(services_.started.size(), 1u);
  EXPECT_EQ(services_.started[0].first, viewer_ + "Prog");
  EXPECT_EQ(services_.started[0].second, u"UPDATE_USER_CANCEL");
}

}  // namespace
}  // namespace brantel
