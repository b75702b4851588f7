#include "updater/update_paths.h"

#include <vector>

#include "platform/folders.h"

namespace brantel {

std::string NormalizePath(const std::string& path) {
  const bool absolute = !path.empty() && path[0] == '/';
  std::vector<std::string> parts;
  size_t pos = 0;
  while (pos <= path.size()) {
    size_t slash = path.find('/', pos);
    if (slash == std::string::npos) slash = path.size();
    std::string part = path.substr(pos, slash - pos);
    pos = slash + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty() && parts.back() != "..") {
        parts.pop_back();
      } else if (!absolute) {
        parts.push_back(part);
      }
      continue;
    }
    parts.push_back(std::move(part));
  }
  std::string out = absolute ? "/" : "";
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) out += '/';
    out += parts[i];
  }
  return out.empty() ? "." : out;
}

bool IsInsideFolder(const std::string& path, const std::string& folder) {
  const std::string p = NormalizePath(path);
  std::string f = NormalizePath(folder);
  if (p == f) return true;
  if (f.back() != '/') f += '/';
  return p.compare(0, f.size(), f) == 0;
}

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
