#include "platform/resources/resource_menu_builder.h"

#include <cstring>

namespace brantel {

namespace {

constexpr size_t kMaxCaptionBytes = 4096;

WideText Caption(const char* utf8) {
  if (!utf8) return {};
  return Widen(std::string_view(utf8, strnlen(utf8, kMaxCaptionBytes)));
}

bool ShapeIsValid(std::span<const BrantelMenuItemEntry> items) {
  for (size_t i = 0; i < items.size(); ++i) {
    uint32_t depth = items[i].depth;
    if (depth > kMaxResourceMenuDepth) return false;
    uint32_t allowed = 0;
    if (i > 0) allowed = items[i - 1].depth + ((items[i - 1].flags & BRANTEL_MENU_ITEM_POPUP) ? 1 : 0);
    if (depth > allowed) return false;
  }
  return true;
}

// Builds the items at `depth` from `pos` on, leaving `pos` after them. The
// shape check bounds the recursion by kMaxResourceMenuDepth.
ResourceMenu BuildLevel(std::span<const BrantelMenuItemEntry> items, size_t& pos, uint32_t depth) {
  ResourceMenu level;
  while (pos < items.size() && items[pos].depth == depth) {
    const BrantelMenuItemEntry& entry = items[pos++];
    ResourceMenuItem item;
    item.separator = (entry.flags & BRANTEL_MENU_ITEM_SEPARATOR) != 0;
    item.popup = !item.separator && (entry.flags & BRANTEL_MENU_ITEM_POPUP) != 0;
    if (!item.separator) {
      item.caption = Caption(entry.caption_utf8);
      item.command = item.popup ? 0 : entry.command;
    }
    // A separator flagged as a pop-up as well still owns the items below it
    // in the run; they are dropped with it rather than moved up a level.
    if (entry.flags & BRANTEL_MENU_ITEM_POPUP) {
      ResourceMenu children = BuildLevel(items, pos, depth + 1);
      if (item.popup) item.items = std::move(children);
    }
    level.push_back(std::move(item));
  }
  return level;
}

}  // namespace

bool BuildResourceMenu(std::span<const BrantelMenuItemEntry> items, ResourceMenu& out) {
  if (!ShapeIsValid(items)) return false;
  size_t pos = 0;
  ResourceMenu menu = BuildLevel(items, pos, 0);
  if (pos != items.size()) return false;  // every item belongs somewhere
  out = std::move(menu);
  return true;
}

}  // namespace brantel
