#include "platform/ui/soft_menu.h"

#include <algorithm>

namespace brantel {

SoftMenu::SoftMenu(const ResourceMenu& items) {
  for (const ResourceMenuItem& r : items) {
    SoftMenuItem item;
    item.caption = r.caption;
    item.separator = r.separator;
    if (r.popup)
      item.popup = std::make_shared<SoftMenu>(r.items);
    else if (!r.separator)
      item.id = r.command;
    items_.push_back(std::move(item));
  }
}

uint32_t SoftMenu::ItemId(size_t position) const {
  const SoftMenuItem* item = ItemAt(position);
  if (!item) return 0;
  return item->popup ? kSoftMenuPopupId : item->id;
}

const SoftMenuItem* SoftMenu::ItemAt(size_t position) const {
  return position < items_.size() ? &items_[position] : nullptr;
}

SoftMenu* SoftMenu::SubMenu(size_t position) const {
  const SoftMenuItem* item = ItemAt(position);
  return item ? item->popup.get() : nullptr;
}

bool SoftMenu::CheckItem(uint32_t id, bool checked) {
  bool found = false;
  for (SoftMenuItem& item : items_) {
    if (item.popup) found |= item.popup->CheckItem(id, checked);
    else if (!item.separator && item.id == id) {
      item.checked = checked;
      found = true;
    }
  }
  return found;
}

bool SoftMenu::IsChecked(uint32_t id) const {
  for (const SoftMenuItem& item : items_) {
    if (item.popup && item.popup->IsChecked(id)) return true;
    if (!item.popup && !item.separator && item.id == id && item.checked) return true;
  }
  return false;
}

void SoftMenu::InsertItem(size_t position, uint32_t id, WideView caption, bool checked) {
  SoftMenuItem item;
  item.caption = WideText(caption);
  item.id = id;
  item.checked = checked;
  items_.insert(items_.begin() + std::min(position, items_.size()), std::move(item));
}

void SoftMenu::AppendItem(uint32_t id, WideView caption, bool checked) { InsertItem(items_.size(), id, caption, checked); }

bool SoftMenu::DeleteItem(uint32_t id) {
  bool found = false;
  for (SoftMenuItem& item : items_)
    if (item.popup) found |= item.popup->DeleteItem(id);
  size_t before = items_.size();
  std::erase_if(items_, [&](const SoftMenuItem& item) { return !item.popup && !item.separator && item.id == id; });
  return found || items_.size() != before;
}

bool SoftMenu::RemoveItem(size_t position) {
  if (position >= items_.size()) return false;
  items_.erase(items_.begin() + position);
  return true;
}

}  // namespace brantel
