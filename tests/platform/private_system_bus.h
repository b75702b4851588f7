#pragma once
// A private message bus for one test, standing in for the system bus: a
// dbus-daemon on a socket in a temporary folder, its address set as
// DBUS_SYSTEM_BUS_ADDRESS in this process (and so in the programs it
// starts), and the system services the test needs as python3-dbusmock
// templates on it (run by the system's own python3, where the Debian
// package puts the module).
//
//   PrivateSystemBus bus;
//   ASSERT_TRUE(bus.StartService("networkmanager", "org.freedesktop.NetworkManager"));
//   bus.CallMock("/org/freedesktop/NetworkManager", "SetGlobalConnectionState", 20);

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/dbus/system_bus.h"
#include "tests/support/temp_folder.h"

extern char** environ;

namespace brantel::testing {

class PrivateSystemBus {
 public:
  PrivateSystemBus() : folder_("brantel-bus") {
    address_ = "unix:path=" + folder_.path() + "/system_bus_socket";
    daemon_ = Spawn({"dbus-daemon", "--session", "--nofork", "--nopidfile", "--address=" + address_});
    setenv("DBUS_SYSTEM_BUS_ADDRESS", address_.c_str(), 1);
    const auto give_up = std::chrono::steady_clock::now() + kStartLimit;
    while (!std::filesystem::exists(folder_.path() + "/system_bus_socket") &&
           std::chrono::steady_clock::now() < give_up)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ~PrivateSystemBus() {
    for (pid_t pid : services_) End(pid);
    End(daemon_);
    // Later code in this process finds no bus at all, as on a machine without one.
    setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/brantel-test-bus", 1);
  }
  PrivateSystemBus(const PrivateSystemBus&) = delete;
  PrivateSystemBus& operator=(const PrivateSystemBus&) = delete;

  const std::string& address() const { return address_; }

  // Starts a dbusmock template (with its JSON parameters) and waits until
  // `service` is on the bus. Answers the mock's process id, 0 on failure
  // (the mock ended, or the limit passed).
  pid_t StartService(const std::string& template_name, const char* service, const std::string& parameters = "") {
    std::vector<std::string> args = {"/usr/bin/python3", "-m", "dbusmock", "--template", template_name};
    if (!parameters.empty()) args.insert(args.end(), {"--parameters", parameters});
    const pid_t pid = Spawn(args);
    if (pid <= 0) return 0;
    services_.push_back(pid);
    SystemBus bus;
    const auto give_up = std::chrono::steady_clock::now() + kStartLimit;
    while (std::chrono::steady_clock::now() < give_up) {
      if (bus.HasOwner(service)) return pid;
      if (waitpid(pid, nullptr, WNOHANG) == pid) {
        std::erase(services_, pid);
        return 0;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
  }
  void StopService(pid_t pid) {
    End(pid);
    std::erase(services_, pid);
  }

 private:
  static pid_t Spawn(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const int r = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return r == 0 ? pid : 0;
  }
  static void End(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
  }

  // A cold python3 loading dbusmock right after a build, beside another
  // test, has taken more than 5 s; the wait ends as soon as the service is up.
  static constexpr std::chrono::seconds kStartLimit{30};

  TempFolder folder_;
  std::string address_;
  pid_t daemon_ = 0;
  std::vector<pid_t> services_;
};

}  // namespace brantel::testing
