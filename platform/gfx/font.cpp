#include "platform/gfx/font.h"

#include <algorithm>

#include "platform/gfx/font_instance.h"
#include "platform/gfx/text_runs.h"

namespace brantel {

Font::Font(WideView face, int height, int weight)
    : face_(std::make_shared<const WideText>(face)), weight_(weight) {
  height = std::clamp(height, 1, 512);
  instance_ = FontInstance::Get(ResolveFontFile(Narrow(face), weight), height);
}

int Font::height() const { return instance_ ? instance_->height() : 0; }
int Font::weight() const { return weight_; }
WideText Font::face() const { return face_ ? *face_ : WideText(); }
int Font::ascent() const { return instance_ ? instance_->ascent() : 0; }
int Font::descent() const { return instance_ ? instance_->descent() : 0; }
int Font::average_char_width() const { return instance_ ? instance_->average_char_width() : 0; }

Size Font::MeasureText(WideView text) const {
  if (!instance_) return {};
  int width = 0;
  ForEachCodePoint(text, [&](char32_t c) { width += instance_->Advance(c); });
  return {width, instance_->height()};
}

const Font& DefaultFont() {
  static const Font font(kGothicFace, 20, FW_NORMAL);
  return font;
}

}  // namespace brantel
