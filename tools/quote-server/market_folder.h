#pragma once
// The folder of exchange files a server serves: read whole into a market,
// and watched for files added, replaced or removed while the server runs.

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "tools/quote-server/file_market.h"

namespace brantel::quote_server {

struct FolderLoadStats {
  size_t files_read = 0;
  size_t files_skipped = 0;
  size_t rows = 0;
};

// Reads every file of `folder` (hidden names aside) in the order of the
// moments in their names. A file that cannot be read or is no known file is
// skipped with one log line; so is a malformed row. Null when the folder
// itself cannot be listed (the market served so far stays).
std::shared_ptr<const FileMarket> LoadMarketFolder(const std::string& folder, const MarketData& sample, const LoadLog& log,
                                                   FolderLoadStats* stats = nullptr);

// Waits on the folder's file events (inotify) on a thread of its own and
// calls `changed` once the folder has been quiet for a moment after a file
// was written, moved in, or removed.
class FolderWatcher {
 public:
  FolderWatcher() = default;
  ~FolderWatcher();
  FolderWatcher(const FolderWatcher&) = delete;
  FolderWatcher& operator=(const FolderWatcher&) = delete;

  // False with `error` set when the folder cannot be watched.
  bool Start(const std::string& folder, std::function<void()> changed, std::string& error);
  void Stop();

 private:
  void Run();

  std::function<void()> changed_;
  int inotify_fd_ = -1;
  int stop_fd_ = -1;
  std::thread thread_;
};

}  // namespace brantel::quote_server
