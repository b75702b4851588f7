#include <mutex>

#include "platform/folders.h"
#include "platform/resources/resource_library.h"

namespace brantel {

namespace {
std::mutex g_slot_mutex;
ResourceLibraryRef g_library;
bool g_load_attempted = false;
}  // namespace

bool LoadProcessResources() {
  std::string path = JoinPath(ProgramFolder(), kResourceLibraryFileName);
  {
    // The earlier library is let go first, as the device frees it before
    // loading again; holders of it keep their copy alive.
    std::lock_guard lock(g_slot_mutex);
    g_library.reset();
    g_load_attempted = true;
  }
  ResourceLibraryRef loaded = ResourceLibrary::Load(path);
  std::lock_guard lock(g_slot_mutex);
  g_library = loaded;
  return g_library != nullptr;
}

ResourceLibraryRef ProcessResources() {
  {
    std::lock_guard lock(g_slot_mutex);
    if (g_library || g_load_attempted) return g_library;
  }
  LoadProcessResources();
  std::lock_guard lock(g_slot_mutex);
  return g_library;
}

void SetProcessResourcesForTesting(ResourceLibraryRef library) {
  std::lock_guard lock(g_slot_mutex);
  // Null returns the slot to its state at process start: the next lookup loads.
  g_load_attempted = library != nullptr;
  g_library = std::move(library);
}

}  // namespace brantel
