#pragma once
// What an edit control holds, apart from its window and its painting: the
// text, the caret and selection, one level of undo, the input-method
// composition on show, the limit, and the line layout with its scrolling.
//
// Positions are UTF-16 indices into the text, as the edit messages use them.
// The caret never stands inside a surrogate pair or a CR LF pair. The
// composition is shown at the caret but is not part of the text; the
// finished character arrives as typed text.
//
// A single-line edit is one line that scrolls horizontally to keep the caret
// in view. A multi-line edit wraps at spaces (a word longer than the width is
// split between characters) exactly as DrawText with DT_WORDBREAK |
// DT_EDITCONTROL does at the same width, and scrolls by lines.

#include <cstddef>
#include <vector>

#include "platform/gfx/font.h"
#include "platform/gfx/geometry.h"
#include "platform/gfx/text_layout.h"
#include "platform/text.h"

namespace brantel {

class EditModel {
 public:
  // Win32's default limit of an edit; EM_LIMITTEXT 0 lifts it.
  static constexpr size_t kDefaultLimit = 30000;
  static constexpr size_t kNoLimit = 0x7FFFFFFE;
  static constexpr int kCaretWidth = 2;

  // One laid-out line: [begin, end) is drawn; the caret may stand from begin
  // to caret_end; the next line starts at next.
  struct Line {
    size_t begin = 0, end = 0, caret_end = 0, next = 0;
  };

  enum class Move { kLeft, kRight, kHome, kEnd, kUp, kDown };

  explicit EditModel(bool multiline = false);

  // Measuring: the advance of each character and the line height. The view
  // is the client size the text lays out and scrolls in.
  void SetMeasure(AdvanceFunction advance, int line_height);
  // Measures with a font's advances and height.
  void SetFont(const Font& font);
  void SetView(int width, int height);
  void SetMultiline(bool multiline);
  bool multiline() const { return multiline_; }

  const WideText& text() const { return text_; }
  // Replaces the whole text (the limit does not apply): caret to 0, undo
  // emptied, as WM_SETTEXT does.
  void SetText(WideView text);
  void SetLimit(size_t limit) { limit_ = limit ? limit : kNoLimit; }
  size_t limit() const { return limit_; }

  size_t caret() const { return caret_; }
  size_t anchor() const { return anchor_; }
  size_t sel_start() const { return std::min(anchor_, caret_); }
  size_t sel_end() const { return std::max(anchor_, caret_); }
  bool HasSelection() const { return anchor_ != caret_; }
  WideText SelectedText() const;
  // EM_SETSEL: start -1 drops the selection (the caret stays); an end of -1
  // or past the text means the end; the caret goes to `end`.
  void SetSelection(long start, long end);
  // The caret to `pos` (snapped to a boundary); `extend` keeps the anchor.
  void PlaceCaret(size_t pos, bool extend);
  void MoveCaret(Move move, bool extend);

  // Edits; each returns whether the text changed. Replacing the selection
  // keeps to the limit (cutting what is inserted) and, in a single-line
  // edit, to the first line of what is inserted.
  bool ReplaceSelection(WideView text);
  // A typed character: printable ones, backspace (8), Enter (CR) and Tab in
  // a multi-line edit; other control characters change nothing.
  bool TypeChar(char16_t c);
  bool DeleteForward();
  // Undo swaps the text with the one before the last change (so a second
  // undo redoes); a run of typing is one change.
  bool Undo();
  bool CanUndo() const { return can_undo_; }
  void EmptyUndo();

  void SetComposition(WideView composing) { composition_ = WideText(composing); }
  const WideText& composition() const { return composition_; }

  const std::vector<Line>& lines() const { return lines_; }
  int LineCount() const { return int(lines_.size()); }
  int line_height() const { return line_height_; }
  size_t LineOf(size_t pos) const;
  // Width of text_[from, to) on one line.
  int Width(size_t from, size_t to) const;
  int CompositionWidth() const;
  // Where the caret is drawn, in unscrolled layout coordinates (after the
  // composition, which stands at the caret).
  Point CaretPoint() const;
  // The position nearest to a point of the view (scrolling applied).
  size_t PositionAt(int x, int y) const;

  void ScrollCaretIntoView();
  int scroll_x() const { return scroll_x_; }
  int top_line() const { return top_line_; }
  int VisibleLines() const;

 private:
  size_t Next(size_t pos) const;
  size_t Prev(size_t pos) const;
  size_t Snap(size_t pos) const;
  size_t PositionInLine(size_t line, int x) const;
  void Replace(size_t from, size_t to, WideView text, bool typing);
  void Layout();

  bool multiline_;
  WideText text_;
  size_t anchor_ = 0, caret_ = 0;
  size_t limit_ = kDefaultLimit;
  WideText undo_text_;
  size_t undo_anchor_ = 0, undo_caret_ = 0;
  bool can_undo_ = false;
  bool typing_run_ = false;  // the last change was typing that ended at the caret
  WideText composition_;
  AdvanceFunction advance_;
  int line_height_ = 20;
  int view_width_ = 0, view_height_ = 0;
  std::vector<Line> lines_;
  int scroll_x_ = 0;
  int top_line_ = 0;
};

}  // namespace brantel
