// Menu runs of the resource library built from arbitrary bytes: every 4
// bytes make one item (depth, flags, command, caption choice). A run is
// either refused or becomes a tree that holds every item exactly once.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/resources/resource_menu_builder.h"

namespace {

size_t CountItems(const brantel::ResourceMenu& menu, size_t depth, size_t& deepest) {
  if (depth > deepest) deepest = depth;
  size_t count = 0;
  for (const auto& item : menu) {
    if ((item.separator || item.popup == false) && !item.items.empty()) std::abort();
    if (item.popup && item.command != 0) std::abort();
    count += 1 + CountItems(item.items, depth + 1, deepest);
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const char* const kCaptions[] = {nullptr, "", "메뉴", "새로고침", "\xff\xfe broken utf-8"};
  std::vector<BrantelMenuItemEntry> items;
  for (size_t i = 0; i + 4 <= size && items.size() < 4096; i += 4) {
    BrantelMenuItemEntry e{};
    e.depth = data[i] % 12;
    e.flags = data[i + 1] & 3;
    e.command = uint32_t(data[i + 2]) * 257;
    e.caption_utf8 = kCaptions[data[i + 3] % 5];
    items.push_back(e);
  }
  brantel::ResourceMenu menu;
  if (!brantel::BuildResourceMenu(items, menu)) return 0;
  size_t deepest = 0;
  size_t kept = CountItems(menu, 0, deepest);
  // Separators that were flagged as pop-ups drop their items, so the tree
  // may hold fewer; it never holds more, nor nests beyond the limit.
  if (kept > items.size() || deepest > brantel::kMaxResourceMenuDepth + 1) std::abort();
  return 0;
}
