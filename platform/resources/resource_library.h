#pragma once
// The resource library: pictures, strings and menus of the viewer, kept in
// the loadable module stock_resource.so beside the executables.
//
// A ResourceLibrary is always held through a shared pointer. The module stays
// loaded until the last holder lets go, so a picture's bytes (which point
// into the module) stay valid for as long as the caller holds the library it
// got them from. Lookups are read-only and safe from any thread.
//
// A missing picture, string or menu is not an error: the answer is empty.

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gfx/surface.h"
#include "platform/resources/resource_abi.h"
#include "platform/text.h"

namespace brantel {

// Picture type codes the screens pass.
constexpr uint32_t kPictureTypePng = BRANTEL_PICTURE_PNG;
constexpr uint32_t kPictureTypeGif = BRANTEL_PICTURE_GIF;

// The file name of the viewer's resource library in the program folder.
inline constexpr char kResourceLibraryFileName[] = "stock_resource.so";

struct ResourceMenuItem {
  WideText caption;
  uint32_t command = 0;
  bool separator = false;
  bool popup = false;
  std::vector<ResourceMenuItem> items;  // the items of a pop-up
};

// The items of a menu bar in order; empty when the menu does not exist.
using ResourceMenu = std::vector<ResourceMenuItem>;

class ResourceLibrary;
using ResourceLibraryRef = std::shared_ptr<const ResourceLibrary>;

class ResourceLibrary {
 public:
  // Loads the module at `path` (a path without "/" is taken relative to the
  // current folder, never searched for) and checks its table. Null when the
  // file cannot be loaded, exports no table or has another interface version.
  static ResourceLibraryRef Load(const std::string& path);

  ~ResourceLibrary();
  ResourceLibrary(const ResourceLibrary&) = delete;
  ResourceLibrary& operator=(const ResourceLibrary&) = delete;

  // The encoded bytes (PNG or GIF, told apart by their signature) of a
  // picture. The library keeps every picture once; a lookup under either
  // picture type code finds it. Empty when there is no such picture.
  std::span<const uint8_t> Picture(uint32_t type, uint32_t number) const;
  // The picture decoded (straight-alpha pixels), decoded once and kept while
  // the library lives; null when there is no such picture or it does not
  // decode. Screens draw the same stars and bands on every paint.
  std::shared_ptr<const Surface> DecodedPicture(uint32_t type, uint32_t number) const;
  // A string entry as wide text; empty when there is none.
  WideText String(uint32_t number) const;
  // A menu with its pop-ups; empty when there is none or it is malformed.
  ResourceMenu Menu(uint32_t number) const;

  // Every picture number the library holds, ascending (the contact sheet
  // and the tests walk them).
  std::vector<uint32_t> PictureNumbers() const;
  const std::string& path() const { return path_; }

 private:
  ResourceLibrary() = default;
  bool Index(const BrantelResourceTable& table);

  std::string path_;
  void* handle_ = nullptr;
  // Keyed by (type << 32 | number).
  std::unordered_map<uint64_t, std::span<const uint8_t>> pictures_;
  std::unordered_map<uint32_t, std::span<const uint8_t>> pictures_by_number_;
  std::unordered_map<uint32_t, const char*> strings_;
  std::unordered_map<uint32_t, ResourceMenu> menus_;
  mutable std::mutex decoded_mutex_;
  mutable std::unordered_map<const uint8_t*, std::shared_ptr<const Surface>> decoded_;
};

// The process-wide slot every screen and control reads.
//
// LoadProcessResources loads stock_resource.so from the program folder,
// replacing (and so releasing) a library loaded earlier; false when it could
// not be loaded, which leaves the slot empty. ProcessResources returns the
// library in the slot, loading it on first use; null when it cannot be
// loaded. SetProcessResourcesForTesting puts a given library there; null
// returns the slot to its state at process start.
bool LoadProcessResources();
ResourceLibraryRef ProcessResources();
void SetProcessResourcesForTesting(ResourceLibraryRef library);

}  // namespace brantel
