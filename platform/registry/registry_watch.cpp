#include "platform/registry/registry_watch.h"

#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "platform/registry/registry_store.h"

namespace brantel {

namespace {

using Clock = std::chrono::steady_clock;

// A commit's last write to the log reaches the file a moment before SQLite
// publishes it in shared memory (which raises no file event), so a look made
// right at the event can miss it. After the burst of events the watcher looks
// again a little later, then sleeps until the next event.
constexpr auto kFirstLook = std::chrono::milliseconds(10);
constexpr std::chrono::milliseconds kFollowUps[] = {std::chrono::milliseconds(100), std::chrono::milliseconds(1000)};

struct Watch {
  uint64_t id = 0;
  RegRoot root = 0;
  std::string path;
  bool subtree = false;
  std::function<void()> on_change;
  std::string db_path;
  int64_t last_serial = -1;
  bool active = true;
};

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// One registry file the watcher looks at: its own connection (separate from
// the connection writers of this process use, so that their commits change
// the data version) and the file-system watch on its folder, which wakes the
// thread when the file or its log is written by any process.
struct WatchedFile {
  std::unique_ptr<RegistryStore> store;
  std::optional<int64_t> version;
  int folder_watch = -1;
  std::string name;  // "registry.db"; its log and journal share the prefix
};

class WatchHub {
 public:
  WatchHub()
      : notify_fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)), wake_fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

  ~WatchHub() {
    std::unique_lock lock(mutex_);
    quit_ = true;
    WakeThread();
    lock.unlock();
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
    if (notify_fd_ >= 0) close(notify_fd_);
    if (wake_fd_ >= 0) close(wake_fd_);
  }

  uint64_t Add(RegRoot root, std::string path, std::function<void()> on_change, bool subtree) {
    auto w = std::make_shared<Watch>();
    w->root = root;
    w->path = std::move(path);
    w->subtree = subtree;
    w->on_change = std::move(on_change);
    w->db_path = RegistryStore::DefaultPath();
    std::unique_lock lock(mutex_);
    WatchedFile& file = FileFor(w->db_path);
    int64_t version = 0;
    if (!file.version && file.store->DataVersion(&version) == ERROR_SUCCESS) file.version = version;
    file.store->ChangeSerial(root, w->path, subtree, &w->last_serial);
    w->id = ++next_id_;
    entries_.push_back(w);
    if (!running_) {
      if (thread_.joinable()) thread_.join();  // a loop that has already ended
      running_ = true;
      thread_ = std::thread([this] { Loop(); });
    }
    return w->id;
  }

  void Remove(uint64_t id) {
    // Waiting for the callback lock guarantees the callback is not running
    // once we return; it is recursive so a callback may end its own watch.
    std::lock_guard callbacks(callback_mutex_);
    std::lock_guard lock(mutex_);
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
      if ((*it)->id == id) {
        (*it)->active = false;
        entries_.erase(it);
        break;
      }
    }
    ForgetUnusedFiles();
    WakeThread();  // the last watch gone ends the thread
  }

 private:
  WatchedFile& FileFor(const std::string& db_path) {
    WatchedFile& file = files_[db_path];
    if (!file.store) {
      file.store = std::make_unique<RegistryStore>(db_path);
      file.name = NameOf(db_path);
      if (notify_fd_ >= 0)
        file.folder_watch = inotify_add_watch(notify_fd_, FolderOf(db_path).c_str(),
                                              IN_MODIFY | IN_CREATE | IN_DELETE | IN_MOVED_TO | IN_CLOSE_WRITE);
    }
    return file;
  }

  void WakeThread() {
    const uint64_t one = 1;
    if (wake_fd_ >= 0 && write(wake_fd_, &one, sizeof one) < 0) return;  // already pending
  }

  // Blocks until a file event, a wake or the next planned look. True when a
  // registry file was touched.
  bool WaitForEvent(int timeout_ms) {
    pollfd fds[2] = {{notify_fd_, POLLIN, 0}, {wake_fd_, POLLIN, 0}};  // a negative fd is skipped
    if (poll(fds, 2, timeout_ms) <= 0) return false;
    uint64_t count;
    if ((fds[1].revents & POLLIN) && read(wake_fd_, &count, sizeof count) < 0) count = 0;
    if (!(fds[0].revents & POLLIN)) return false;
    bool touched = false;
    alignas(inotify_event) char buf[4096];
    for (ssize_t n; (n = read(notify_fd_, buf, sizeof buf)) > 0;) {
      for (char* p = buf; p < buf + n;) {
        const auto* e = reinterpret_cast<const inotify_event*>(p);
        p += sizeof(inotify_event) + e->len;
        if (e->mask & IN_Q_OVERFLOW) {
          touched = true;
          continue;
        }
        const std::string name = e->len ? std::string(e->name) : std::string();
        std::lock_guard lock(mutex_);
        for (auto& [db_path, file] : files_)
          touched = touched || (e->wd == file.folder_watch && name.rfind(file.name, 0) == 0);
      }
    }
    return touched;
  }

  void Loop() {
    pthread_setname_np(pthread_self(), "registry-watch");  // found by name in /proc
    constexpr Clock::time_point kNever = Clock::time_point::max();
    Clock::time_point next_look = kNever;
    size_t follow_ups_done = std::size(kFollowUps);
    std::unique_lock lock(mutex_);
    while (!quit_ && !entries_.empty()) {
      int timeout_ms = -1;
      if (next_look != kNever)
        timeout_ms = int(std::max<int64_t>(
            0, std::chrono::ceil<std::chrono::milliseconds>(next_look - Clock::now()).count()));
      // Without file events (no inotify, or a folder it cannot watch) or
      // without a way to be woken, a slow look keeps changes seen and ends
      // the thread in time.
      bool blind = notify_fd_ < 0 || wake_fd_ < 0;
      for (const auto& [db_path, file] : files_) blind = blind || file.folder_watch < 0;
      if (blind) timeout_ms = timeout_ms < 0 ? 1000 : std::min(timeout_ms, 1000);
      lock.unlock();
      const bool touched = WaitForEvent(timeout_ms);
      lock.lock();
      if (quit_ || entries_.empty()) break;
      const auto now = Clock::now();
      if (touched) {
        follow_ups_done = 0;
        next_look = std::min(next_look, now + kFirstLook);
        continue;
      }
      if (!blind && now < next_look) continue;  // a wake for a watch added or ended
      next_look = follow_ups_done < std::size(kFollowUps) ? now + kFollowUps[follow_ups_done++] : kNever;
      std::vector<std::shared_ptr<Watch>> due = CollectChanged();
      lock.unlock();
      {
        std::lock_guard callbacks(callback_mutex_);
        for (auto& w : due) {
          bool still_active;
          {
            std::lock_guard check(mutex_);
            still_active = w->active;
          }
          if (still_active && w->on_change) w->on_change();
        }
      }
      lock.lock();
    }
    running_ = false;
  }

  // Called with mutex_ held. Finds the watches whose key changed since the
  // last look.
  std::vector<std::shared_ptr<Watch>> CollectChanged() {
    std::vector<std::shared_ptr<Watch>> due;
    std::map<std::string, bool> file_changed;
    for (auto& [db_path, file] : files_) {
      int64_t version = 0;
      if (file.store->DataVersion(&version) != ERROR_SUCCESS) continue;
      file_changed[db_path] = !file.version || *file.version != version;
      file.version = version;
    }
    for (auto& w : entries_) {
      if (!file_changed[w->db_path]) continue;
      int64_t serial = -1;
      if (FileFor(w->db_path).store->ChangeSerial(w->root, w->path, w->subtree, &serial) != ERROR_SUCCESS) continue;
      if (serial != w->last_serial) {
        w->last_serial = serial;
        due.push_back(w);
      }
    }
    return due;
  }

  // Called with mutex_ held.
  void ForgetUnusedFiles() {
    for (auto it = files_.begin(); it != files_.end();) {
      bool used = false;
      for (auto& w : entries_) used = used || w->db_path == it->first;
      if (used) {
        ++it;
      } else {
        if (it->second.folder_watch >= 0) inotify_rm_watch(notify_fd_, it->second.folder_watch);
        it = files_.erase(it);
      }
    }
  }

  const int notify_fd_;
  const int wake_fd_;
  std::mutex mutex_;
  std::recursive_mutex callback_mutex_;
  std::vector<std::shared_ptr<Watch>> entries_;
  std::map<std::string, WatchedFile> files_;
  std::thread thread_;
  uint64_t next_id_ = 0;
  bool running_ = false;
  bool quit_ = false;
};

WatchHub& Hub() {
  static WatchHub hub;
  return hub;
}

}  // namespace

RegistryWatch& RegistryWatch::operator=(RegistryWatch&& other) noexcept {
  if (this != &other) {
    Stop();
    id_ = other.id_;
    other.id_ = 0;
  }
  return *this;
}

void RegistryWatch::Stop() {
  if (id_ == 0) return;
  Hub().Remove(id_);
  id_ = 0;
}

RegistryWatch WatchKey(RegRoot root, std::string path, std::function<void()> on_change, bool subtree) {
  if (!IsRegRoot(root)) return RegistryWatch();
  return RegistryWatch(Hub().Add(root, std::move(path), std::move(on_change), subtree));
}

}  // namespace brantel
