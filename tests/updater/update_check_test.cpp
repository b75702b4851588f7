// The check for updates against a loopback server: download attempts, the
// local copy, and the selection of files and edits.

#include "updater/update_check.h"

#include <gtest/gtest.h>

#include "platform/folders.h"
#include "tests/support/temp_folder.h"
#include "tests/support/loopback_http_server.h"

namespace brantel {
namespace {

using testing_support::FileAnswer;
using testing_support::LoopbackServer;
using testing_support::SendText;
using testing::TempFolder;

std::string Entry(const std::string& name, int version, const std::string& local, const std::string& extra = "") {
  return "<update_file name=\"" + name + "\"><file_Info down_url=\"http://127.0.0.1/" + name +
         "\" local_path=\"" + local + "\" file_version=\"" + std::to_string(version) + "\" file_size=\"1,000\" " +
         extra + "/></update_file>";
}

std::string Doc(const std::string& head, const std::string& body) {
  return "<update><head " + head + "/><body>" + body + "</body></update>";
}

class UpdateCheck : public ::testing::Test {
 protected:
  UpdateCheck()
      : server_([this](int fd, const std::string&) {
          ++requests_;
          if (failures_left_ > 0) {
            --failures_left_;
            SendText(fd, "HTTP/1.1 503 Busy\r\nContent-Length: 0\r\n\r\n");
          } else {
            SendText(fd, FileAnswer(manifest_));
          }
        }) {
    setup_.manifest_address = Widen(server_.url("/update/q_stock_update.xml"));
    setup_.downloaded_manifest = dir_ / "viewer/update_temp/update_tmp.xml.svr";
    setup_.local_manifest = dir_ / "data/q_stock_update.xml";
    setup_.viewer_dir = dir_ / "viewer/";
    testing::WriteFile(dir_ / "viewer/update_temp/.keep", "");
    testing::WriteFile(dir_ / "data/.keep", "");
  }

  int Check() { return CheckForUpdates(setup_, plan_); }

  TempFolder dir_;
  std::string manifest_;
  int failures_left_ = 0;
  int requests_ = 0;
  LoopbackServer server_;
  UpdateCheckSetup setup_;
  UpdatePlan plan_;
};

TEST_F(UpdateCheck, FirstRunTakesEveryEntryAndTheHeadValues) {
  manifest_ = Doc(R"(update_date="2026120701" update_option="/Q/k" kill_process="[cnt]0[/cnt]"
                     alert="[title]알림[/title][message]업데이트합니다[/message]")",
                  Entry("a", 1, "\\TARGET-DIRECTORY\\a") + Entry("b", 1, "\\TARGET-DIRECTORY\\sub\\b"));
  testing::WriteFile(dir_ / "viewer/a", "present");
  ASSERT_EQ(Check(), 2);
  EXPECT_EQ(plan_.files[0].local_path, Widen(dir_ / "viewer/a"));
  EXPECT_EQ(plan_.files[1].local_path, Widen(dir_ / "viewer/sub/b"));
  EXPECT_EQ(plan_.total_size, 2000u);
  EXPECT_EQ(plan_.options, u"/q/k");
  EXPECT_EQ(plan_.update_date, u"2026120701");
  EXPECT_EQ(plan_.kill_process, u"[cnt]0[/cnt]");
  EXPECT_EQ(plan_.alert.title, u"알림");
  EXPECT_EQ(plan_.alert.message, u"업데이트합니다");
  EXPECT_EQ(testing::ReadFile(setup_.downloaded_manifest), manifest_);
}

TEST_F(UpdateCheck, ComparesVersionsAndPresenceWithTheLocalCopy) {
  testing::WriteFile(setup_.local_manifest,
                     Doc("", Entry("same-present", 2, "\\TARGET-DIRECTORY\\p") +
                                 Entry("same-missing", 2, "\\TARGET-DIRECTORY\\m") +
                                 Entry("older", 1, "\\TARGET-DIRECTORY\\p") +
                                 Entry("newer", 5, "\\TARGET-DIRECTORY\\m") +
                                 Entry("script", 1, "", "is_reg_file=\"Y\"")));
  testing::WriteFile(dir_ / "viewer/p", "present");
  manifest_ = Doc("", Entry("same-present", 2, "\\TARGET-DIRECTORY\\p") +
                          Entry("same-missing", 2, "\\TARGET-DIRECTORY\\m") +
                          Entry("older", 2, "\\TARGET-DIRECTORY\\p") + Entry("newer", 4, "\\TARGET-DIRECTORY\\p") +
                          Entry("script", 1, "") + Entry("new", 1, "\\TARGET-DIRECTORY\\p"));
  ASSERT_EQ(Check(), 3);
  EXPECT_EQ(plan_.files[0].name, u"same-missing");
  EXPECT_EQ(plan_.files[1].name, u"older");
  EXPECT_EQ(plan_.files[2].name, u"new");
  EXPECT_EQ(plan_.total_size, 3000u);
}

TEST_F(UpdateCheck, SelectsEditsByTheirStampAgainstTheStoredOne) {
  manifest_ = Doc("update_date=\"2026120800\"",
                  R"(<reg_edit key="equal" update_date="2026120700"/>
                     <reg_edit key="newer" update_date="2026120701" process_kill="N"/>
                     <reg_edit key="undated" update_date=""/>
                     <file_edit path_1="older" update_date="2026010100" process_kill="Y"/>
                     <file_edit path_1="newer" update_date="2026120799" process_kill="Y"/>)" +
                      Entry("a", 1, "\\TARGET-DIRECTORY\\a"));
  setup_.stored_upgrade_date = u"2026120700";
  ASSERT_EQ(Check(), 1);
  ASSERT_EQ(plan_.reg_edits.size(), 2u);
  EXPECT_EQ(plan_.reg_edits[0].key, u"newer");
  EXPECT_EQ(plan_.reg_edits[1].key, u"undated");
  ASSERT_EQ(plan_.file_edits.size(), 1u);
  EXPECT_EQ(plan_.file_edits[0].path_1, u"newer");
  EXPECT_TRUE(plan_.must_close_programs);

  // Without a stored stamp every edit is due.
  setup_.stored_upgrade_date.clear();
  std::remove(setup_.local_manifest.c_str());
  Check();
  EXPECT_EQ(plan_.reg_edits.size(), 3u);
  EXPECT_EQ(plan_.file_edits.size(), 2u);
}

TEST_F(UpdateCheck, SixAttemptsThenNothingToDo) {
  manifest_ = Doc("", Entry("a", 1, "\\TARGET-DIRECTORY\\a"));
  failures_left_ = 5;
  EXPECT_EQ(Check(), 1);
  EXPECT_EQ(requests_, 6);
  failures_left_ = 6;
  requests_ = 0;
  EXPECT_EQ(Check(), 0);
  EXPECT_EQ(requests_, 6);
}

TEST_F(UpdateCheck, UnusableManifestsEndWithNothingToDoWithoutHarm) {
  // A local copy that does not parse is deleted with the download.
  testing::WriteFile(setup_.local_manifest, "<update><head");
  manifest_ = Doc("", Entry("a", 1, "\\TARGET-DIRECTORY\\a"));
  EXPECT_EQ(Check(), 0);
  EXPECT_FALSE(FileExists(setup_.local_manifest));
  EXPECT_FALSE(FileExists(setup_.downloaded_manifest));

  // Broken, wrong-case, empty and file-less manifests: nothing to do, the
  // download is removed, nothing else is touched.
  const std::string hostile[] = {
      "<update><head update_date=\"1\"><body>",
      "<UPDATE><HEAD/><BODY><UPDATE_FILE name=\"a\"/></BODY></UPDATE>",
      "",
      Doc("update_date=\"1\"", "<reg_edit key=\"k\"/>"),
      "<update><body>" + std::string(200000, '<') + "</body></update>",
  };
  for (const std::string& doc : hostile) {
    manifest_ = doc;
    EXPECT_EQ(Check(), 0) << doc.substr(0, 40);
    EXPECT_FALSE(FileExists(setup_.downloaded_manifest)) << doc.substr(0, 40);
  }
  // The file-less manifest still hands over its due edits.
  manifest_ = Doc("update_date=\"1\"", "<reg_edit key=\"k\"/>");
  EXPECT_EQ(Check(), 0);
  EXPECT_EQ(plan_.reg_edits.size(), 1u);

  // An entry whose target climbs out of the viewer's folder is taken as
  // refused, so that the update fails at it instead of passing it over.
  manifest_ = Doc("", Entry("evil", 1, "\\TARGET-DIRECTORY\\..\\..\\evil") + Entry("ok", 1, "\\TARGET-DIRECTORY\\ok"));
  ASSERT_EQ(Check(), 2);
  EXPECT_TRUE(plan_.files[0].destination_refused);
  EXPECT_FALSE(plan_.files[1].destination_refused);
  EXPECT_EQ(plan_.total_size, 1000u);  // a refused file is never fetched
}

TEST_F(UpdateCheck, AManifestThatCannotBeTakenWholeIsAnErrorNotNothingDue) {
  // One entry more than a manifest may hold: refused whole, nothing taken,
  // the head's options still known (so a silent run stays silent).
  std::string body;
  for (size_t i = 0; i <= manifest_limits::kEntries; ++i) {
    const std::string n = std::to_string(i);
    body += Entry(std::string("e").append(n), 1, std::string("\\TARGET-DIRECTORY\\e").append(n));
  }
  manifest_ = Doc("update_option=\"/s\"", body);
  EXPECT_EQ(Check(), kCheckManifestRefused);
  EXPECT_TRUE(plan_.files.empty());
  EXPECT_EQ(plan_.options, u"/s");
  EXPECT_FALSE(FileExists(setup_.downloaded_manifest));
  // Larger than the size cap: refused at the first answer, not fetched again.
  manifest_ = Doc("", Entry("a", 1, "\\TARGET-DIRECTORY\\a") + std::string(manifest_limits::kFileBytes, ' '));
  requests_ = 0;
  EXPECT_EQ(Check(), kCheckManifestRefused);
  EXPECT_EQ(requests_, 1);
  EXPECT_FALSE(FileExists(setup_.downloaded_manifest));
}

}  // namespace
}  // namespace brantel
