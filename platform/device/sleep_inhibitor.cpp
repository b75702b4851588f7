#include "platform/device/sleep_inhibitor.h"

#include <errno.h>
#include <fcntl.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include "platform/dbus/system_bus.h"
#include "platform/debug.h"

namespace brantel {

bool SleepInhibitor::Acquire(const std::string& who, const std::string& why) {
  if (held()) return true;
  SystemBus bus;
  const BusMember inhibit{"org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                          "Inhibit"};
  int fd = -1;
  const bool ok = bus.Call(
      inhibit,
      [&](sd_bus_message* m) { return sd_bus_message_append(m, "ssss", "sleep", who.c_str(), why.c_str(), "block"); },
      [&](sd_bus_message* m) {
        int received = -1;
        const int r = sd_bus_message_read(m, "h", &received);
        // The reply owns the descriptor it carries; keep a copy of it.
        if (r >= 0) fd = fcntl(received, F_DUPFD_CLOEXEC, 3);
        return r < 0 ? r : (fd < 0 ? -errno : 0);
      });
  if (!ok) {
    DebugOutput(std::string_view("sleep inhibitor: not granted (" + bus.last_error() + ")\n"));
    return false;
  }
  fd_ = fd;
  return true;
}

void SleepInhibitor::Release() {
  if (fd_ < 0) return;
  close(fd_);
  fd_ = -1;
}

}  // namespace brantel
