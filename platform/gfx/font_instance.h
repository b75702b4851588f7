#pragma once
// One font file at one cell height, with its glyph cache. Shared by every
// Font handle that resolves to the same file, height and emboldening.
//
// The cache is bounded: the ASCII glyphs stay for the instance's life, the
// others are kept up to kGlyphCacheBytesPerFont and the least recently used
// go first, so a font fed every Korean syllable stays small. Glyphs are handed
// out as shared handles, which stay valid after their entry has gone.

#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>


namespace brantel {

class SharedFace;

// A rendered glyph: an 8-bit coverage mask placed relative to the pen
// position on the baseline, and the advance to the next pen position.
struct Glyph {
  int left = 0;  // mask's left edge right of the pen
  int top = 0;   // mask's top row above the baseline
  int width = 0;
  int height = 0;
  int advance = 0;
  std::vector<uint8_t> coverage;  // width * height
};

// Where fontconfig found a face.
struct FontFile {
  std::string path;
  int index = 0;
  bool embolden = false;  // no file of the asked weight: thicken the outlines
  friend bool operator==(const FontFile&, const FontFile&) = default;
};

// Resolves a face name and weight to a file (see font.h for the mapping).
// Empty path when no font at all is installed.
FontFile ResolveFontFile(const std::string& face_utf8, int weight);

// Bytes of the glyphs outside ASCII one instance keeps (masks and
// bookkeeping): about a thousand Korean syllables at 24 pixels.
inline constexpr size_t kGlyphCacheBytesPerFont = size_t(512) << 10;

using GlyphHandle = std::shared_ptr<const Glyph>;

class FontInstance {
 public:
  // The shared instance for a file and cell height; nullptr when FreeType
  // cannot open the file.
  static std::shared_ptr<FontInstance> Get(const FontFile& file, int height);
  ~FontInstance();
  FontInstance(const FontInstance&) = delete;
  FontInstance& operator=(const FontInstance&) = delete;

  int height() const { return height_; }
  int ascent() const { return ascent_; }
  int descent() const { return height_ - ascent_; }
  int average_char_width() const { return average_char_width_; }
  // The underline of a mnemonic: pixels below the baseline, and thickness.
  int underline_offset() const { return underline_offset_; }
  int underline_thickness() const { return underline_thickness_; }
  const FontFile& file() const { return file_; }

  // The glyph of a code point (rendered on first use, then cached). The
  // handle stays valid however the cache changes meanwhile. Thread-safe.
  GlyphHandle GetGlyph(char32_t code_point);
  int Advance(char32_t code_point);

  // Glyphs in the cache, and the bytes the bounded part holds (tests and
  // benchmarks watch the cache).
  size_t cached_glyph_count();
  size_t cached_glyph_bytes();

 private:
  explicit FontInstance(FontFile file, int height);
  bool Open();
  Glyph Render(char32_t code_point);
  // Render from the face at this instance's size; hold face_->mutex().
  // False when the face lacks the character or FreeType fails.
  bool RenderLocked(char32_t code_point, Glyph& out);
  bool RenderIndexLocked(unsigned glyph_index, bool embolden, Glyph& out);

  FontFile file_;
  int height_;
  int ascent_ = 0;
  int average_char_width_ = 0;
  int underline_offset_ = 1;
  int underline_thickness_ = 1;
  std::shared_ptr<SharedFace> face_;  // one per file, shared by its sizes
  void* size_ = nullptr;              // this height's FT_Size of it
  std::mutex mutex_;                  // the glyph cache
  // Looks a glyph up under mutex_ and marks it as just used; null when absent.
  const GlyphHandle* FindLocked(char32_t code_point);

  struct CachedGlyph {
    GlyphHandle glyph;
    std::list<char32_t>::iterator use;  // its place in uses_
  };
  std::array<GlyphHandle, 128> ascii_{};
  std::unordered_map<char32_t, CachedGlyph> glyphs_;
  std::list<char32_t> uses_;  // most recently used first
  size_t glyph_bytes_ = 0;
};

}  // namespace brantel
