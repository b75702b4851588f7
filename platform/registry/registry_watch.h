#pragma once
// Change notification on a registry key.
//
// One watcher thread per process sleeps until the registry file or its log
// is written (a file-system event, by any process), then looks once more
// (cheaply: SQLite's data version tells whether anybody committed) and runs
// the callback of each watch whose key changed: a value of the key was set
// or deleted (with `subtree`, also anything below it), or the key appeared
// or disappeared. Changes made by this process and by other processes are
// seen alike. Nothing wakes the thread while nothing is written. A window turns the callback into a posted message; the
// callback itself must not block on a thread that may end the watch.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/registry/registry_types.h"

namespace brantel {

class RegistryWatch {
 public:
  RegistryWatch() = default;
  explicit RegistryWatch(uint64_t id) : id_(id) {}
  ~RegistryWatch() { Stop(); }
  RegistryWatch(RegistryWatch&& other) noexcept : id_(other.id_) { other.id_ = 0; }
  RegistryWatch& operator=(RegistryWatch&& other) noexcept;
  RegistryWatch(const RegistryWatch&) = delete;
  RegistryWatch& operator=(const RegistryWatch&) = delete;

  bool active() const { return id_ != 0; }
  // Ends the watch. When this returns the callback is not running (unless
  // Stop was called from the callback itself) and will not run again.
  void Stop();

 private:
  uint64_t id_ = 0;
};

// Watches `path` below `root` in the registry of the current data folder.
// The key need not exist yet. Returns an inactive watch for a bad root.
RegistryWatch WatchKey(RegRoot root, std::string path, std::function<void()> on_change, bool subtree = false);

}  // namespace brantel
