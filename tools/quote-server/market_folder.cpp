#include "tools/quote-server/market_folder.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/folders.h"

namespace brantel::quote_server {

namespace {

// After an event, wait until the folder has been quiet this long, so a
// download that lands as several events is read once, whole.
constexpr int kQuietMs = 200;
constexpr size_t kMaxFileBytes = size_t(64) << 20;

}  // namespace

std::shared_ptr<const FileMarket> LoadMarketFolder(const std::string& folder, const MarketData& sample, const LoadLog& log,
                                                   FolderLoadStats* stats) {
  FolderLoadStats local;
  FolderLoadStats& count = stats ? *stats : local;
  count = {};
  struct Named {
    std::string path;
    std::string name;
    int64_t key;
  };
  std::vector<Named> files;
  std::error_code ec;
  for (const auto& item : std::filesystem::directory_iterator(folder, ec)) {
    const std::string name = item.path().filename().string();
    if (name.empty() || name[0] == '.') continue;
    std::error_code type_ec;
    if (!item.is_regular_file(type_ec)) continue;
    const auto moment = MomentFromFileName(name);
    if (!moment) {
      if (log) log(name + ": skipped: no YYYYMMDD date in the file name");
      ++count.files_skipped;
      continue;
    }
    files.push_back({item.path().string(), name, MomentKey(*moment)});
  }
  if (ec) {
    if (log) log(folder + ": cannot list the folder: " + ec.message());
    return nullptr;
  }
  // Oldest first; files of one moment in name order, so every server reading
  // the folder builds the same market.
  std::sort(files.begin(), files.end(), [](const Named& a, const Named& b) {
    return a.key != b.key ? a.key < b.key : a.name < b.name;
  });
  FileMarketBuilder builder(sample);
  std::string bytes;
  ExchangeFile file;
  for (const Named& f : files) {
    std::string why;
    if (!ReadWholeFile(f.path, bytes, kMaxFileBytes)) {
      why = "cannot be read";
    } else if (ParseExchangeFile(bytes, f.name, file, log, why)) {
      builder.Add(file);
      ++count.files_read;
      count.rows += file.rows.size();
      continue;
    }
    if (log) log(f.name + ": skipped: " + why);
    ++count.files_skipped;
  }
  return builder.Finish();
}

FolderWatcher::~FolderWatcher() { Stop(); }

bool FolderWatcher::Start(const std::string& folder, std::function<void()> changed, std::string& error) {
  Stop();
  changed_ = std::move(changed);
  inotify_fd_ = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
  stop_fd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (inotify_fd_ < 0 || stop_fd_ < 0 ||
      inotify_add_watch(inotify_fd_, folder.c_str(),
                        IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE) < 0) {
    error = "cannot watch " + folder;
    Stop();
    return false;
  }
  thread_ = std::thread([this] { Run(); });
  return true;
}

void FolderWatcher::Stop() {
  if (thread_.joinable()) {
    const uint64_t one = 1;
    (void)!write(stop_fd_, &one, sizeof one);
    thread_.join();
  }
  if (inotify_fd_ >= 0) close(inotify_fd_);
  if (stop_fd_ >= 0) close(stop_fd_);
  inotify_fd_ = stop_fd_ = -1;
}

void FolderWatcher::Run() {
  bool pending = false;
  alignas(inotify_event) char buffer[16 * 1024];
  while (true) {
    pollfd fds[2] = {{inotify_fd_, POLLIN, 0}, {stop_fd_, POLLIN, 0}};
    // Block until an event comes; with one pending, until the folder is quiet.
    const int ready = poll(fds, 2, pending ? kQuietMs : -1);
    if (ready < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[1].revents) return;
    if (ready == 0) {
      pending = false;
      changed_();
      continue;
    }
    // Hidden names are downloads still arriving: their rename will follow.
    ssize_t n;
    while ((n = read(inotify_fd_, buffer, sizeof buffer)) > 0) {
      for (ssize_t at = 0; at + ssize_t(sizeof(inotify_event)) <= n;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        if (event->len == 0 || event->name[0] != '.') pending = true;
        at += ssize_t(sizeof(inotify_event) + event->len);
      }
    }
  }
}

}  // namespace brantel::quote_server
