#include "updater/update_paths.h"

#include "platform/folders.h"

namespace brantel {

bool ResolveManifestPath(WideView path, const std::string& viewer_dir, std::string& out) {
  out.clear();
  const WideView placeholder(kTargetDirectoryPlaceholder);
  const size_t at = path.find(placeholder);
  if (at == WideView::npos) {
    out = DevicePathToLinux(Narrow(path));
    return true;
  }
  std::string dir = viewer_dir;
  if (dir.empty() || dir.back() != '/') dir += '/';
  out = DevicePathToLinux(Narrow(path.substr(0, at))) + dir +
        DevicePathToLinux(Narrow(path.substr(at + placeholder.size())));
  if (!IsInsideFolder(out, dir)) {
    out.clear();
    return false;
  }
  return true;
}

std::string SafeEntryFileName(WideView entry_name) {
  std::string name = Narrow(entry_name);
  for (char& c : name) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\' || c == ':' || u < 0x20 || u == 0x7F) c = '_';
  }
  if (name.empty() || name[0] == '.') name = "_" + name;
  // 255 bytes is the usual name limit; leave room for ".tmp" and ".reg".
  constexpr size_t kMaxBytes = 200;
  if (name.size() > kMaxBytes) {
    size_t n = kMaxBytes;
    while (n > 0 && (static_cast<unsigned char>(name[n]) & 0xC0) == 0x80) --n;  // whole characters
    name.resize(n);
  }
  return name;
}

}  // namespace brantel
