#pragma once
// The help page's text: headings and rows with their tops before scrolling.

#include <span>

namespace brantel {

struct HelpRow {
  bool heading = false;
  const char16_t* text = u"";
  int top = 0;
};

inline constexpr int kHelpRowHeight = 30;
// The page's content height: the last row and the space above the first.
inline constexpr int kHelpContentHeight = 785 + kHelpRowHeight + 17;

std::span<const HelpRow> HelpRows();

}  // namespace brantel
