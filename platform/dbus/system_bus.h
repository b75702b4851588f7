#pragma once
// A small client of the system's message bus (sd-bus from libsystemd): the
// device services (network, sleep, the accelerometer) are asked through it.
// Every call blocks for a short time at most, so an absent or stuck service
// never holds up the viewer; there is no main loop of its own: a watch runs
// on a thread of the caller's (BusWatch).
//
// The bus is the one DBUS_SYSTEM_BUS_ADDRESS names, else the machine's
// system bus. Tests start a private bus and pass its address that way.

#include <chrono>
#include <functional>
#include <optional>
#include <string>

typedef struct sd_bus sd_bus;
typedef struct sd_bus_message sd_bus_message;

namespace brantel {

// Long enough for a local service, short enough that a user never notices.
inline constexpr std::chrono::milliseconds kBusCallTimeout{250};

// One object's member on the bus.
struct BusMember {
  const char* service;
  const char* path;
  const char* interface;
  const char* member;
};

// Appends a call's arguments or reads a reply; answers an sd-bus result
// (negative on failure).
using BusMessageWriter = std::function<int(sd_bus_message*)>;
using BusMessageReader = std::function<int(sd_bus_message*)>;

class SystemBus {
 public:
  // Connects at once; connected() is false when there is no bus.
  SystemBus();
  ~SystemBus();
  SystemBus(const SystemBus&) = delete;
  SystemBus& operator=(const SystemBus&) = delete;

  bool connected() const { return bus_ != nullptr; }

  // A blocking method call. False when the bus, the service or the method
  // is missing, on an error reply and when `timeout` passes first;
  // last_error() then names why.
  bool Call(const BusMember& method, const BusMessageWriter& write, const BusMessageReader& read,
            std::chrono::milliseconds timeout = kBusCallTimeout);

  // org.freedesktop.DBus.Properties.Get of one property (member = its name).
  std::optional<uint32_t> GetUint32Property(const BusMember& property);
  std::optional<std::string> GetStringProperty(const BusMember& property);

  // Whether `service` has an owner on the bus now.
  bool HasOwner(const char* service);

  const std::string& last_error() const { return last_error_; }
  sd_bus* raw() const { return bus_; }

 private:
  sd_bus* bus_ = nullptr;
  std::string last_error_;
};

// Watches signals on a connection of its own, on a thread of its own that
// sleeps in poll() until the bus or Stop() wakes it. The callback runs on
// that thread.
class BusWatch {
 public:
  using SignalHandler = std::function<void(sd_bus_message*)>;
  // `setup` runs first on the watch's connection (claims, first reads);
  // false ends the watch at once.
  using Setup = std::function<bool(SystemBus&)>;

  BusWatch() = default;
  ~BusWatch() { Stop(); }
  BusWatch(const BusWatch&) = delete;
  BusWatch& operator=(const BusWatch&) = delete;

  // Starts watching the signal `member` of `interface` from `path` (either
  // may be null for any). False when no bus could be reached or the
  // setup failed: nothing runs then.
  bool Start(const char* service, const char* path, const char* interface, const char* member, Setup setup,
             SignalHandler handler);
  void Stop();
  bool running() const { return thread_started_; }

 private:
  struct State;
  State* state_ = nullptr;
  bool thread_started_ = false;
};

}  // namespace brantel
