// The viewer's hand-over of a new updater: only files of the program folder,
// reached without a link, and the target written whole.

#include "app/startup/self_upgrade.h"
#include "tests/app/self_upgrade_key.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/folders.h"
#include "protocol/registry_key.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

using testing::ReadFile;
using testing::WriteFile;

class SelfUpgradeHandOver : public ::testing::Test {
 protected:
  void SetUp() override {
    SetProgramFolderForTesting(program_);
    WriteFile(program_ + "StockUpdater", "old updater");
    WriteFile(kept_, "new updater");
    WriteFile(outside_ + "victim", "precious");
  }
  void TearDown() override { SetProgramFolderForTesting(""); }

  // The key the updater (or a registry script of a release) leaves.
  void LeaveKey(const std::string& exist, const std::string& target) { testing::LeaveSelfUpgradeKey(exist, target); }
  static bool KeyLeft() { return RegistryKey().Open(HKEY_LOCAL_MACHINE, kSelfUpgradeKey); }

  testing::TempDataFolder data_;
  testing::TempFolder dir_;
  std::string program_ = dir_ / "program/";
  std::string outside_ = dir_ / "outside/";
  std::string kept_ = program_ + "update_temp/StockUpdater.tmp";
};

TEST_F(SelfUpgradeHandOver, OnlyFilesOfTheProgramFolderReachedWithoutALinkAreTouched) {
  std::filesystem::create_directory_symlink(outside_, program_ + "link");
  std::filesystem::create_symlink(outside_ + "victim", program_ + "update_temp/linked.tmp");
  const std::pair<std::string, std::string> refused[] = {
      {kept_, outside_ + "victim"},                        // another folder
      {kept_, program_ + "update_temp/../../outside/victim"},  // climbing out
      {kept_, program_ + "link/victim"},                   // a folder link leading out
      {outside_ + "victim", program_ + "StockUpdater"},    // a download from elsewhere, deleted after
      {program_ + "update_temp/linked.tmp", program_ + "StockUpdater"},  // the download a link out
  };
  for (const auto& [exist, target] : refused) {
    SCOPED_TRACE(exist + " -> " + target);
    LeaveKey(exist, target);
    EXPECT_EQ(RunSelfUpgradeHandOver(), SelfUpgradeResult::kRefused);
    EXPECT_EQ(ReadFile(outside_ + "victim"), "precious");
    EXPECT_EQ(ReadFile(program_ + "StockUpdater"), "old updater");
    EXPECT_EQ(ReadFile(kept_), "new updater");
    EXPECT_FALSE(KeyLeft()) << "a refused hand-over is not tried again";
  }

  // A link at the target's own name is replaced, not written through.
  std::filesystem::create_symlink(outside_ + "victim", program_ + "Linked");
  LeaveKey(kept_, program_ + "Linked");
  EXPECT_EQ(RunSelfUpgradeHandOver(), SelfUpgradeResult::kInstalled);
  EXPECT_EQ(ReadFile(outside_ + "victim"), "precious");
  EXPECT_FALSE(std::filesystem::is_symlink(program_ + "Linked"));
  EXPECT_EQ(ReadFile(program_ + "Linked"), "new updater");

  // The usual hand-over: replaced whole, the download and the key gone.
  WriteFile(kept_, "new updater");
  LeaveKey(kept_, program_ + "StockUpdater");
  EXPECT_EQ(RunSelfUpgradeHandOver(), SelfUpgradeResult::kInstalled);
  EXPECT_EQ(ReadFile(program_ + "StockUpdater"), "new updater");
  EXPECT_FALSE(std::filesystem::exists(kept_));
  EXPECT_FALSE(std::filesystem::exists(program_ + "StockUpdater.new"));
  EXPECT_FALSE(KeyLeft());
}

}  // namespace
}  // namespace brantel
