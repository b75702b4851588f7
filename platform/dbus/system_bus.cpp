#include "platform/dbus/system_bus.h"

#include <errno.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <systemd/sd-bus.h>
#include <time.h>
#include <unistd.h>

#include <memory>
#include <thread>

namespace brantel {

namespace {

constexpr const char* kPropertiesInterface = "org.freedesktop.DBus.Properties";

uint64_t ToMicroseconds(std::chrono::milliseconds timeout) { return uint64_t(timeout.count()) * 1000u; }

}  // namespace

SystemBus::SystemBus() {
  sd_bus* bus = nullptr;
  const int r = sd_bus_open_system(&bus);
  if (r < 0) {
    last_error_ = "no system bus";
    return;
  }
  sd_bus_set_method_call_timeout(bus, ToMicroseconds(kBusCallTimeout));
  bus_ = bus;
}

SystemBus::~SystemBus() {
  if (bus_) sd_bus_flush_close_unref(bus_);
}

bool SystemBus::Call(const BusMember& method, const BusMessageWriter& write, const BusMessageReader& read,
                     std::chrono::milliseconds timeout) {
  if (!bus_) return false;
  sd_bus_message* call = nullptr;
  int r = sd_bus_message_new_method_call(bus_, &call, method.service, method.path, method.interface, method.member);
  if (r >= 0 && write) r = write(call);
  if (r < 0) {
    sd_bus_message_unref(call);
    last_error_ = "cannot build the call";
    return false;
  }
  sd_bus_error error = SD_BUS_ERROR_NULL;
  sd_bus_message* reply = nullptr;
  r = sd_bus_call(bus_, call, ToMicroseconds(timeout), &error, &reply);
  sd_bus_message_unref(call);
  if (r < 0) {
    last_error_ = error.name ? error.name : "call failed";
    sd_bus_error_free(&error);
    return false;
  }
  r = read ? read(reply) : 0;
  sd_bus_message_unref(reply);
  if (r < 0) last_error_ = "unexpected reply";
  return r >= 0;
}

std::optional<uint32_t> SystemBus::GetUint32Property(const BusMember& property) {
  uint32_t value = 0;
  const BusMember get{property.service, property.path, kPropertiesInterface, "Get"};
  const bool ok = Call(
      get, [&](sd_bus_message* m) { return sd_bus_message_append(m, "ss", property.interface, property.member); },
      [&](sd_bus_message* m) { return sd_bus_message_read(m, "v", "u", &value); });
  if (!ok) return std::nullopt;
  return value;
}

std::optional<std::string> SystemBus::GetStringProperty(const BusMember& property) {
  std::string value;
  const BusMember get{property.service, property.path, kPropertiesInterface, "Get"};
  const bool ok = Call(
      get, [&](sd_bus_message* m) { return sd_bus_message_append(m, "ss", property.interface, property.member); },
      [&](sd_bus_message* m) {
        const char* text = nullptr;
        const int r = sd_bus_message_read(m, "v", "s", &text);
        if (r >= 0 && text) value = text;
        return r;
      });
  if (!ok) return std::nullopt;
  return value;
}

bool SystemBus::HasOwner(const char* service) {
  int has = 0;
  const BusMember method{"org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner"};
  const bool ok = Call(
      method, [&](sd_bus_message* m) { return sd_bus_message_append(m, "s", service); },
      [&](sd_bus_message* m) { return sd_bus_message_read(m, "b", &has); });
  return ok && has;
}

struct BusWatch::State {
  SystemBus bus;
  SignalHandler handler;
  sd_bus_slot* slot = nullptr;
  int stop_fd = -1;
  std::thread thread;

  ~State() {
    if (slot) sd_bus_slot_unref(slot);
    if (stop_fd >= 0) close(stop_fd);
  }

  static int OnSignal(sd_bus_message* m, void* self, sd_bus_error*) {
    static_cast<State*>(self)->handler(m);
    return 0;
  }

  // Milliseconds until sd-bus wants to run again, -1 for never.
  int PollTimeout() {
    uint64_t due = 0;
    if (sd_bus_get_timeout(bus.raw(), &due) < 0 || due == UINT64_MAX) return -1;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t now_us = uint64_t(now.tv_sec) * 1000000u + uint64_t(now.tv_nsec) / 1000u;
    return due <= now_us ? 0 : int((due - now_us + 999) / 1000);
  }

  void Run() {
    for (;;) {
      const int r = sd_bus_process(bus.raw(), nullptr);
      if (r < 0) return;  // the bus went away
      if (r > 0) continue;
      pollfd fds[2] = {{sd_bus_get_fd(bus.raw()), short(sd_bus_get_events(bus.raw())), 0}, {stop_fd, POLLIN, 0}};
      if (poll(fds, 2, PollTimeout()) < 0 && errno != EINTR) return;
      if (fds[1].revents) return;
    }
  }
};

bool BusWatch::Start(const char* service, const char* path, const char* interface, const char* member, Setup setup,
                     SignalHandler handler) {
  Stop();
  auto state = std::make_unique<State>();
  if (!state->bus.connected()) return false;
  state->handler = std::move(handler);
  state->stop_fd = eventfd(0, EFD_CLOEXEC);
  if (state->stop_fd < 0) return false;
  if (sd_bus_match_signal(state->bus.raw(), &state->slot, service, path, interface, member, &State::OnSignal,
                          state.get()) < 0)
    return false;
  if (setup && !setup(state->bus)) return false;
  state_ = state.release();
  state_->thread = std::thread([s = state_] { s->Run(); });
  thread_started_ = true;
  return true;
}

void BusWatch::Stop() {
  if (!state_) return;
  const uint64_t one = 1;
  if (write(state_->stop_fd, &one, sizeof one) < 0) {
    // The eventfd cannot be full after one write; the thread is joined anyway.
  }
  if (state_->thread.joinable()) state_->thread.join();
  delete state_;
  state_ = nullptr;
  thread_started_ = false;
}

}  // namespace brantel
