// The shared fonts and resource pictures drawn by number from the real
// resource library.

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "controls/image_drawing.h"
#include "controls/viewer_fonts.h"

namespace brantel {
namespace {

ResourceLibraryRef Library() { return ResourceLibrary::Load(BRANTEL_BIN_DIR "/stock_resource.so"); }

TEST(ViewerFonts, CachedHeightsOnlyAndOneFontPerHeightAcrossThreads) {
  for (int height : {18, 20, 22, 24, 25, 28, 30, 32}) {
    EXPECT_TRUE(ViewerFont(height).valid()) << height;
    EXPECT_EQ(ViewerFont(height).height(), height);
    EXPECT_EQ(ViewerFont(height).weight(), FW_NORMAL);
  }
  for (int height : {0, -20, 19, 34, 48}) EXPECT_FALSE(ViewerFont(height).valid()) << height;

  // First use from several threads at once still makes one font.
  std::vector<const Font*> seen(8);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < seen.size(); ++i) threads.emplace_back([&seen, i] { seen[i] = &ViewerFont(30); });
  for (std::thread& t : threads) t.join();
  for (const Font* font : seen) EXPECT_EQ(font, &ViewerFont(30));
}

TEST(ResourcePicture, OwnSizeStretchedAndMissing) {
  ResourceLibraryRef library = Library();
  ASSERT_TRUE(library);
  std::shared_ptr<const Surface> logo = library->DecodedPicture(kPictureTypeGif, 1098);
  ASSERT_TRUE(logo);

  // Own size: the picture's pixels over black, at the offset.
  Surface target(300, 100, 0xFF000000);
  DeviceContext dc(target);
  EXPECT_EQ(DrawResourcePicture(dc, 10, 20, 0, 0, library, 1098), logo->height());
  Surface expected(300, 100, 0xFF000000);
  DeviceContext expected_dc(expected);
  DrawImage(expected_dc, 10, 20, *logo);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 300; ++x) ASSERT_EQ(target.at(x, y), expected.at(x, y)) << x << "," << y;

  // Stretched into a given box: nothing drawn outside it.
  Surface stretched(300, 100, 0xFF000000);
  DeviceContext stretched_dc(stretched);
  EXPECT_EQ(DrawResourcePicture(stretched_dc, 5, 5, 40, 10, library, 1098), 10);
  EXPECT_EQ(stretched.at(45, 5), 0xFF000000u);
  EXPECT_EQ(stretched.at(5, 15), 0xFF000000u);

  // A missing picture, a null library or a negative size draw nothing.
  Surface untouched(50, 50, 0xFF123456);
  DeviceContext untouched_dc(untouched);
  EXPECT_EQ(DrawResourcePicture(untouched_dc, 0, 0, 0, 0, library, 999999), 0);
  EXPECT_EQ(DrawResourcePicture(untouched_dc, 0, 0, 0, 0, nullptr, 1098), 0);
  EXPECT_EQ(DrawResourcePicture(untouched_dc, 0, 0, -5, 10, library, 1098), 0);
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 50; ++x) ASSERT_EQ(untouched.at(x, y), 0xFF123456u);
}

}  // namespace
}  // namespace brantel
