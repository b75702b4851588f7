#include "platform/resources/resource_library.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstring>

#include "platform/debug.h"
#include "platform/gfx/picture.h"
#include "platform/resources/resource_menu_builder.h"

namespace brantel {

namespace {

// Bounds that no real table comes near; a table beyond them is refused
// rather than walked.
constexpr uint32_t kMaxEntries = 1u << 16;
constexpr uint32_t kMaxPictureBytes = 16u << 20;
constexpr size_t kMaxStringBytes = 64u << 10;

uint64_t PictureKey(uint32_t type, uint32_t number) { return (uint64_t(type) << 32) | number; }

WideText BoundedText(const char* utf8) {
  if (!utf8) return {};
  return Widen(std::string_view(utf8, strnlen(utf8, kMaxStringBytes)));
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
    ResourceMenu menu;
    bool ok = m.item_count <= kMaxEntries && (m.item_count == 0 || m.items) &&
              BuildResourceMenu(std::span<const BrantelMenuItemEntry>(m.items, m.item_count), menu);
    if (!ok) {
      DebugOutput("resource library: malformed menu " + std::to_string(m.number));
      continue;
    }
    menus_.emplace(m.number, std::move(menu));
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
