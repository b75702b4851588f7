// Hostile manifests: any bytes must load or fail cleanly, and whatever loads
// must give bounded texts, destinations inside the viewer's or the data
// folder, and a bounded list of programs to close.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "updater/manifest.h"
#include "updater/manifest_texts.h"
#include "updater/update_destinations.h"
#include "updater/update_paths.h"

using namespace brantel;

namespace {
const UpdateDestinations kFolders{"/viewer/", "/data/"};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Manifest m;
  ManifestLoadError error;
  if (LoadManifestBytes(bytes, true, true, m, &error) != kManifestOk) return 0;
  if (m.head.alert.size() > manifest_limits::kAlert || m.files.size() > manifest_limits::kEntries) std::abort();
  const ManifestAlert alert = ParseAlert(m.head.alert);
  if (alert.title.size() > 63 || alert.message.size() > 255) std::abort();
  if (ParseKillProcess(m.head.kill_process).size() > m.head.kill_process.size()) std::abort();
  for (const UpdateFileEntry& e : m.files) {
    if (e.name.size() > manifest_limits::kEntryName) std::abort();
    std::string target;
    if (ResolveDestination(e.local_path, kFolders, target) &&
        ((!IsInsideFolder(target, "/viewer/") && !IsInsideFolder(target, "/data/")) ||
         target.find("/../") != std::string::npos || target == "/viewer" || target == "/data"))
      std::abort();
    const std::string file = SafeEntryFileName(e.name);
    if (file.find('/') != std::string::npos || file.size() > 200 || file[0] == '.') std::abort();
  }
  return 0;
}
