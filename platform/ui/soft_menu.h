#pragma once
// The items of a soft-key menu: the bar's two soft keys and the pop-ups under
// them. Built from a menu resource and changed at run time by the owner
// (ticks, inserted and removed items), as the device's menu handles are.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/resources/resource_library.h"
#include "platform/text.h"

namespace brantel {

class SoftMenu;

struct SoftMenuItem {
  WideText caption;
  uint32_t id = 0;         // the command; 0 for separators and pop-ups
  bool separator = false;
  bool checked = false;
  std::shared_ptr<SoftMenu> popup;  // set for an item that opens a pop-up
};

// The id an item reports when it opens a pop-up (the device's -1).
constexpr uint32_t kSoftMenuPopupId = 0xFFFFFFFF;

class SoftMenu {
 public:
  SoftMenu() = default;
  explicit SoftMenu(const ResourceMenu& items);

  size_t ItemCount() const { return items_.size(); }
  // The command of the item at `position`; kSoftMenuPopupId for a pop-up,
  // 0 for a separator or a position past the end.
  uint32_t ItemId(size_t position) const;
  const SoftMenuItem* ItemAt(size_t position) const;
  // The pop-up of the item at `position`; null when it has none.
  SoftMenu* SubMenu(size_t position) const;

  // Ticks or unticks every item with command `id`, here and in pop-ups;
  // false when there is none.
  bool CheckItem(uint32_t id, bool checked);
  bool IsChecked(uint32_t id) const;
  // Inserts before `position` (appends when past the end).
  void InsertItem(size_t position, uint32_t id, WideView caption, bool checked = false);
  void AppendItem(uint32_t id, WideView caption, bool checked = false);
  // Deletes the items with command `id` (here and in pop-ups); false when
  // there is none.
  bool DeleteItem(uint32_t id);
  // Removes the item at `position`; false past the end.
  bool RemoveItem(size_t position);
  void RemoveAll() { items_.clear(); }

  const std::vector<SoftMenuItem>& items() const { return items_; }

 private:
  std::vector<SoftMenuItem> items_;
};

}  // namespace brantel
