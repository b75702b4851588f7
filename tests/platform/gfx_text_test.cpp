// Fonts and DrawText: metrics, alignment, clipping, wrapping, ellipses,
// prefixes and mixed Korean and Latin text, on the real gothic face.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/gfx/device_context.h"
#include "platform/gfx/font_instance.h"
#include "platform/gfx/text_layout.h"

namespace brantel {
namespace {

constexpr uint32_t kBackground = 0xFF000000u;
constexpr COLORREF kWhite = RGB(255, 255, 255);

// The box of every pixel that is not background.
Rect InkBounds(const Surface& s) {
  Rect ink;
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x)
      if (s.at(x, y) != kBackground) ink = ink.Union(Rect{x, y, x + 1, y + 1});
  return ink;
}

// Draws `text` into a fresh 300 x 100 surface and returns it.
Surface Draw(WideView text, Rect rect, unsigned format, const Font& font) {
  Surface s(300, 100, kBackground);
  DeviceContext dc(s);
  dc.SelectFont(font);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(kWhite);
  dc.DrawText(text, rect, format);
  return s;
}

// True when `b` is `a` moved by (dx, dy) (pixels moved outside are ignored).
bool IsShifted(const Surface& a, const Surface& b, int dx, int dy) {
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const int sx = x - dx, sy = y - dy;
      const uint32_t want = (sx >= 0 && sy >= 0 && sx < a.width() && sy < a.height()) ? a.at(sx, sy) : kBackground;
      if (b.at(x, y) != want) return false;
    }
  return true;
}

std::u32string U32(const char32_t* s) { return s; }

TEST(GfxFont, GothicFaceNamesWeightsAndHeights) {
  const Font latin(kGothicFace, 24);
  const Font korean(u"벨탄고딕", 24);
  ASSERT_TRUE(latin.valid());
  EXPECT_EQ(latin.instance(), korean.instance());
  EXPECT_NE(latin.instance()->file().path.find("NanumGothic"), std::string::npos);
  for (int h : {18, 20, 22, 24, 25, 28, 30, 32, 34, 36, 40, 42, 48}) {
    const Font f(kGothicFace, h);
    EXPECT_EQ(f.height(), h);
    EXPECT_EQ(f.ascent() + f.descent(), h);
    EXPECT_GT(f.ascent(), f.descent());
    EXPECT_EQ(f.MeasureText(u"가").cy, h);
  }
  // Heavier weights are other instances and draw wider strokes.
  const Font bold(kGothicFace, 24, FW_BOLD), heavy(kGothicFace, 24, FW_HEAVY);
  EXPECT_NE(bold.instance(), latin.instance());
  EXPECT_NE(heavy.instance(), bold.instance());
  EXPECT_EQ(bold.weight(), FW_BOLD);
  EXPECT_TRUE(bold.instance()->file().path.find("Bold") != std::string::npos || bold.instance()->file().embolden);
  EXPECT_GT(heavy.MeasureText(u"Samsung").cx, latin.MeasureText(u"Samsung").cx);
  // A face nobody has falls back to the gothic face.
  const Font unknown(u"No Such Face Anywhere", 24);
  EXPECT_EQ(unknown.instance(), latin.instance());
}

TEST(GfxFont, ExtentsAddUpAcrossScriptsAndCacheGlyphs) {
  const Font f(kGothicFace, 22);
  const int a = f.MeasureText(u"삼성전자").cx, b = f.MeasureText(u" Samsung 1,234").cx;
  EXPECT_GT(a, 4 * 15);
  EXPECT_EQ(f.MeasureText(u"삼성전자 Samsung 1,234").cx, a + b);
  EXPECT_EQ(f.MeasureText(u"").cx, 0);
  // Hangul, the change marks and a character outside the BMP have shapes.
  FontInstance& fi = *f.instance();
  for (char32_t c : {U'삼', U'▲', U'▼', U'W'}) {
    const GlyphHandle g = fi.GetGlyph(c);
    EXPECT_GT(g->advance, 0) << uint32_t(c);
    EXPECT_FALSE(g->coverage.empty()) << uint32_t(c);
  }
  EXPECT_EQ(f.MeasureText(u"\U0001F600").cx, fi.Advance(0x1F600));
  const size_t cached = fi.cached_glyph_count();
  Draw(u"삼성전자 Samsung", Rect{0, 0, 300, 40}, DT_SINGLELINE, f);
  const size_t after_first = fi.cached_glyph_count();
  Draw(u"삼성전자 Samsung", Rect{0, 0, 300, 40}, DT_SINGLELINE, f);
  EXPECT_GE(after_first, cached);
  EXPECT_EQ(fi.cached_glyph_count(), after_first);
}

// A font fed thousands of syllables keeps its cache within the bound; a
// handle taken before stays whole, and a glyph drawn again after it left the
// cache looks the same.
TEST(GfxFont, GlyphCacheIsBoundedAndHandlesOutliveEviction) {
  const Font f(kGothicFace, 26);
  FontInstance& fi = *f.instance();
  const Surface before = Draw(u"가", Rect{0, 0, 60, 40}, DT_SINGLELINE, f);
  const GlyphHandle first = fi.GetGlyph(U'가');
  const std::vector<uint8_t> mask = first->coverage;
  for (char32_t c = 0xAC00; c < 0xAC00 + 4000; ++c) fi.Advance(c);
  EXPECT_LE(fi.cached_glyph_bytes(), kGlyphCacheBytesPerFont);
  EXPECT_LT(fi.cached_glyph_count(), 4000u);
  EXPECT_GT(fi.cached_glyph_count(), 200u);
  EXPECT_EQ(first->coverage, mask);
  EXPECT_NE(fi.GetGlyph(U'가'), first) << "the first syllable should have left the cache";
  const Surface after = Draw(u"가", Rect{0, 0, 60, 40}, DT_SINGLELINE, f);
  EXPECT_FALSE(InkBounds(before).IsEmpty());
  EXPECT_TRUE(std::equal(before.data(), before.data() + 300 * 100, after.data()));
}

// Every size of one file is drawn from one face reading one open file, not
// a mapping (its pages would count towards the resident memory), and the
// sizes do not disturb each other while they take turns on that face.
TEST(GfxFont, SizesOfOneFileShareOneFaceAndStayApart) {
  const Font small(kGothicFace, 14), mid(kGothicFace, 22), large(kGothicFace, 40);
  const std::string path = small.instance()->file().path;
  ASSERT_EQ(large.instance()->file().path, path);
  const GlyphHandle mid_first = mid.instance()->GetGlyph(U'삼');
  const GlyphHandle large_glyph = large.instance()->GetGlyph(U'성');
  const GlyphHandle small_glyph = small.instance()->GetGlyph(U'성');
  EXPECT_GT(large_glyph->height, 2 * small_glyph->height);
  const GlyphHandle mid_glyph = mid.instance()->GetGlyph(U'성');
  // Rendered at its own size after the others had the face: in proportion.
  EXPECT_NEAR(mid_glyph->height * 40.0 / 22.0, large_glyph->height, 2.5);
  EXPECT_NEAR(small_glyph->height * 40.0 / 14.0, large_glyph->height, 4.0);
  EXPECT_GT(mid_first->height, 0);

  int open_files = 0, mappings = 0;
  std::error_code ec;
  for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd", ec))
    if (std::filesystem::read_symlink(fd.path(), ec) == path) ++open_files;
  std::ifstream maps("/proc/self/maps");
  for (std::string line; std::getline(maps, line);)
    if (line.size() >= path.size() && line.compare(line.size() - path.size(), path.size(), path) == 0) ++mappings;
  EXPECT_EQ(open_files, 1);
  EXPECT_EQ(mappings, 0);
}

// Threads drawing two sizes of one face at once each get their own size.
TEST(GfxFont, SizesRenderedAtOnceFromThreadsKeepTheirSize) {
  const Font small(kGothicFace, 14), large(kGothicFace, 40);
  std::atomic<int> wrong{0};
  auto render = [&wrong](const Font& font, int low, int high) {
    for (char32_t c = 0xB000; c < 0xB000 + 400; ++c) {
      const int h = font.instance()->GetGlyph(c)->height;
      if (h < low || h > high) ++wrong;
    }
  };
  std::thread a(render, std::cref(small), 5, 16), b(render, std::cref(large), 20, 44);
  a.join();
  b.join();
  EXPECT_EQ(wrong.load(), 0);
}

TEST(GfxText, HorizontalAlignmentMovesTheSameInk) {
  const Font f(kGothicFace, 24);
  const Rect r{10, 10, 290, 60};
  const int w = f.MeasureText(u"가나 AB").cx;
  const Surface left = Draw(u"가나 AB", r, DT_SINGLELINE | DT_LEFT, f);
  const Surface centre = Draw(u"가나 AB", r, DT_SINGLELINE | DT_CENTER, f);
  const Surface right = Draw(u"가나 AB", r, DT_SINGLELINE | DT_RIGHT, f);
  ASSERT_FALSE(InkBounds(left).IsEmpty());
  EXPECT_GE(InkBounds(left).left, r.left);
  EXPECT_LE(InkBounds(left).left, r.left + 3);
  EXPECT_TRUE(IsShifted(left, centre, (r.Width() - w) / 2, 0));
  EXPECT_TRUE(IsShifted(left, right, r.Width() - w, 0));
}

TEST(GfxText, VerticalCentreAndBottomOnlyForSingleLines) {
  const Font f(kGothicFace, 20);
  const Rect r{0, 0, 300, 81};
  const Surface top = Draw(u"Quote 시세", r, DT_SINGLELINE, f);
  EXPECT_TRUE(IsShifted(top, Draw(u"Quote 시세", r, DT_SINGLELINE | DT_VCENTER, f), 0, (81 - 20) / 2));
  EXPECT_TRUE(IsShifted(top, Draw(u"Quote 시세", r, DT_SINGLELINE | DT_BOTTOM, f), 0, 81 - 20));
  // Without DT_SINGLELINE the device ignores vertical alignment.
  EXPECT_TRUE(IsShifted(top, Draw(u"Quote 시세", r, DT_VCENTER, f), 0, 0));

  Surface s(300, 100);
  DeviceContext dc(s);
  dc.SelectFont(f);
  Rect rr = r;
  EXPECT_EQ(dc.DrawText(u"x", rr, DT_SINGLELINE | DT_VCENTER), 30 + 20);
  EXPECT_EQ(dc.DrawText(u"x", rr, DT_SINGLELINE), 20);
  EXPECT_EQ(dc.DrawText(u"", rr, DT_SINGLELINE), 0);
}

TEST(GfxText, TextIsClippedToItsRectangleUnlessNoClip) {
  const Font f(kGothicFace, 32);
  const Rect r{20, 20, 60, 40};  // narrower and lower than the text
  const Rect ink = InkBounds(Draw(u"Samsung Electronics", r, DT_SINGLELINE, f));
  EXPECT_GE(ink.left, r.left);
  EXPECT_LE(ink.right, r.right);
  EXPECT_GE(ink.top, r.top);
  EXPECT_LE(ink.bottom, r.bottom);
  const Rect free_ink = InkBounds(Draw(u"Samsung Electronics", r, DT_SINGLELINE | DT_NOCLIP, f));
  EXPECT_GT(free_ink.right, r.right + 100);
}

TEST(GfxText, ColoursAndOpaqueBackground) {
  const Font f(kGothicFace, 30, FW_BOLD);
  Surface s(100, 40, kBackground);
  DeviceContext dc(s);
  dc.SelectFont(f);
  dc.SetTextColor(RGB(0x2F, 0xFF, 0x6F));
  dc.SetBkMode(TRANSPARENT);
  dc.DrawText(u"I", Rect{0, 0, 100, 40}, DT_SINGLELINE);
  bool full_coverage = false;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 100; ++x) full_coverage |= s.at(x, y) == 0xFF2FFF6Fu;
  EXPECT_TRUE(full_coverage);
  // Opaque: the text box is filled with the background colour first.
  Surface o(100, 40, kBackground);
  DeviceContext dco(o);
  dco.SelectFont(f);
  EXPECT_EQ(dco.SetBkMode(TRANSPARENT), OPAQUE);  // the device's default
  dco.SetBkMode(OPAQUE);
  dco.SetBkColor(RGB(255, 0, 0));
  dco.DrawText(u"I", Rect{0, 0, 100, 40}, DT_SINGLELINE);
  EXPECT_EQ(o.at(0, 0), 0xFFFF0000u);
  EXPECT_EQ(o.at(f.MeasureText(u"I").cx, 0), kBackground);
}

TEST(GfxText, CalcRectBoundsSingleAndWrappedText) {
  const Font f(kGothicFace, 24);
  Surface s(10, 10);
  DeviceContext dc(s);
  dc.SelectFont(f);
  Rect r{5, 7, 400, 8};
  EXPECT_EQ(dc.DrawText(u"삼성전자 Samsung", r, DT_SINGLELINE | DT_CALCRECT), 24);
  EXPECT_EQ(r, (Rect{5, 7, 5 + f.MeasureText(u"삼성전자 Samsung").cx, 31}));
  // Three words that fit two to a line: two lines, as wide as the widest.
  const int two = f.MeasureText(u"alpha beta").cx;
  Rect w{0, 0, two + 2, 0};
  EXPECT_EQ(dc.DrawText(u"alpha beta gamma", w, DT_WORDBREAK | DT_CALCRECT), 48);
  EXPECT_EQ(w, (Rect{0, 0, two, 48}));
  // Explicit line breaks: CR LF, LF and CR; a final break adds no line.
  Rect b{0, 0, 300, 0};
  EXPECT_EQ(dc.DrawText(u"a\r\nb\nc\rd\n", b, DT_CALCRECT), 4 * 24);
  // Nothing is drawn while calculating.
  EXPECT_EQ(InkBounds(s), Rect{});
}

TEST(GfxText, WordWrapBreaksAtSpacesAndEditControlSplitsLongWords) {
  FontInstance& font = *Font(kGothicFace, 20).instance();
  const int word = TextWidth(font, U"종목명", 0);
  TextLayout l = LayoutText(u"종목명 종목명  종목명", Rect{0, 0, 2 * word + 5, 200}, DT_WORDBREAK, font);
  ASSERT_EQ(l.lines.size(), 2u);
  EXPECT_EQ(l.lines[0].text, U32(U"종목명 종목명"));
  EXPECT_EQ(l.lines[1].text, U32(U"종목명"));
  EXPECT_EQ(l.lines[1].y, 20);
  // A word longer than the line stays whole, unless DT_EDITCONTROL.
  l = LayoutText(u"ABCDEFGHIJ", Rect{0, 0, TextWidth(font, U"ABCD", 0), 200}, DT_WORDBREAK, font);
  ASSERT_EQ(l.lines.size(), 1u);
  l = LayoutText(u"ABCDEFGHIJ", Rect{0, 0, TextWidth(font, U"ABCD", 0), 200}, DT_WORDBREAK | DT_EDITCONTROL, font);
  ASSERT_GE(l.lines.size(), 3u);
  EXPECT_EQ(l.lines[0].text, U32(U"ABCD"));
  // Zero width never loops forever.
  l = LayoutText(u"AB CD", Rect{0, 0, 0, 200}, DT_WORDBREAK | DT_EDITCONTROL, font);
  EXPECT_EQ(l.lines.size(), 4u);
}

TEST(GfxText, EndAndWordEllipsis) {
  FontInstance& font = *Font(kGothicFace, 24).instance();
  const Rect r{0, 0, 120, 24};
  for (unsigned flag : {DT_END_ELLIPSIS, DT_WORD_ELLIPSIS}) {
    TextLayout l = LayoutText(u"삼성전자우선주 Samsung Electronics", r, DT_SINGLELINE | flag, font);
    ASSERT_EQ(l.lines.size(), 1u);
    const std::u32string& t = l.lines[0].text;
    ASSERT_GE(t.size(), 4u);
    EXPECT_EQ(t.substr(t.size() - 3), U32(U"..."));
    EXPECT_LE(l.lines[0].width, r.Width());
    EXPECT_EQ(t.substr(0, 2), U32(U"삼성"));
  }
  // Text that fits is left alone.
  TextLayout fits = LayoutText(u"LG", r, DT_SINGLELINE | DT_END_ELLIPSIS, font);
  EXPECT_EQ(fits.lines[0].text, U32(U"LG"));
  // The list's name cell (0x42010): wrapped, the last whole line shown ends
  // with an ellipsis when more text did not fit.
  TextLayout cell =
      LayoutText(u"Korea Electric Power Corporation Holdings", Rect{0, 0, 150, 55}, 0x42010, font);
  ASSERT_EQ(cell.lines.size(), 2u);
  const std::u32string& last = cell.lines[1].text;
  EXPECT_EQ(last.substr(last.size() - 3), U32(U"..."));
  EXPECT_LE(cell.lines[1].width, 150);
  // And it draws no pixel below its rectangle.
  const Rect ink = InkBounds(Draw(u"Korea Electric Power Corporation Holdings", Rect{0, 0, 150, 55}, 0x42010,
                                  Font(kGothicFace, 24)));
  EXPECT_LE(ink.bottom, 55);
}

TEST(GfxText, PrefixCharacters) {
  const Font f(kGothicFace, 24);
  const Rect r{0, 0, 300, 40};
  // "&&" draws one "&"; with DT_NOPREFIX the text is drawn as it is.
  const Surface amp = Draw(u"S&&P 500", r, DT_SINGLELINE, f);
  const Surface plain = Draw(u"S&P 500", r, DT_SINGLELINE | DT_NOPREFIX, f);
  EXPECT_TRUE(IsShifted(plain, amp, 0, 0));
  EXPECT_FALSE(IsShifted(plain, Draw(u"S&&P 500", r, DT_SINGLELINE | DT_NOPREFIX, f), 0, 0));
  Surface s(1, 1);
  DeviceContext dc(s);
  dc.SelectFont(f);
  Rect calc = r;
  dc.DrawText(u"S&&P", calc, DT_SINGLELINE | DT_CALCRECT);
  EXPECT_EQ(calc.Width(), f.MeasureText(u"S&P").cx);
  // "&F" underlines F: the same ink as "F" plus a line under the baseline.
  const Surface mnemonic = Draw(u"&File", r, DT_SINGLELINE, f);
  const Surface word = Draw(u"File", r, DT_SINGLELINE, f);
  const Rect under = InkBounds(mnemonic);
  const Rect letters = InkBounds(word);
  EXPECT_GT(under.bottom, letters.bottom);
  // The underline sits apart from the letters (else "F" would read as "E").
  bool gap_row_clear = true;
  for (int x = under.left; x < under.right; ++x) gap_row_clear &= mnemonic.at(x, letters.bottom) == kBackground;
  EXPECT_TRUE(gap_row_clear);
  EXPECT_TRUE(IsShifted(word, Draw(u"&File", r, DT_SINGLELINE | DT_HIDEPREFIX, f), 0, 0));
  // A lone "&" at the end vanishes.
  EXPECT_TRUE(IsShifted(word, Draw(u"File&", r, DT_SINGLELINE, f), 0, 0));
}

TEST(GfxText, KoreanAndLatinOnOneLine) {
  const Font f(kGothicFace, 32);
  const Surface mixed = Draw(u"코스피 KOSPI 2,500.12 ▲", Rect{0, 0, 300, 40}, DT_SINGLELINE, f);
  const Surface korean = Draw(u"코스피", Rect{0, 0, 300, 40}, DT_SINGLELINE, f);
  const int korean_width = f.MeasureText(u"코스피 ").cx;
  // The Korean part is the same as drawn alone, and the Latin part follows it.
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < korean_width - 2; ++x) ASSERT_EQ(mixed.at(x, y), korean.at(x, y)) << x << "," << y;
  const Surface latin = Draw(u"KOSPI", Rect{korean_width, 0, 300, 40}, DT_SINGLELINE, f);
  const Rect latin_ink = InkBounds(latin);
  for (int y = latin_ink.top; y < latin_ink.bottom; ++y)
    for (int x = latin_ink.left; x < latin_ink.right; ++x) ASSERT_EQ(mixed.at(x, y), latin.at(x, y));
  // One line: everything lies within one line height.
  EXPECT_LE(InkBounds(mixed).Height(), 32);
}

TEST(GfxText, OriginShiftsTextAndTabsExpandOnlyOnRequest) {
  const Font f(kGothicFace, 20);
  Surface a(200, 40, kBackground), b(200, 40, kBackground);
  DeviceContext da(a), db(b, Point{7, 3}, b.bounds());
  for (DeviceContext* dc : {&da, &db}) {
    dc->SelectFont(f);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(kWhite);
    dc->DrawText(u"원/달러", Rect{0, 0, 150, 30}, DT_SINGLELINE);
  }
  EXPECT_TRUE(IsShifted(a, b, 7, 3));
  FontInstance& fi = *f.instance();
  EXPECT_EQ(LayoutText(u"a\tb", Rect{0, 0, 300, 30}, DT_SINGLELINE, fi).lines[0].width,
            TextWidth(fi, U"ab", 0));
  EXPECT_EQ(LayoutText(u"a\tb", Rect{0, 0, 300, 30}, DT_SINGLELINE | DT_EXPANDTABS, fi).lines[0].width,
            8 * fi.average_char_width() + fi.Advance(U'b'));
}

}  // namespace
}  // namespace brantel
