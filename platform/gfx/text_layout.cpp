#include "platform/gfx/text_layout.h"

#include <algorithm>

#include "platform/gfx/device_context.h"
#include "platform/gfx/text_runs.h"

namespace brantel {
namespace {

constexpr char32_t kEllipsis[] = U"...";

struct Unit {
  char32_t c;
  bool underline;
};
using Units = std::vector<Unit>;

// Resolves prefix characters: "&&" is "&", "&x" is x underlined (not
// underlined with DT_HIDEPREFIX), a final lone "&" is dropped.
Units ToUnits(WideView text, unsigned format) {
  Units units;
  units.reserve(text.size());
  const bool prefixes = !(format & DT_NOPREFIX);
  bool underline_next = false;
  for (size_t i = 0; i < text.size();) {
    size_t n = 1;
    const char32_t c = CodePointAt(text, i, &n);
    i += n;
    if (prefixes && c == U'&' && !underline_next) {
      if (i < text.size() && text[i] == u'&') {
        units.push_back({U'&', false});
        ++i;
        continue;
      }
      underline_next = true;
      continue;
    }
    units.push_back({c, underline_next && !(format & DT_HIDEPREFIX)});
    underline_next = false;
  }
  return units;
}

bool IsBreak(char32_t c) { return c == U'\r' || c == U'\n'; }
bool IsSpace(char32_t c) { return c == U' ' || c == U'\t'; }

class Layouter {
 public:
  Layouter(FontInstance& font, unsigned format)
      : font_(font), format_(format), tab_(format & DT_EXPANDTABS ? 8 * font.average_char_width() : 0) {}

  int Width(const Units& u, size_t from, size_t to) const {
    int pen = 0;
    for (size_t i = from; i < to; ++i) pen += TextAdvance(font_, u[i].c, pen, tab_);
    return pen;
  }

  std::vector<Units> Wrap(const Units& p, int width) const {
    std::u32string chars;
    chars.reserve(p.size());
    for (const Unit& u : p) chars.push_back(u.c);
    std::vector<Units> lines;
    const AdvanceFunction advance = [this](char32_t c, int pen) { return TextAdvance(font_, c, pen, tab_); };
    for (const WrapSpan& span : WrapParagraph(chars, width, format_ & DT_EDITCONTROL, advance))
      lines.emplace_back(p.begin() + ptrdiff_t(span.begin), p.begin() + ptrdiff_t(span.end));
    return lines;
  }

  // Cuts `line` so that it and "..." fit in `width`; `more` forces the
  // ellipsis even when the line itself fits (text was cut after it).
  void Ellipsize(Units& line, int width, bool more) const {
    const int full = Width(line, 0, line.size());
    if (!more && full <= width) return;
    const int dots = Width(Units{{U'.', false}, {U'.', false}, {U'.', false}}, 0, 3);
    size_t keep = 0;
    int pen = 0;
    while (keep < line.size()) {
      const int next = pen + TextAdvance(font_, line[keep].c, pen, tab_);
      if (next + dots > width) break;
      pen = next;
      ++keep;
    }
    line.resize(keep);
    while (!line.empty() && IsSpace(line.back().c)) line.pop_back();
    for (const char32_t* d = kEllipsis; *d; ++d) line.push_back({*d, false});
  }

 private:
  FontInstance& font_;
  unsigned format_;
  int tab_;
};

}  // namespace

std::vector<WrapSpan> WrapParagraph(const std::u32string& p, int width, bool split_long_words,
                                    const AdvanceFunction& advance) {
  std::vector<WrapSpan> lines;
  size_t start = 0;
  while (start < p.size()) {
    int pen = 0;
    size_t i = start, last_fit_break = std::string::npos;
    for (; i < p.size(); ++i) {
      if (IsSpace(p[i])) last_fit_break = i;
      const int next = pen + advance(p[i], pen);
      if (next > width && !IsSpace(p[i]) && i > start) break;
      pen = next;
    }
    size_t end = i, resume = i;
    if (i < p.size()) {
      if (last_fit_break != std::string::npos && last_fit_break > start) {
        end = last_fit_break;
        resume = last_fit_break;
      } else if (!split_long_words) {
        // Keep the long word whole: run on to the next space.
        while (end < p.size() && !IsSpace(p[end])) ++end;
        resume = end;
      }
    }
    while (end > start && IsSpace(p[end - 1])) --end;
    while (resume < p.size() && IsSpace(p[resume])) ++resume;
    lines.push_back(WrapSpan{start, end, resume});
    start = resume;
  }
  if (lines.empty()) lines.push_back(WrapSpan{});
  return lines;
}

int TextAdvance(FontInstance& font, char32_t c, int pen, int tab_width) {
  if (c == U'\t') return tab_width > 0 ? (pen / tab_width + 1) * tab_width - pen : 0;
  return font.Advance(c);
}

int TextWidth(FontInstance& font, const std::u32string& text, int tab_width) {
  int pen = 0;
  for (char32_t c : text) pen += TextAdvance(font, c, pen, tab_width);
  return pen;
}

TextLayout LayoutText(WideView text, const Rect& rect, unsigned format, FontInstance& font) {
  TextLayout layout;
  layout.line_height = font.height();
  layout.bounds = {rect.left, rect.top, rect.left, rect.top};
  if (text.empty()) return layout;
  const Layouter layouter(font, format);
  const Units units = ToUnits(text, format);
  const bool single = format & DT_SINGLELINE;
  const bool wrap = !single && (format & DT_WORDBREAK);
  const bool ellipsis = format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS);
  const int width = rect.Width();

  // Paragraphs: one for DT_SINGLELINE (breaks have no width), else split at
  // CR, LF or CR LF; a final break opens no new line.
  std::vector<Units> lines;
  if (single) {
    Units only;
    for (const Unit& u : units)
      if (!IsBreak(u.c)) only.push_back(u);
    lines.push_back(std::move(only));
  } else {
    Units current;
    for (size_t i = 0; i < units.size(); ++i) {
      if (!IsBreak(units[i].c)) {
        current.push_back(units[i]);
        continue;
      }
      if (units[i].c == U'\r' && i + 1 < units.size() && units[i + 1].c == U'\n') ++i;
      if (wrap) {
        for (auto& l : layouter.Wrap(current, width)) lines.push_back(std::move(l));
      } else {
        lines.push_back(std::move(current));
      }
      current.clear();
    }
    if (!current.empty() || lines.empty()) {
      if (wrap) {
        for (auto& l : layouter.Wrap(current, width)) lines.push_back(std::move(l));
      } else {
        lines.push_back(std::move(current));
      }
    }
  }

  const int h = layout.line_height;
  if (!(format & DT_CALCRECT)) {
    // An edit control shows no partly visible last line; what is cut off
    // is marked with an ellipsis on the last line shown.
    bool cut = false;
    if ((format & DT_EDITCONTROL) && !single && lines.size() > 1) {
      const size_t fit = std::max<size_t>(1, size_t(std::max(0, rect.Height()) / std::max(1, h)));
      if (fit < lines.size()) {
        lines.resize(fit);
        cut = true;
      }
    }
    if (ellipsis) {
      for (size_t i = 0; i < lines.size(); ++i) layouter.Ellipsize(lines[i], width, cut && i + 1 == lines.size());
    }
  }

  int y = rect.top;
  const int total = int(lines.size()) * h;
  if (single && (format & DT_VCENTER)) y = rect.top + (rect.Height() - h) / 2;
  else if (single && (format & DT_BOTTOM)) y = rect.bottom - h;
  int widest = 0;
  for (auto& units_line : lines) {
    TextLine line;
    line.text.reserve(units_line.size());
    for (size_t i = 0; i < units_line.size(); ++i) {
      if (units_line[i].underline && line.underline < 0) line.underline = int(i);
      line.text.push_back(units_line[i].c);
    }
    line.width = layouter.Width(units_line, 0, units_line.size());
    widest = std::max(widest, line.width);
    if (format & DT_CENTER) line.x = rect.left + (width - line.width) / 2;
    else if (format & DT_RIGHT) line.x = rect.right - line.width;
    else line.x = rect.left;
    line.y = y;
    y += h;
    layout.lines.push_back(std::move(line));
  }
  layout.bounds = {rect.left, rect.top, rect.left + widest, rect.top + total};
  layout.return_value = (single && (format & (DT_VCENTER | DT_BOTTOM))) ? layout.lines.front().y - rect.top + h : total;
  return layout;
}

}  // namespace brantel
