#include "protocol/download_folder.h"

#include <filesystem>

#include "platform/folders.h"

namespace brantel {

namespace fs = std::filesystem;

std::string DownloadFolder() { return ProgramFolder() + "TEMP/"; }

int RemoveStaleDownloads(const std::string& folder, std::chrono::seconds older_than) {
  std::error_code error;
  const auto cutoff = fs::file_time_type::clock::now() - older_than;
  int removed = 0;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    // Links count as files: removing one never touches what it names.
    const fs::file_status status = it->symlink_status(error);
    if (error || fs::is_directory(status)) {
      error.clear();
      continue;
    }
    const auto written = fs::is_symlink(status) ? cutoff : it->last_write_time(error);
    if (error) {
      error.clear();
      continue;
    }
    if (written <= cutoff && fs::remove(it->path(), error)) ++removed;
    error.clear();
  }
  return removed;
}

}  // namespace brantel
