#pragma once
// Keeps the machine from sleeping while long work runs (the updater's
// download and install), through logind's inhibitor lock: the lock is a
// file descriptor, held until it is closed. Without logind the work goes on
// unprotected.

#include <string>

namespace brantel {

class SleepInhibitor {
 public:
  SleepInhibitor() = default;
  ~SleepInhibitor() { Release(); }
  SleepInhibitor(const SleepInhibitor&) = delete;
  SleepInhibitor& operator=(const SleepInhibitor&) = delete;

  // Takes the "sleep" lock in "block" mode for `who`, giving `why`; does
  // nothing when held already. False when logind did not grant it.
  bool Acquire(const std::string& who, const std::string& why);
  void Release();
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace brantel
