// The process-wide slot: loading from the program folder, first use, reload.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/folders.h"
#include "platform/resources/resource_library.h"

namespace brantel {
namespace {

class ProcessResourcesTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SetProgramFolderForTesting("");
    SetProcessResourcesForTesting(nullptr);
  }
};

TEST_F(ProcessResourcesTest, LoadsFromTheProgramFolderAndReloadKeepsHoldersValid) {
  SetProgramFolderForTesting(BRANTEL_BIN_DIR);
  ASSERT_TRUE(LoadProcessResources());
  ResourceLibraryRef held = ProcessResources();
  ASSERT_TRUE(held);
  auto logo = held->Picture(kPictureTypeGif, 1098);
  ASSERT_FALSE(logo.empty());
  uint8_t first_byte = logo[0];

  // Loading again replaces the slot; the earlier holder keeps its library.
  ASSERT_TRUE(LoadProcessResources());
  EXPECT_NE(ProcessResources(), held);
  EXPECT_EQ(held->Picture(kPictureTypeGif, 1098)[0], first_byte);

  // A program folder without the library empties the slot, and later
  // lookups do not try again on every call.
  auto empty = std::filesystem::temp_directory_path() / "brantel_no_resources";
  std::filesystem::create_directories(empty);
  SetProgramFolderForTesting(empty.string());
  EXPECT_FALSE(LoadProcessResources());
  EXPECT_FALSE(ProcessResources());
  SetProgramFolderForTesting(BRANTEL_BIN_DIR);
  EXPECT_FALSE(ProcessResources());
  EXPECT_EQ(held->String(104).empty(), false);
}

TEST_F(ProcessResourcesTest, FirstUseLoadsTheLibraryAndATestLibraryReplacesIt) {
  SetProgramFolderForTesting(BRANTEL_BIN_DIR);
  SetProcessResourcesForTesting(nullptr);
  ResourceLibraryRef loaded = ProcessResources();
  ASSERT_TRUE(loaded);
  EXPECT_FALSE(loaded->Menu(40014).empty());
  EXPECT_EQ(ProcessResources(), loaded);  // loaded once, then kept

  auto other = ResourceLibrary::Load(std::string(BRANTEL_TEST_BIN_DIR) + "/test_modules/broken_resource_odd_entries.so");
  ASSERT_TRUE(other);
  SetProcessResourcesForTesting(other);
  EXPECT_EQ(ProcessResources(), other);
}

}  // namespace
}  // namespace brantel
