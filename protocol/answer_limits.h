#pragma once
// What one answer of the information server may put on screen and into the
// cache. A hostile or broken server can send up to the transport's 64 MiB;
// these bounds keep the viewer's memory to what a screen can show.

#include <cstddef>

namespace brantel {

// Rows of one list answer (the longest real list, a ranking, has 3,000), and
// daily rows of a detail answer. Rows past it are dropped, the first kept.
inline constexpr size_t kMaxAnswerRows = 5000;
// Characters of one text field (a name, a price, a header text). Real names
// have at most a few dozen; a longer text keeps its start.
inline constexpr size_t kMaxFieldChars = 64;

}  // namespace brantel
