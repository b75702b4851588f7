// Every picture the screens, the controls and the updater draw exists and
// decodes at the size of the rectangle it is drawn in; pictures that are
// stretched stay plain along the stretched direction.
#include "platform/resources/picture_catalog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <set>
#include <vector>

#include "platform/gfx/picture.h"
#include "platform/resources/resource_library.h"
#include "resources/updater/updater_pictures.h"

namespace brantel {
namespace {

// Channels of two 0xAARRGGBB pixels differ by at most 2 (smooth
// gradients may step by one).
bool SameColour(uint32_t a, uint32_t b) {
  for (int shift = 0; shift < 32; shift += 8)
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 2) return false;
  return true;
}

// Empty when fine, else what is wrong.
std::string CheckStretch(const PictureInfo& info, const Surface& picture) {
  bool rows = info.fit == PictureFit::kStretchWidth || info.fit == PictureFit::kStretchBoth;
  bool columns = info.fit == PictureFit::kStretchHeight || info.fit == PictureFit::kStretchBoth;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) {
      if (rows && !SameColour(picture.at(x, y), picture.at(0, y)))
        return "row " + std::to_string(y) + " changes at x " + std::to_string(x);
      if (columns && !SameColour(picture.at(x, y), picture.at(x, 0)))
        return "column " + std::to_string(x) + " changes at y " + std::to_string(y);
    }
  return {};
}

void CheckPicture(const PictureInfo& info, std::span<const uint8_t> bytes) {
  SCOPED_TRACE(std::to_string(info.number) + " " + info.what);
  ASSERT_FALSE(bytes.empty()) << "missing";
  ASSERT_EQ(SniffPictureFormat(bytes), PictureFormat::kPng);
  std::optional<Surface> decoded = DecodePicture(bytes);
  ASSERT_TRUE(decoded) << "does not decode";
  const Surface& picture = *decoded;
  EXPECT_EQ(picture.width(), info.width);
  EXPECT_EQ(picture.height(), info.height);
  if (picture.width() == info.width && picture.height() == info.height) {
    EXPECT_EQ(CheckStretch(info, picture), "");
  }
}

TEST(PictureCatalog, EveryViewerPictureIsInTheLibraryAtItsSize) {
  auto library = ResourceLibrary::Load(std::string(BRANTEL_BIN_DIR) + "/" + kResourceLibraryFileName);
  ASSERT_TRUE(library);
  std::set<uint32_t> listed;
  for (const PictureInfo& info : kViewerPictures) {
    EXPECT_TRUE(listed.insert(info.number).second) << "listed twice: " << info.number;
    CheckPicture(info, library->Picture(kPictureTypeGif, info.number));
  }
  // Nothing in the library that no screen draws: the list is complete.
  for (uint32_t number : library->PictureNumbers()) EXPECT_TRUE(listed.count(number)) << "not listed: " << number;
}

TEST(PictureCatalog, ScreensFindTheNumbersTheyDraw) {
  // A sample across the screens, each with the rectangle it is drawn in.
  struct Use {
    uint32_t number;
    int width, height;
  } uses[] = {
      {1022, 480, 70},  {1023, 480, 70}, {1018, 480, 42},  {1056, 40, 40},  {1057, 40, 40},  {1025, 40, 40},
      {1026, 15, 8},    {1027, 15, 8},   {1009, 130, 88},  {1011, 66, 66},  {1029, 95, 60},  {1097, 95, 60},
      {1044, 217, 110}, {1046, 216, 152}, {1098, 220, 40}, {1055, 364, 62}, {1078, 400, 390}, {1081, 50, 50},
      {1088, 50, 50},   {1092, 52, 52},  {1094, 30, 30},   {1047, 64, 64},  {1035, 30, 30},  {1042, 30, 30},
  };
  for (const Use& use : uses) {
    const PictureInfo* info = FindViewerPicture(use.number);
    ASSERT_NE(info, nullptr) << use.number;
    EXPECT_EQ(info->width, use.width) << use.number;
    EXPECT_EQ(info->height, use.height) << use.number;
  }
  EXPECT_EQ(FindViewerPicture(1017), nullptr);
}

TEST(PictureCatalog, UpdaterPicturesAreBuiltIntoTheUpdater) {
  std::set<uint32_t> listed;
  for (const PictureInfo& info : kUpdaterPictures) {
    listed.insert(info.number);
    CheckPicture(info, UpdaterPictureBytes(info.number));
  }
  for (uint32_t number = 501; number <= 510; ++number) EXPECT_TRUE(listed.count(number)) << number;
  EXPECT_EQ(UpdaterPictureNumbers(), std::vector<uint32_t>(listed.begin(), listed.end()));
  EXPECT_TRUE(UpdaterPictureBytes(1098).empty());
}

TEST(PictureCatalog, UpdaterPanelEdgeIsExactMagentaForTheColourKey) {
  // The panel is composited with 0xFF00FF as the transparent colour, so a
  // pixel half way between magenta and the panel would show as a pink fringe.
  std::optional<Surface> panel = DecodePicture(UpdaterPictureBytes(507));
  ASSERT_TRUE(panel);
  EXPECT_EQ(panel->at(0, 0), 0xFFFF00FFu);
  int fringe = 0;
  for (int y = 0; y < panel->height(); ++y)
    for (int x = 0; x < panel->width(); ++x) {
      uint32_t p = panel->at(x, y);
      int a = int(p >> 24), r = int((p >> 16) & 0xFF), g = int((p >> 8) & 0xFF), b = int(p & 0xFF);
      bool pinkish = r > 150 && b > 150 && g + 60 < std::min(r, b);
      if (a != 255 || (pinkish && p != 0xFFFF00FFu)) ++fringe;
    }
  EXPECT_EQ(fringe, 0);
}

}  // namespace
}  // namespace brantel
