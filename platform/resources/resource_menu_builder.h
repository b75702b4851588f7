#pragma once
// Turns a menu's flat run of items (each with its depth) into the tree of
// soft keys and pop-ups, refusing runs whose depths do not form a tree.

#include <span>

#include "platform/resources/resource_abi.h"
#include "platform/resources/resource_library.h"

namespace brantel {

// The deepest pop-up nesting accepted.
constexpr uint32_t kMaxResourceMenuDepth = 8;

// False (and `out` untouched) when the first item is not at depth 0, an item
// is more than one level deeper than the one before it, an item is deeper
// without a pop-up right before it, or the nesting exceeds the limit.
// Separators keep no caption or command; pop-ups keep no command.
bool BuildResourceMenu(std::span<const BrantelMenuItemEntry> items, ResourceMenu& out);

}  // namespace brantel
