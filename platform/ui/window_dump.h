#pragma once
// A text dump of the window tree, for tests that should not depend on pixels:
// one line per window, children indented under their parent, top-level
// windows bottom to top:
//   Dialog id=0 (0,52)-(480,800) visible active "제목"
//     Mobile List id=10 (0,88)-(480,748) visible ""

#include <string>

#include "platform/ui/ui_types.h"

namespace brantel {

// The whole tree of this process; with `root`, only that window's subtree.
std::string DumpWindowTree(HWND root = 0);

}  // namespace brantel
