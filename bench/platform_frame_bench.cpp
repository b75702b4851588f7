// Frame time of a full 480 x 800 repaint that draws what a market list
// draws: a header with captions, 11 rows of four text cells and a star
// picture, separators, and a scroll thumb blended over it, then the copy of
// the off-screen bitmap to the window surface. The first frame (glyph cache
// cold) is measured apart from the warm frames.
#include <benchmark/benchmark.h>

#include <chrono>

#include "platform/gfx/device_context.h"

namespace brantel {
namespace {

constexpr int kWidth = 480, kHeight = 800, kHeader = 48, kRow = 64, kRows = 11;

struct Scene {
  Surface header_band{kWidth, kHeader};
  Surface star{40, 40, 0};
  Surface thumb{15, 180};
  Font caption{kGothicFace, 20, FW_BOLD};
  Font name{kGothicFace, 24};
  Font value{kGothicFace, 22};

  Scene() {
    for (int y = 0; y < kHeader; ++y)
      for (int x = 0; x < kWidth; ++x) header_band.set(x, y, 0xFF202830u + uint32_t(y));
    // A round star-like badge with soft, partly transparent edges.
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x) {
        const int dx = x - 20, dy = y - 20, d2 = dx * dx + dy * dy;
        const uint32_t a = d2 < 256 ? 255 : d2 < 400 ? uint32_t(255 - (d2 - 256) * 255 / 144) : 0;
        star.set(x, y, (a << 24) | 0xFFC834u);
      }
    for (int y = 0; y < thumb.height(); ++y)
      for (int x = 0; x < thumb.width(); ++x) thumb.set(x, y, 0xFF909090u);
  }
};

const char16_t* const kNames[] = {u"삼성전자", u"SK하이닉스", u"LG에너지솔루션", u"삼성바이오로직스 우선주 Holdings",
                                  u"현대차", u"기아", u"셀트리온", u"KB금융", u"POSCO홀딩스", u"NAVER", u"카카오"};

void PaintList(const Scene& scene, Surface& offscreen, Surface& window) {
  DeviceContext dc(offscreen);
  dc.FillSolid(offscreen.bounds(), RGB(0, 0, 0));
  dc.SetBkMode(TRANSPARENT);
  // Header.
  dc.StretchBlt(0, 0, kWidth, kHeader, scene.header_band, 0, 0, kWidth, kHeader);
  dc.SelectFont(scene.caption);
  dc.SetTextColor(RGB(255, 255, 255));
  const char16_t* captions[] = {u"종목명", u"현재가", u"전일대비", u"등락률"};
  const int columns[] = {0, 190, 300, 390, 480};
  for (int c = 0; c < 4; ++c)
    dc.DrawText(captions[c], Rect{columns[c], 0, columns[c + 1], kHeader}, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
  // Rows with separators.
  dc.SelectPen(Pen{PS_SOLID, 1, RGB(0x58, 0x58, 0x58)});
  int y = kHeader;
  for (int r = 0; r < kRows; ++r, y += kRow + 1) {
    dc.DrawPicture(scene.star, Rect::FromSize(6, y + 12, 40, 40));
    dc.SelectFont(scene.name);
    dc.SetTextColor(RGB(255, 255, 255));
    dc.DrawText(kNames[r], Rect{50, y, 190, y + kRow}, 0x42010);
    dc.SelectFont(scene.value);
    const COLORREF colour = r % 2 ? RGB(255, 0, 0) : RGB(0, 0x5A, 0xFF);
    dc.SetTextColor(colour);
    dc.DrawText(u"1,234,567", Rect{190, y, 296, y + kRow}, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
    dc.DrawText(r % 2 ? u"▲ 12,345" : u"▼ 1,050", Rect{300, y, 386, y + kRow}, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
    dc.DrawText(r % 2 ? u"+12.34%" : u"-3.05%", Rect{390, y, 476, y + kRow}, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
    dc.MoveTo(0, y + kRow);
    dc.LineTo(kWidth, y + kRow);
  }
  // The scroll thumb, half faded.
  dc.AlphaBlend(kWidth - 15, 200, 15, 180, scene.thumb, 0, 0, 15, 180, BlendFunction{150, 0});
  DeviceContext window_dc(window);
  window_dc.BitBlt(0, 0, kWidth, kHeight, offscreen, 0, 0);
}

// Runs first: the glyph cache is empty.
void BM_MarketListFirstFrame(benchmark::State& state) {
  Surface offscreen(kWidth, kHeight), window(kWidth, kHeight);
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    Scene scene;  // opens the fonts
    PaintList(scene, offscreen, window);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
  }
}
BENCHMARK(BM_MarketListFirstFrame)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_MarketListWarmFrame(benchmark::State& state) {
  Scene scene;
  Surface offscreen(kWidth, kHeight), window(kWidth, kHeight);
  PaintList(scene, offscreen, window);
  for (auto _ : state) {
    PaintList(scene, offscreen, window);
    benchmark::DoNotOptimize(window.data());
  }
}
BENCHMARK(BM_MarketListWarmFrame)->Unit(benchmark::kMillisecond);

// The dimmed background of the message box: black at alpha 210 over the screen.
void BM_DimScreen(benchmark::State& state) {
  Surface screen(kWidth, kHeight, 0xFF336699u);
  DeviceContext dc(screen);
  for (auto _ : state) {
    dc.BlendSolid(screen.bounds(), RGB(0, 0, 0), 210);
    benchmark::DoNotOptimize(screen.data());
  }
}
BENCHMARK(BM_DimScreen)->Unit(benchmark::kMicrosecond);

// A constant-alpha blend of a whole screen (the blend loop at its widest).
void BM_ScreenAlphaBlend(benchmark::State& state) {
  Surface screen(kWidth, kHeight, 0xFF336699u), layer(kWidth, kHeight, 0xFF996633u);
  DeviceContext dc(screen);
  for (auto _ : state) {
    dc.AlphaBlend(0, 0, kWidth, kHeight, layer, 0, 0, kWidth, kHeight, BlendFunction{128, 0});
    benchmark::DoNotOptimize(screen.data());
  }
}
BENCHMARK(BM_ScreenAlphaBlend)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace brantel

BENCHMARK_MAIN();
