// Installing a downloaded master file and the registry bookkeeping.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cache/master_info.h"
#include "protocol/registry_key.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class MasterInstallTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directory(home_.File("TEMP")); }
  testing::TempDataFolder home_;
};

TEST_F(MasterInstallTest, InstallsWithoutAndWithAnExistingFile) {
  Write(home_.File("TEMP/new1"), "A|a|KOSPI\n");
  EXPECT_EQ(InstallMasterFile(home_.File("TEMP/new1")), home_.File("masterinfo"));
  EXPECT_EQ(ReadAll(home_.File("masterinfo")), "A|a|KOSPI\n");
  EXPECT_FALSE(fs::exists(home_.File("TEMP/new1")));

  Write(home_.File("TEMP/new2"), "B|b|KOSDAQ\n");
  EXPECT_EQ(InstallMasterFile(home_.File("TEMP/new2")), home_.File("masterinfo"));
  EXPECT_EQ(ReadAll(home_.File("masterinfo")), "B|b|KOSDAQ\n");
  // Exactly one master file: the backup was removed.
  std::vector<std::string> names = Names(home_.Path());
  EXPECT_EQ(std::count_if(names.begin(), names.end(), [](const std::string& n) { return n.rfind("masterinfo", 0) == 0; }),
            1);
}

TEST_F(MasterInstallTest, FailingMoveRestoresTheOldFile) {
  Write(home_.File("masterinfo"), "OLD|old|KOSPI\n");
  EXPECT_EQ(InstallMasterFile(home_.File("TEMP/does-not-exist")), "");
  EXPECT_EQ(ReadAll(home_.File("masterinfo")), "OLD|old|KOSPI\n");
  std::vector<std::string> names = Names(home_.Path());
  EXPECT_EQ(std::count_if(names.begin(), names.end(), [](const std::string& n) { return n.rfind("masterinfo_", 0) == 0; }),
            0);
}

TEST_F(MasterInstallTest, MovesAcrossFileSystems) {
  // /dev/shm is a separate file system on most machines; the move must then
  // copy instead of failing.
  if (!fs::is_directory("/dev/shm")) GTEST_SKIP() << "no /dev/shm";
  std::string source = "/dev/shm/brantel-master-" + std::to_string(getpid());
  Write(source, "X|x|KOSPI\n");
  EXPECT_EQ(InstallMasterFile(source), home_.File("masterinfo"));
  EXPECT_EQ(ReadAll(home_.File("masterinfo")), "X|x|KOSPI\n");
  EXPECT_FALSE(fs::exists(source));
}

TEST_F(MasterInstallTest, BackupNameCarriesUtcTimeWithMilliseconds) {
  std::string name = MasterBackupName("/data/masterinfo");
  const std::string prefix = "/data/masterinfo_";
  ASSERT_EQ(name.size(), prefix.size() + 18) << name;
  EXPECT_EQ(name.substr(0, prefix.size()), prefix);
  const std::string digits = name.substr(prefix.size());
  EXPECT_EQ(digits.find_first_not_of("0123456789"), std::string::npos) << name;
  EXPECT_EQ(digits.substr(0, 2), "20");
  EXPECT_EQ(digits[14], '0');  // milliseconds take four digits, the first always 0
  std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char hour[8];
  std::snprintf(hour, sizeof hour, "%02d", utc.tm_hour);
  EXPECT_EQ(name.substr(std::string("/data/masterinfo_").size() + 8, 2), hour);
}

TEST_F(MasterInstallTest, MasterInfoRoundTripAndFreshDevice) {
  std::string path = "unchanged";
  uint32_t count = 7;
  EXPECT_EQ(LoadMasterInfo(path, count), 0);  // no key yet: it is created
  EXPECT_EQ(path, "");
  EXPECT_EQ(count, 0u);
  RegistryKey key;
  EXPECT_TRUE(key.Open(HKEY_LOCAL_MACHINE, u"SOFTWARE\\BRANTEL\\BrantelStock"));
  key.Close();

  EXPECT_EQ(LoadMasterInfo(path, count), 1);  // key without values: the default path
  EXPECT_EQ(path, home_.File("masterinfo"));

  EXPECT_EQ(SaveMasterInfo(home_.File("masterinfo"), 3000), 0);
  EXPECT_EQ(LoadMasterInfo(path, count), 1);
  EXPECT_EQ(path, home_.File("masterinfo"));
  EXPECT_EQ(count, 3000u);
  // The path is written as text of 2 bytes per character, no terminator.
  ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, u"SOFTWARE\\BRANTEL\\BrantelStock"));
  char16_t buffer[256] = {};
  ASSERT_TRUE(key.QueryText(u"masterpath", buffer, sizeof buffer));
  EXPECT_EQ(key.last_type(), 7u);
  EXPECT_EQ(key.last_size(), home_.File("masterinfo").size() * 2);
}

}  // namespace
}  // namespace brantel
