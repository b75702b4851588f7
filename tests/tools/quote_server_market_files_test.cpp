// A market read from the exchange's daily files, checked part by part:
// decoding and CSV reading, file names, the market built from several days,
// and the 52-week chart marks.

#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "tests/support/temp_folder.h"
#include "tools/quote-server/chart_renderer.h"

using namespace brantel::quote_server;
namespace fs = std::filesystem;

namespace {

// Mean column of the pixels of one colour inside the plot rows of a chart.
double MeanColumnOf(const std::string& png, int r, int g, int b, int top, int bottom) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return -1;
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return -1;
  double sum = 0;
  int count = 0;
  for (int y = top; y < bottom; ++y)
    for (unsigned x = 0; x < image.width; ++x) {
      const uint8_t* p = &rgb[(size_t(y) * image.width + x) * 3];
      if (p[0] == r && p[1] == g && p[2] == b) {
        sum += x;
        ++count;
      }
    }
  return count ? sum / count : -1;
}

TEST(SmallChart, MarksTheHighestHighAndLowestLowLikeTheSummary) {
  // Falling closes (a blue line); the highest high is on bar 3, not on the
  // highest close (bar 0), so a chart marking closes puts its red mark
  // elsewhere.
  std::vector<Bar> bars;
  for (int i = 0; i < 10; ++i) {
    Bar b;
    b.index = 1000 + i;
    b.open = b.close = 100 - i;
    b.high = b.close + 1;
    b.low = b.close - 1;
    bars.push_back(b);
  }
  bars[3].high = 130;
  const std::string png = RenderSmallChart(bars, 0);
  const double expected_x = 4 + std::lround(3.0 * (kSmallChartWidth - 8 - 1) / 9.0);
  EXPECT_NEAR(MeanColumnOf(png, 238, 56, 56, 18, kSmallChartHeight - 17), expected_x, 1.0);
}

}  // namespace
