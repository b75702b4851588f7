#pragma once
// Fonts: a face, a cell height in pixels and a weight, rendered antialiased
// through FreeType from files that fontconfig finds.
//
// The system's gothic face ("Brantel gothic", also written "벨탄고딕") is
// NanumGothic: weight 700 and up takes its bold file, 900 and up its
// extra-bold file (or the bold one thickened when that file is missing).
// Any other face name goes to fontconfig as it is; a face it cannot find
// falls back to the gothic face. Characters the face lacks are taken from a
// fontconfig fallback font.
//
// The height is the cell height (ascent + descent), as a positive LOGFONT
// height on the device: a 24-pixel font puts its lines 24 pixels apart.
//
// Font objects are cheap handles; all handles of one face file, height and
// weight share one glyph cache (rendered coverage masks and advances), which
// makes repeated text about ten times cheaper to draw.

#include <cstdint>
#include <memory>

#include "platform/gfx/geometry.h"
#include "platform/text.h"

namespace brantel {

constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;
constexpr int FW_HEAVY = 900;

// The face name every screen uses.
inline constexpr char16_t kGothicFace[] = u"Brantel gothic";

class FontInstance;  // the shared, cached face at one size (font_cache.h)

class Font {
 public:
  // A null font; a device context draws with the default font instead.
  Font() = default;
  // Never fails while any font is installed; check valid() to be sure.
  Font(WideView face, int height, int weight = FW_NORMAL);

  bool valid() const { return instance_ != nullptr; }
  explicit operator bool() const { return valid(); }

  // As asked for (the height is clamped to 1..512).
  int height() const;
  int weight() const;
  WideText face() const;
  // Pixels above and below the baseline; ascent() + descent() == height().
  int ascent() const;
  int descent() const;
  // Average width of a lower-case Latin letter (tab stops use it).
  int average_char_width() const;

  // Width of one line of text (no line breaks or prefixes interpreted) and
  // the font height.
  Size MeasureText(WideView text) const;

  const std::shared_ptr<FontInstance>& instance() const { return instance_; }

  friend bool operator==(const Font& a, const Font& b) { return a.instance_ == b.instance_; }

 private:
  std::shared_ptr<FontInstance> instance_;
  // Shared by the copies: lists keep one copy of a font per cell.
  std::shared_ptr<const WideText> face_;
  int weight_ = FW_NORMAL;
};

// The font a device context uses until another one is selected: the gothic
// face at 20 pixels, weight 400.
const Font& DefaultFont();

}  // namespace brantel
