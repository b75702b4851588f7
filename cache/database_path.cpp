#include "cache/database_path.h"

#include "platform/folders.h"

namespace brantel {

std::string BuildDatabasePath() {
  std::string folder = DataFolder();
  if (folder.empty() || !DirectoryExists(folder)) return {};
  return JoinPath(folder, kCacheFileName);
}

}  // namespace brantel
