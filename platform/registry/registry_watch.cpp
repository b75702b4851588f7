#include "platform/registry/registry_watch.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/registry/registry_store.h"

namespace brantel {

namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(50);

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

// The watcher's own connections (one per registry file), separate from the
// connection writers of this process use, so that their commits change the
// data version it polls.
class WatchHub {
 public:
  ~WatchHub() {
    std::unique_lock lock(mutex_);
    quit_ = true;
    wake_.notify_all();
    lock.unlock();
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
  }

  uint64_t Add(RegRoot root, std::string path, std::function<void()> on_change, bool subtree) {
    auto w = std::make_shared<Watch>();
    w->root = root;
    w->path = std::move(path);
    w->subtree = subtree;
    w->on_change = std::move(on_change);
    w->db_path = RegistryStore::DefaultPath();
    std::unique_lock lock(mutex_);
    RegistryStore& store = StoreFor(w->db_path);
    int64_t version = 0;
    if (!versions_.count(w->db_path) && store.DataVersion(&version) == ERROR_SUCCESS) versions_[w->db_path] = version;
    store.ChangeSerial(root, w->path, subtree, &w->last_serial);
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
    wake_.notify_all();
  }

 private:
  RegistryStore& StoreFor(const std::string& db_path) {
    auto& slot = stores_[db_path];
    if (!slot) slot = std::make_unique<RegistryStore>(db_path);
    return *slot;
  }

  void Loop() {
    std::unique_lock lock(mutex_);
    while (!quit_ && !entries_.empty()) {
      wake_.wait_for(lock, kPollInterval);
      if (quit_ || entries_.empty()) break;
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
  // last look and forgets connections that no watch needs any more.
  std::vector<std::shared_ptr<Watch>> CollectChanged() {
    std::vector<std::shared_ptr<Watch>> due;
    std::map<std::string, bool> file_changed;
    for (auto& [db_path, store] : stores_) {
      int64_t version = 0;
      if (store->DataVersion(&version) != ERROR_SUCCESS) continue;
      auto it = versions_.find(db_path);
      file_changed[db_path] = it == versions_.end() || it->second != version;
      versions_[db_path] = version;
    }
    for (auto& w : entries_) {
      if (!file_changed[w->db_path]) continue;
      int64_t serial = -1;
      if (StoreFor(w->db_path).ChangeSerial(w->root, w->path, w->subtree, &serial) != ERROR_SUCCESS) continue;
      if (serial != w->last_serial) {
        w->last_serial = serial;
        due.push_back(w);
      }
    }
    for (auto it = stores_.begin(); it != stores_.end();) {
      bool used = false;
      for (auto& w : entries_) used = used || w->db_path == it->first;
      if (used) {
        ++it;
      } else {
        versions_.erase(it->first);
        it = stores_.erase(it);
      }
    }
    return due;
  }

  std::mutex mutex_;
  std::recursive_mutex callback_mutex_;
  std::condition_variable wake_;
  std::vector<std::shared_ptr<Watch>> entries_;
  std::map<std::string, std::unique_ptr<RegistryStore>> stores_;
  std::map<std::string, int64_t> versions_;
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
