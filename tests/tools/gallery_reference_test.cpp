// The gallery's pages against reference screenshots, with a small
// tolerance for antialiasing differences between FreeType builds. On a
// mismatch a difference image is written (differing pixels in red over the
// dimmed reference) and its path printed. To renew the references after an
// intended change, run this test with BRANTEL_RENEW_GALLERY=1 and commit
// tests/data/gallery/ (see docs/drawing.md).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "platform/gfx/device_context.h"
#include "platform/gfx/picture.h"
#include "platform/gfx/png_writer.h"

namespace brantel {
namespace {

namespace fs = std::filesystem;

constexpr int kPages = 9;
constexpr int kWorkAreaTop = 52;
// A pixel differs when a channel is off by more than this; a page fails
// when more than kMaxDifferingPermille of its pixels differ.
constexpr int kChannelTolerance = 24;
constexpr int kMaxDifferingPermille = 5;

std::string Gallery() { return std::string(BRANTEL_BIN_DIR) + "/brantel-gallery"; }
std::string References() { return std::string(BRANTEL_TEST_DATA_DIR) + "/gallery"; }

class GalleryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(::testing::TempDir()) / ("gallery_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    ASSERT_TRUE(fs::exists(Gallery())) << "build brantel-gallery first";
  }
  void TearDown() override {
    if (!HasFailure()) fs::remove_all(dir_);
  }
  int Run(const std::string& args) {
    const std::string command = "cd '" + dir_.string() + "' && BRANTEL_HOME='" + dir_.string() + "' '" + Gallery() +
                                "' " + args + " >/dev/null 2>&1";
    return std::system(command.c_str());
  }
  fs::path dir_;
};

bool ChannelsClose(uint32_t a, uint32_t b, int tolerance) {
  for (int shift = 0; shift < 32; shift += 8)
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
  return true;
}

// Counts differing pixels and draws them red over the dimmed reference.
int Compare(const Surface& want, const Surface& got, Surface& diff) {
  diff = want;
  DeviceContext dc(diff);
  dc.BlendSolid(diff.bounds(), RGB(0, 0, 0), 160);
  int differing = 0;
  for (int y = 0; y < want.height(); ++y)
    for (int x = 0; x < want.width(); ++x)
      if (!ChannelsClose(want.at(x, y), got.at(x, y), kChannelTolerance)) {
        ++differing;
        diff.set(x, y, 0xFFFF0000u);
      }
  return differing;
}

TEST_F(GalleryTest, PagesMatchTheReferenceScreenshots) {
  ASSERT_EQ(Run("--pages pages"), 0);
  const bool renew = std::getenv("BRANTEL_RENEW_GALLERY") != nullptr;
  for (int page = 1; page <= kPages; ++page) {
    const std::string name = "gallery-" + std::to_string(page) + ".png";
    const fs::path rendered = dir_ / "pages" / name;
    const fs::path reference = fs::path(References()) / name;
    auto got = LoadPictureFile(rendered.string());
    ASSERT_TRUE(got) << rendered;
    if (renew) {
      fs::create_directories(References());
      fs::copy_file(rendered, reference, fs::copy_options::overwrite_existing);
      continue;
    }
    auto want = LoadPictureFile(reference.string());
    ASSERT_TRUE(want) << "no reference " << reference << " (renew with BRANTEL_RENEW_GALLERY=1)";
    ASSERT_EQ(got->width(), want->width());
    ASSERT_EQ(got->height(), want->height());
    Surface diff;
    const int differing = Compare(*want, *got, diff);
    const int allowed = want->width() * want->height() * kMaxDifferingPermille / 1000;
    if (differing > allowed) {
      const fs::path diff_path = dir_ / ("diff-" + name);
      WritePngFile(diff, diff_path.string());
      ADD_FAILURE() << name << ": " << differing << " pixels differ (at most " << allowed
                    << " allowed); difference image: " << diff_path;
    }
  }
}

TEST_F(GalleryTest, HeadlessWindowDrawsTheSamePixelsAsThePages) {
  // The drawing page through the window system, against the same page drawn
  // straight into a surface: only the system bar above may differ.
  ASSERT_EQ(Run("--pages pages"), 0);
  const std::string script = (dir_ / "tour.script").string();
  FILE* f = std::fopen(script.c_str(), "w");
  ASSERT_TRUE(f);
  std::fputs("idle\nkey right\nkey right\nkey right\nidle\nscreenshot window.png\nquit\n", f);
  std::fclose(f);
  ASSERT_EQ(Run("--headless --script tour.script"), 0);
  auto window = LoadPictureFile((dir_ / "window.png").string());
  auto page = LoadPictureFile((dir_ / "pages" / "gallery-4.png").string());
  ASSERT_TRUE(window && page);
  ASSERT_EQ(window->height(), page->height() + kWorkAreaTop);
  int differing = 0;
  for (int y = 0; y < page->height(); ++y)
    for (int x = 0; x < page->width(); ++x) differing += window->at(x, y + kWorkAreaTop) != page->at(x, y);
  EXPECT_EQ(differing, 0);
}

TEST_F(GalleryTest, BadArgumentsAndUnwritableFolderFail) {
  EXPECT_NE(Run("--pages"), 0);
  std::FILE* blocker = std::fopen((dir_ / "file").c_str(), "w");
  ASSERT_TRUE(blocker);
  std::fclose(blocker);
  EXPECT_NE(Run("--pages file/sub"), 0);
  EXPECT_EQ(Run("--help"), 0);
}

}  // namespace
}  // namespace brantel
