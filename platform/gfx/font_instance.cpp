#include "platform/gfx/font_instance.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cstring>
#include <map>
#include <tuple>

#include "platform/debug.h"
#include "platform/gfx/shared_face.h"

namespace brantel {
namespace {

std::mutex& FontconfigMutex() {
  static std::mutex m;
  return m;
}

// The gothic face of the system's screens and its Linux family.
constexpr const char* kGothicFamily = "NanumGothic";

bool IsGothicFaceName(const std::string& face) {
  return face.empty() || EqualsNoCaseNarrow(face, "Brantel gothic") || face == "벨탄고딕";
}

struct Match {
  std::string path;
  int index = 0;
  int weight = 0;  // OpenType scale
  std::vector<std::string> families;  // every name fontconfig lists
};

// Asks fontconfig for the best file of `family` at `weight` (OpenType
// scale), optionally one that holds `code_point`.
Match QueryFontconfig(const std::string& family, int weight, char32_t code_point = 0) {
  std::lock_guard lock(FontconfigMutex());
  Match match;
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return match;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddDouble(pattern, FC_WEIGHT, FcWeightFromOpenTypeDouble(weight));
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcCharSet* chars = nullptr;
  if (code_point) {
    chars = FcCharSetCreate();
    FcCharSetAddChar(chars, code_point);
    FcPatternAddCharSet(pattern, FC_CHARSET, chars);
  }
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* found = FcFontMatch(nullptr, pattern, &result);
  if (found) {
    FcChar8* file = nullptr;
    FcChar8* fam = nullptr;
    int index = 0;
    double w = 0;
    FcCharSet* has = nullptr;
    const bool covers = !code_point || (FcPatternGetCharSet(found, FC_CHARSET, 0, &has) == FcResultMatch &&
                                        FcCharSetHasChar(has, code_point));
    if (covers && FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch) {
      match.path = reinterpret_cast<const char*>(file);
      if (FcPatternGetInteger(found, FC_INDEX, 0, &index) == FcResultMatch) match.index = index;
      if (FcPatternGetDouble(found, FC_WEIGHT, 0, &w) == FcResultMatch) match.weight = int(FcWeightToOpenTypeDouble(w));
      for (int i = 0; FcPatternGetString(found, FC_FAMILY, i, &fam) == FcResultMatch; ++i)
        match.families.emplace_back(reinterpret_cast<const char*>(fam));
    }
    FcPatternDestroy(found);
  }
  if (chars) FcCharSetDestroy(chars);
  FcPatternDestroy(pattern);
  return match;
}

// True when fontconfig's answer is the family asked for rather than its
// general fallback. A family has several names (Latin and Korean).
bool MatchIsFamily(const Match& m, const std::string& family) {
  for (const auto& name : m.families)
    if (EqualsNoCaseNarrow(name, family)) return true;
  return false;
}

}  // namespace

namespace {

FontFile ResolveUncached(const std::string& face_utf8, int weight) {
  const std::string family = IsGothicFaceName(face_utf8) ? kGothicFamily : face_utf8;
  Match m = QueryFontconfig(family, weight);
  if (family != kGothicFamily && !MatchIsFamily(m, family)) {
    // A face name the system does not know draws in the gothic face, as
    // the device's font mapper falls back to its system face.
    Match gothic = QueryFontconfig(kGothicFamily, weight);
    if (!gothic.path.empty()) m = gothic;
  }
  FontFile file{m.path, m.index, false};
  // NanumGothic's extra-bold file is optional; without it 900 thickens the
  // bold one, and any bold without a bold file thickens the regular one.
  if ((weight >= 800 && m.weight < 750) || (weight >= 600 && m.weight < 550)) file.embolden = true;
  return file;
}

}  // namespace

// Asking fontconfig takes far longer than drawing a line of text, and
// screens create fonts while painting, so answers are kept.
FontFile ResolveFontFile(const std::string& face_utf8, int weight) {
  static std::mutex mutex;
  static std::map<std::pair<std::string, int>, FontFile> resolved;
  const auto key = std::make_pair(face_utf8, weight);
  {
    std::lock_guard lock(mutex);
    auto it = resolved.find(key);
    if (it != resolved.end()) return it->second;
  }
  FontFile file = ResolveUncached(face_utf8, weight);
  std::lock_guard lock(mutex);
  // Bounded: a program uses a handful of faces and weights.
  if (resolved.size() < 256) resolved.emplace(key, file);
  return file;
}

std::shared_ptr<FontInstance> FontInstance::Get(const FontFile& file, int height) {
  static std::mutex registry_mutex;
  static std::map<std::tuple<std::string, int, bool, int>, std::shared_ptr<FontInstance>> registry;
  if (file.path.empty()) return nullptr;
  std::lock_guard lock(registry_mutex);
  const auto key = std::make_tuple(file.path, file.index, file.embolden, height);
  auto it = registry.find(key);
  if (it != registry.end()) return it->second;
  std::shared_ptr<FontInstance> instance(new FontInstance(file, height));
  if (!instance->Open()) return nullptr;
  registry.emplace(key, instance);
  return instance;
}

FontInstance::FontInstance(FontFile file, int height) : file_(std::move(file)), height_(height) {}

FontInstance::~FontInstance() {
  if (face_ && size_) {
    std::lock_guard lock(face_->mutex());
    face_->DoneSize(size_);
  }
}

bool FontInstance::Open() {
  face_ = SharedFace::Open(file_.path, file_.index);
  if (!face_) {
    DebugOutput("font file could not be opened: " + file_.path + "\n");
    return false;
  }
  std::lock_guard lock(face_->mutex());
  size_ = face_->NewSize();
  FT_Face face = static_cast<FT_Face>(face_->face());
  if (!size_ || FT_Activate_Size(static_cast<FT_Size>(size_)) != 0) return false;
  // The cell height (win ascent + win descent) is the font height, as on
  // the device; fall back to the em size for fonts without those metrics.
  FT_Size_RequestRec request{};
  request.type = FT_SIZE_REQUEST_TYPE_CELL;
  request.height = FT_Long(height_) * 64;
  if (FT_Request_Size(face, &request) != 0 && FT_Set_Pixel_Sizes(face, 0, FT_UInt(height_)) != 0) return false;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  double up = face->ascender, down = -face->descender;
  if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
    up = os2->usWinAscent;
    down = os2->usWinDescent;
  }
  ascent_ = up + down > 0 ? int(height_ * up / (up + down) + 0.5) : height_ * 4 / 5;
  if (FT_IS_SCALABLE(face)) {
    const FT_Fixed scale = face->size->metrics.y_scale;
    underline_offset_ = std::max(1, int((-FT_MulFix(face->underline_position, scale) + 32) >> 6));
    underline_thickness_ = std::max(1, int((FT_MulFix(face->underline_thickness, scale) + 32) >> 6));
    underline_offset_ = std::min(underline_offset_, std::max(1, height_ - ascent_ - underline_thickness_));
  }
  // Average width over the lower-case Latin letters.
  int total = 0;
  for (char32_t c = U'a'; c <= U'z'; ++c) {
    Glyph g;
    if (RenderLocked(c, g)) total += g.advance;
  }
  average_char_width_ = std::max(1, (total + 13) / 26);
  return true;
}

bool FontInstance::RenderLocked(char32_t code_point, Glyph& out) {
  const FT_UInt index = FT_Get_Char_Index(static_cast<FT_Face>(face_->face()), code_point);
  return index != 0 && RenderIndexLocked(index, file_.embolden, out);
}

bool FontInstance::RenderIndexLocked(unsigned index, bool embolden, Glyph& out) {
  FT_Face face = static_cast<FT_Face>(face_->face());
  if (FT_Activate_Size(static_cast<FT_Size>(size_)) != 0) return false;
  if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_LIGHT) != 0) return false;
  FT_GlyphSlot slot = face->glyph;
  if (embolden && slot->format == FT_GLYPH_FORMAT_OUTLINE) FT_GlyphSlot_Embolden(slot);
  out.advance = int((slot->advance.x + 32) >> 6);
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return true;  // keep the advance
  const FT_Bitmap& bitmap = slot->bitmap;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.width == 0 || bitmap.rows == 0) return true;
  out.left = slot->bitmap_left;
  out.top = slot->bitmap_top;
  out.width = int(bitmap.width);
  out.height = int(bitmap.rows);
  out.coverage.resize(size_t(out.width) * size_t(out.height));
  for (int y = 0; y < out.height; ++y) {
    const unsigned char* row = bitmap.buffer + ptrdiff_t(y) * bitmap.pitch;
    std::memcpy(out.coverage.data() + size_t(y) * size_t(out.width), row, size_t(out.width));
  }
  return true;
}

Glyph FontInstance::Render(char32_t code_point) {
  Glyph glyph;
  // Control characters have no shape and no width.
  if (code_point < 0x20 || code_point == 0x7F) return glyph;
  {
    std::lock_guard lock(face_->mutex());
    if (RenderLocked(code_point, glyph)) return glyph;
  }
  // A character this face lacks comes from a font that has it (no lock of
  // ours is held while the other instance renders).
  const Match m = QueryFontconfig("sans-serif", 400, code_point);
  if (!m.path.empty() && !(m.path == file_.path && m.index == file_.index)) {
    if (auto other = Get(FontFile{m.path, m.index, file_.embolden}, height_)) {
      std::lock_guard lock(other->face_->mutex());
      if (other->RenderLocked(code_point, glyph)) return glyph;
    }
  }
  // Nothing has it: the face's missing-glyph box, as the face draws it.
  std::lock_guard lock(face_->mutex());
  RenderIndexLocked(0, false, glyph);
  return glyph;
}

namespace {

// What a cached glyph costs: its mask plus the entry, list node and handle.
size_t GlyphBytes(const Glyph& glyph) { return sizeof(Glyph) + glyph.coverage.size() + 96; }

}  // namespace

const GlyphHandle* FontInstance::FindLocked(char32_t code_point) {
  if (code_point < 128) return ascii_[code_point] ? &ascii_[code_point] : nullptr;
  const auto it = glyphs_.find(code_point);
  if (it == glyphs_.end()) return nullptr;
  uses_.splice(uses_.begin(), uses_, it->second.use);
  return &it->second.glyph;
}

GlyphHandle FontInstance::GetGlyph(char32_t code_point) {
  {
    std::lock_guard lock(mutex_);
    if (const GlyphHandle* found = FindLocked(code_point)) return *found;
  }
  auto glyph = std::make_shared<const Glyph>(Render(code_point));
  std::lock_guard lock(mutex_);
  // Another thread may have rendered it meanwhile: keep the first.
  if (const GlyphHandle* found = FindLocked(code_point)) return *found;
  if (code_point < 128) return ascii_[code_point] = glyph;
  uses_.push_front(code_point);
  glyphs_.emplace(code_point, CachedGlyph{glyph, uses_.begin()});
  glyph_bytes_ += GlyphBytes(*glyph);
  while (glyph_bytes_ > kGlyphCacheBytesPerFont && uses_.size() > 1) {
    const auto oldest = glyphs_.find(uses_.back());
    glyph_bytes_ -= GlyphBytes(*oldest->second.glyph);
    glyphs_.erase(oldest);
    uses_.pop_back();
  }
  return glyph;
}

int FontInstance::Advance(char32_t code_point) {
  {
    std::lock_guard lock(mutex_);
    if (const GlyphHandle* found = FindLocked(code_point)) return (*found)->advance;
  }
  return GetGlyph(code_point)->advance;
}

size_t FontInstance::cached_glyph_count() {
  std::lock_guard lock(mutex_);
  return glyphs_.size() + size_t(std::count_if(ascii_.begin(), ascii_.end(), [](const GlyphHandle& g) { return g != nullptr; }));
}

size_t FontInstance::cached_glyph_bytes() {
  std::lock_guard lock(mutex_);
  return glyph_bytes_;
}

}  // namespace brantel
