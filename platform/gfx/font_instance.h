#pragma once
// One font file at one cell height, with its glyph cache. Shared by every
// Font handle that resolves to the same file, height and emboldening.

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gfx/mapped_file.h"

namespace brantel {

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
  // reference stays valid for the life of the instance. Thread-safe.
  const Glyph& GetGlyph(char32_t code_point);
  int Advance(char32_t code_point) { return GetGlyph(code_point).advance; }

  // Number of glyphs rendered so far (tests and benchmarks watch the cache).
  size_t cached_glyph_count();

 private:
  explicit FontInstance(FontFile file, int height);
  bool Open();
  Glyph Render(char32_t code_point);
  bool RenderFromFace(void* face, char32_t code_point, Glyph& out);

  FontFile file_;
  int height_;
  int ascent_ = 0;
  int average_char_width_ = 0;
  int underline_offset_ = 1;
  int underline_thickness_ = 1;
  std::shared_ptr<const MappedFile> file_data_;  // the face reads it; one mapping per file
  void* face_ = nullptr;  // FT_Face, kept out of this header
  std::mutex mutex_;
  std::array<const Glyph*, 128> ascii_{};
  std::unordered_map<char32_t, std::unique_ptr<Glyph>> glyphs_;
};

}  // namespace brantel
