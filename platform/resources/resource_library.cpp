#include "platform/resources/resource_library.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstring>

#include "platform/debug.h"
#include "platform/gfx/picture.h"

namespace brantel {

namespace {

// Bounds that no real table comes near; a table beyond them is refused
// rather than walked.
constexpr uint32_t kMaxEntries = 1u << 16;
constexpr uint32_t kMaxPictureBytes = 16u << 20;
constexpr size_t kMaxStringBytes = 64u << 10;
constexpr uint32_t kMaxMenuDepth = 8;

uint64_t PictureKey(uint32_t type, uint32_t number) { return (uint64_t(type) << 32) | number; }

WideText BoundedText(const char* utf8) {
  if (!utf8) return {};
  return Widen(std::string_view(utf8, strnlen(utf8, kMaxStringBytes)));
}

// Depth rules of a flat menu: the first item is at depth 0, an item is at
// most one level deeper than the one before it, and only right after a
// pop-up item.
bool MenuShapeIsValid(const BrantelMenuItemEntry* items, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t depth = items[i].depth;
    if (depth > kMaxMenuDepth) return false;
    uint32_t allowed = 0;
    if (i > 0) allowed = items[i - 1].depth + ((items[i - 1].flags & BRANTEL_MENU_ITEM_POPUP) ? 1 : 0);
    if (depth > allowed) return false;
  }
  return true;
}

// Builds the items at `depth` starting at `pos`, leaving `pos` after them.
ResourceMenu BuildMenuLevel(const BrantelMenuItemEntry* items, uint32_t count, uint32_t& pos, uint32_t depth) {
  ResourceMenu level;
  while (pos < count && items[pos].depth == depth) {
    const BrantelMenuItemEntry& entry = items[pos++];
    ResourceMenuItem item;
    item.separator = (entry.flags & BRANTEL_MENU_ITEM_SEPARATOR) != 0;
    item.popup = !item.separator && (entry.flags & BRANTEL_MENU_ITEM_POPUP) != 0;
    if (!item.separator) {
      item.caption = BoundedText(entry.caption_utf8);
      item.command = item.popup ? 0 : entry.command;
    }
    if (item.popup) item.items = BuildMenuLevel(items, count, pos, depth + 1);
    level.push_back(std::move(item));
  }
  return level;
}

}  // namespace

ResourceLibraryRef ResourceLibrary::Load(const std::string& path) {
  if (path.empty()) return nullptr;
  // A bare name would make dlopen search the system's library folders.
  std::string full = path.find('/') == std::string::npos ? "./" + path : path;
  void* handle = dlopen(full.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = dlerror();
    DebugOutput(std::string("resource library not loaded: ") + (why ? why : full));
    return nullptr;
  }
  std::shared_ptr<ResourceLibrary> library(new ResourceLibrary());
  library->path_ = full;
  library->handle_ = handle;  // closed by the destructor from here on
  auto table_function = reinterpret_cast<BrantelResourceTableFunction>(dlsym(handle, BRANTEL_RESOURCE_TABLE_SYMBOL));
  const BrantelResourceTable* table = table_function ? table_function() : nullptr;
  if (!table || !library->Index(*table)) {
    DebugOutput("resource library refused: " + full);
    return nullptr;
  }
  return library;
}

ResourceLibrary::~ResourceLibrary() {
  if (handle_) dlclose(handle_);
}

bool ResourceLibrary::Index(const BrantelResourceTable& table) {
  if (table.abi_version != BRANTEL_RESOURCE_ABI_VERSION || table.table_size < sizeof(BrantelResourceTable)) return false;
  if (table.picture_count > kMaxEntries || table.string_count > kMaxEntries || table.menu_count > kMaxEntries) return false;
  if ((table.picture_count && !table.pictures) || (table.string_count && !table.strings) ||
      (table.menu_count && !table.menus))
    return false;

  // The first entry of a number wins; a broken entry is skipped, not fatal.
  for (uint32_t i = 0; i < table.picture_count; ++i) {
    const BrantelPictureEntry& p = table.pictures[i];
    if (!p.bytes || p.size == 0 || p.size > kMaxPictureBytes) continue;
    std::span<const uint8_t> bytes(p.bytes, p.size);
    pictures_.try_emplace(PictureKey(p.type, p.number), bytes);
    pictures_by_number_.try_emplace(p.number, bytes);
  }
  for (uint32_t i = 0; i < table.string_count; ++i) {
    if (table.strings[i].utf8) strings_.try_emplace(table.strings[i].number, table.strings[i].utf8);
  }
  for (uint32_t i = 0; i < table.menu_count; ++i) {
    const BrantelMenuEntry& m = table.menus[i];
    if (menus_.count(m.number)) continue;
    if (m.item_count > kMaxEntries || (m.item_count && !m.items) || !MenuShapeIsValid(m.items, m.item_count)) {
      DebugOutput("resource library: malformed menu " + std::to_string(m.number));
      continue;
    }
    uint32_t pos = 0;
    menus_.emplace(m.number, BuildMenuLevel(m.items, m.item_count, pos, 0));
  }
  return true;
}

std::span<const uint8_t> ResourceLibrary::Picture(uint32_t type, uint32_t number) const {
  if (auto it = pictures_.find(PictureKey(type, number)); it != pictures_.end()) return it->second;
  if (type != kPictureTypePng && type != kPictureTypeGif) return {};
  auto it = pictures_by_number_.find(number);
  return it == pictures_by_number_.end() ? std::span<const uint8_t>() : it->second;
}

std::shared_ptr<const Surface> ResourceLibrary::DecodedPicture(uint32_t type, uint32_t number) const {
  std::span<const uint8_t> bytes = Picture(type, number);
  if (bytes.empty()) return nullptr;
  {
    std::lock_guard lock(decoded_mutex_);
    if (auto it = decoded_.find(bytes.data()); it != decoded_.end()) return it->second;
  }
  // Decoded outside the lock; two threads may both decode, one result stays.
  std::optional<Surface> decoded = DecodePicture(bytes);
  std::shared_ptr<const Surface> picture = decoded ? std::make_shared<const Surface>(std::move(*decoded)) : nullptr;
  std::lock_guard lock(decoded_mutex_);
  return decoded_.try_emplace(bytes.data(), picture).first->second;
}

WideText ResourceLibrary::String(uint32_t number) const {
  auto it = strings_.find(number);
  return it == strings_.end() ? WideText() : BoundedText(it->second);
}

ResourceMenu ResourceLibrary::Menu(uint32_t number) const {
  auto it = menus_.find(number);
  return it == menus_.end() ? ResourceMenu() : it->second;
}

std::vector<uint32_t> ResourceLibrary::PictureNumbers() const {
  std::vector<uint32_t> numbers;
  numbers.reserve(pictures_by_number_.size());
  for (const auto& [number, bytes] : pictures_by_number_) numbers.push_back(number);
  std::sort(numbers.begin(), numbers.end());
  return numbers;
}

}  // namespace brantel
