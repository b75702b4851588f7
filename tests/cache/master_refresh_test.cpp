// The start-up master refresh against scripted server answers, with real
// files, the real registry store and the process-wide master list.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cache/master_info.h"
#include "cache/master_parser.h"
#include "cache/master_refresh.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

namespace fs = std::filesystem;

class MasterRefreshTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directory(home_.File("TEMP")); }

  std::string Download(const std::string& name, const std::string& text) {
    std::string path = home_.File("TEMP/" + name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  // A request that plays back `answers` (the last one repeats) and records
  // the count texts it was sent.
  MasterRequestFn Script(std::vector<MasterAnswer> answers) {
    return [this, answers](WideView count) {
      sent_.push_back(WideText(count));
      return answers[std::min(sent_.size(), answers.size()) - 1];
    };
  }
  MasterStampFn Stamp() {
    return [this](WideView date) { stamps_.push_back(WideText(date)); };
  }
  static MasterAnswer NewFile(const std::string& path, const char16_t* date) {
    return MasterAnswer{true, true, true, path, date};
  }

  testing::TempDataFolder home_;
  std::vector<WideText> sent_;
  std::vector<WideText> stamps_;
};

TEST_F(MasterRefreshTest, FreshDeviceWithoutServerFailsAtOnce) {
  EXPECT_FALSE(RefreshMaster(Script({MasterAnswer{}}), Stamp()));
  EXPECT_EQ(sent_, std::vector<WideText>{u"0"});
}

TEST_F(MasterRefreshTest, NewFileIsParsedInstalledAndRemembered) {
  const int before = GetMasterParser().GetEntryCount();
  std::string file = Download("masterinfo.txt", "R00001|첫째|KOSPI|\nR00002|둘째|KOSDAQ|\nR00003|셋째|ETC|\n");
  ASSERT_TRUE(RefreshMaster(Script({NewFile(file, u"20261207101010")}), Stamp()));
  EXPECT_EQ(sent_, std::vector<WideText>{u"0"});
  EXPECT_EQ(GetMasterParser().GetEntryCount(), before + 3);
  EXPECT_EQ(GetMasterParser().LookupMarket(u"R00003"), 1);
  EXPECT_TRUE(fs::exists(home_.File("masterinfo")));
  EXPECT_FALSE(fs::exists(file));
  EXPECT_EQ(stamps_, std::vector<WideText>{u"20261207101010"});
  std::string path;
  uint32_t count = 0;
  ASSERT_EQ(LoadMasterInfo(path, count), 1);
  EXPECT_EQ(path, home_.File("masterinfo"));
  EXPECT_EQ(count, uint32_t(before + 3));

  // Next start: the stored count goes with the request; nothing new means
  // the stored file is read.
  sent_.clear();
  MasterAnswer nothing_new{true, true, false, "", u"x"};
  ASSERT_TRUE(RefreshMaster(Script({nothing_new}), Stamp()));
  EXPECT_EQ(sent_, std::vector<WideText>{FormatText(u"%d", before + 3)});
  EXPECT_EQ(GetMasterParser().GetEntryCount(), before + 6);
  EXPECT_EQ(stamps_.size(), 1u);
}

TEST_F(MasterRefreshTest, RefusalsAndSilenceFallBackToTheStoredFile) {
  SaveMasterInfo(home_.File("masterinfo"), 1);
  MasterAnswer refused{true, false, true, "", u""};
  // No stored file: four attempts, then failure.
  EXPECT_FALSE(RefreshMaster(Script({refused}), Stamp()));
  EXPECT_EQ(sent_.size(), 4u);

  std::ofstream(home_.File("masterinfo")) << "S1|stored|KOSPI|\n";
  sent_.clear();
  EXPECT_TRUE(RefreshMaster(Script({MasterAnswer{}}), Stamp()));  // no answer, stored path known
  EXPECT_EQ(sent_.size(), 1u);
  EXPECT_EQ(GetMasterParser().LookupMarket(u"S1"), 0);
  EXPECT_TRUE(stamps_.empty());

  // A cancelled request ends the refresh at once, stored file or not.
  sent_.clear();
  MasterAnswer cancelled;
  cancelled.cancelled = true;
  EXPECT_FALSE(RefreshMaster(Script({cancelled}), Stamp()));
  EXPECT_EQ(sent_.size(), 1u);
}

TEST_F(MasterRefreshTest, BrokenNewFileFailsAndItemWithoutFileKeepsTheStoredOne) {
  SaveMasterInfo(home_.File("masterinfo"), 1);
  std::ofstream(home_.File("masterinfo")) << "KEEP1|kept|KOSPI|\n";
  EXPECT_FALSE(RefreshMaster(Script({NewFile(home_.File("TEMP/vanished"), u"d")}), Stamp()));
  EXPECT_TRUE(fs::exists(home_.File("masterinfo")));

  const int before = GetMasterParser().GetEntryCount();
  EXPECT_TRUE(RefreshMaster(Script({NewFile("", u"d")}), Stamp()));
  EXPECT_EQ(GetMasterParser().GetEntryCount(), before + 1);
  EXPECT_TRUE(stamps_.empty());
}

}  // namespace
}  // namespace brantel
