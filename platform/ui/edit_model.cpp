#include "platform/ui/edit_model.h"

#include <algorithm>

#include "platform/gfx/font_instance.h"
#include "platform/gfx/text_runs.h"

namespace brantel {
namespace {

bool IsBreak(char16_t c) { return c == u'\r' || c == u'\n'; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// Length of the line break at `pos` (CR LF, CR or LF), 0 when none.
size_t BreakLength(WideView text, size_t pos) {
  if (pos >= text.size() || !IsBreak(text[pos])) return 0;
  return text[pos] == u'\r' && pos + 1 < text.size() && text[pos + 1] == u'\n' ? 2 : 1;
}

}  // namespace

EditModel::EditModel(bool multiline) : multiline_(multiline) { Layout(); }

void EditModel::SetMeasure(AdvanceFunction advance, int line_height) {
  advance_ = std::move(advance);
  line_height_ = std::max(1, line_height);
  Layout();
}

void EditModel::SetFont(const Font& font) {
  std::shared_ptr<FontInstance> instance = font.instance();
  AdvanceFunction advance;
  if (instance) advance = [instance](char32_t c, int pen) { return TextAdvance(*instance, c, pen, 0); };
  SetMeasure(std::move(advance), font.height());
}

void EditModel::SetView(int width, int height) {
  view_width_ = std::max(0, width);
  view_height_ = std::max(0, height);
  Layout();
  ScrollCaretIntoView();
}

void EditModel::SetMultiline(bool multiline) {
  multiline_ = multiline;
  Layout();
}

void EditModel::SetText(WideView text) {
  text_ = WideText(text);
  anchor_ = caret_ = 0;
  EmptyUndo();
  scroll_x_ = top_line_ = 0;
  Layout();
}

WideText EditModel::SelectedText() const { return text_.substr(sel_start(), sel_end() - sel_start()); }

void EditModel::SetSelection(long start, long end) {
  typing_run_ = false;
  const size_t size = text_.size();
  const size_t to = end < 0 || size_t(end) > size ? size : size_t(end);
  if (start < 0) {
    anchor_ = caret_;
    return;
  }
  anchor_ = Snap(std::min(size_t(start), size));
  caret_ = Snap(to);
}

void EditModel::PlaceCaret(size_t pos, bool extend) {
  typing_run_ = false;
  caret_ = Snap(std::min(pos, text_.size()));
  if (!extend) anchor_ = caret_;
}

void EditModel::MoveCaret(Move move, bool extend) {
  size_t pos = caret_;
  const size_t line = LineOf(caret_);
  switch (move) {
    case Move::kLeft:
      pos = HasSelection() && !extend ? sel_start() : Prev(caret_);
      break;
    case Move::kRight:
      pos = HasSelection() && !extend ? sel_end() : Next(caret_);
      break;
    case Move::kHome:
      pos = lines_[line].begin;
      break;
    case Move::kEnd:
      pos = lines_[line].caret_end;
      break;
    case Move::kUp:
      if (line > 0) pos = PositionInLine(line - 1, CaretPoint().x - CompositionWidth());
      break;
    case Move::kDown:
      if (line + 1 < lines_.size()) pos = PositionInLine(line + 1, CaretPoint().x - CompositionWidth());
      break;
  }
  PlaceCaret(pos, extend);
}

bool EditModel::ReplaceSelection(WideView text) {
  WideText insert(text);
  if (!multiline_) {
    const size_t cut = insert.find_first_of(u"\r\n");
    if (cut != WideText::npos) insert.resize(cut);
  }
  const size_t kept = text_.size() - (sel_end() - sel_start());
  const size_t room = limit_ > kept ? limit_ - kept : 0;
  if (insert.size() > room) {
    insert.resize(room);
    if (!insert.empty() && IsHighSurrogate(insert.back())) insert.pop_back();
  }
  if (insert.empty() && !HasSelection()) return false;
  Replace(sel_start(), sel_end(), insert, false);
  return true;
}

bool EditModel::TypeChar(char16_t c) {
  if (c == 8) {
    if (HasSelection()) {
      Replace(sel_start(), sel_end(), u"", false);
      return true;
    }
    if (caret_ == 0) return false;
    Replace(Prev(caret_), caret_, u"", false);
    return true;
  }
  WideText insert;
  if (c == u'\r' || c == u'\n') {
    if (!multiline_) return false;
    insert = u"\r\n";
  } else if (c == u'\t') {
    if (!multiline_) return false;
    insert = u"\t";
  } else if (c < 0x20 || c == 0x7F) {
    return false;
  } else {
    insert.assign(1, c);
  }
  const size_t kept = text_.size() - (sel_end() - sel_start());
  if (kept + insert.size() > limit_) return false;
  Replace(sel_start(), sel_end(), insert, true);
  return true;
}

bool EditModel::DeleteForward() {
  if (HasSelection()) {
    Replace(sel_start(), sel_end(), u"", false);
    return true;
  }
  if (caret_ >= text_.size()) return false;
  Replace(caret_, Next(caret_), u"", false);
  return true;
}

bool EditModel::Undo() {
  if (!can_undo_) return false;
  std::swap(text_, undo_text_);
  std::swap(anchor_, undo_anchor_);
  std::swap(caret_, undo_caret_);
  typing_run_ = false;
  Layout();
  ScrollCaretIntoView();
  return true;
}

void EditModel::EmptyUndo() {
  can_undo_ = false;
  typing_run_ = false;
  undo_text_.clear();
  undo_anchor_ = undo_caret_ = 0;
}

void EditModel::Replace(size_t from, size_t to, WideView text, bool typing) {
  // A run of typing without a selection is one change: keep its undo state.
  if (!(typing && typing_run_ && from == to && from == caret_)) {
    undo_text_ = text_;
    undo_anchor_ = anchor_;
    undo_caret_ = caret_;
    can_undo_ = true;
  }
  text_.replace(from, to - from, text);
  anchor_ = caret_ = from + text.size();
  typing_run_ = typing;
  Layout();
  ScrollCaretIntoView();
}

size_t EditModel::Next(size_t pos) const {
  if (pos >= text_.size()) return text_.size();
  if (size_t n = BreakLength(text_, pos)) return pos + n;
  return pos + (IsHighSurrogate(text_[pos]) && pos + 1 < text_.size() && IsLowSurrogate(text_[pos + 1]) ? 2 : 1);
}

size_t EditModel::Prev(size_t pos) const {
  if (pos == 0) return 0;
  if (pos >= 2 && text_[pos - 1] == u'\n' && text_[pos - 2] == u'\r') return pos - 2;
  if (pos >= 2 && IsLowSurrogate(text_[pos - 1]) && IsHighSurrogate(text_[pos - 2])) return pos - 2;
  return pos - 1;
}

size_t EditModel::Snap(size_t pos) const {
  if (pos == 0 || pos >= text_.size()) return std::min(pos, text_.size());
  const bool inside_pair = (text_[pos - 1] == u'\r' && text_[pos] == u'\n') ||
                           (IsHighSurrogate(text_[pos - 1]) && IsLowSurrogate(text_[pos]));
  return inside_pair ? pos - 1 : pos;
}

int EditModel::Width(size_t from, size_t to) const {
  if (!advance_ || from >= to) return 0;
  int pen = 0;
  ForEachCodePoint(WideView(text_).substr(from, to - from), [&](char32_t c) { pen += advance_(c, pen); });
  return pen;
}

int EditModel::CompositionWidth() const {
  if (!advance_) return 0;
  int pen = 0;
  ForEachCodePoint(composition_, [&](char32_t c) { pen += advance_(c, pen); });
  return pen;
}

void EditModel::Layout() {
  lines_.clear();
  if (!multiline_) {
    lines_.push_back(Line{0, text_.size(), text_.size(), text_.size()});
    return;
  }
  const AdvanceFunction advance = advance_ ? advance_ : [](char32_t, int) { return 0; };
  size_t start = 0;
  while (true) {
    size_t stop = start;
    while (stop < text_.size() && !IsBreak(text_[stop])) ++stop;
    // The paragraph as code points, with the UTF-16 index of each.
    std::u32string chars;
    std::vector<size_t> index;
    for (size_t i = start; i < stop;) {
      size_t units = 1;
      chars.push_back(CodePointAt(text_, i, &units));
      index.push_back(i);
      i += units;
    }
    index.push_back(stop);
    const auto spans = WrapParagraph(chars, std::max(1, view_width_), true, advance);
    const size_t after = stop + BreakLength(text_, stop);
    for (size_t s = 0; s < spans.size(); ++s) {
      const bool last = s + 1 == spans.size();
      Line line;
      line.begin = index[spans[s].begin];
      line.end = index[spans[s].end];
      line.caret_end = last ? stop : line.end;
      line.next = last ? after : index[spans[s].next];
      lines_.push_back(line);
    }
    if (stop >= text_.size()) break;
    start = after;
    if (start >= text_.size()) {  // a final break opens an empty last line
      lines_.push_back(Line{start, start, start, start});
      break;
    }
  }
  top_line_ = std::min(top_line_, int(lines_.size()) - 1);
}

size_t EditModel::LineOf(size_t pos) const {
  // The last line that starts at or before it: a position where a wrapped
  // line ends and the next begins stands at the start of the next.
  size_t line = 0;
  while (line + 1 < lines_.size() && lines_[line + 1].begin <= pos) ++line;
  return line;
}

Point EditModel::CaretPoint() const {
  const size_t line = LineOf(caret_);
  return Point{Width(lines_[line].begin, caret_) + CompositionWidth(), int(line) * line_height_};
}

size_t EditModel::PositionInLine(size_t line, int x) const {
  const Line& l = lines_[line];
  size_t pos = l.begin;
  int pen = 0;
  while (pos < l.caret_end) {
    const size_t next = Next(pos);
    const int w = Width(pos, next);
    if (pen + w / 2 > x) break;
    pen += w;
    pos = next;
  }
  return pos;
}

size_t EditModel::PositionAt(int x, int y) const {
  int line = multiline_ ? top_line_ + (y < 0 ? -1 : y / line_height_) : 0;
  line = std::clamp(line, 0, int(lines_.size()) - 1);
  return PositionInLine(size_t(line), x + scroll_x_);
}

int EditModel::VisibleLines() const { return std::max(1, view_height_ / line_height_); }

void EditModel::ScrollCaretIntoView() {
  if (multiline_) {
    scroll_x_ = 0;
    const int line = int(LineOf(caret_));
    if (line < top_line_) top_line_ = line;
    if (line >= top_line_ + VisibleLines()) top_line_ = line - VisibleLines() + 1;
    return;
  }
  const int x = CaretPoint().x;
  if (x < scroll_x_) scroll_x_ = std::max(0, x - view_width_ / 4);
  if (x + kCaretWidth > scroll_x_ + view_width_) scroll_x_ = x + kCaretWidth - view_width_;
  // Never leave empty room at the right while text is scrolled out at the left.
  const int content = Width(0, text_.size()) + CompositionWidth() + kCaretWidth;
  scroll_x_ = std::clamp(scroll_x_, 0, std::max(0, content - view_width_));
}

}  // namespace brantel
