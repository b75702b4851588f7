#include "app/startup/self_upgrade.h"

#include <sys/stat.h>

#include <array>
#include <cstdio>
#include <filesystem>

#include "app/server_selection.h"
#include "platform/ui/clock.h"
#include "platform/folders.h"
#include "platform/ui/message_queue.h"
#include "protocol/app_messages.h"
#include "protocol/registry_key.h"

namespace brantel {

namespace {

constexpr size_t kPathChars = 260;

bool ReadPath(RegistryKey& key, WideView name, std::string& out) {
  std::array<char16_t, kPathChars + 1> buffer{};
  if (!key.QueryText(name, buffer.data(), uint32_t(kPathChars * sizeof(char16_t)))) return false;
  WideText text(buffer.data());
  if (text.empty()) return false;
  out = DevicePathToLinux(Narrow(text));
  return true;
}

// Posts WM_UPDATER_CLOSE while an updater window exists, at most
// kUpdaterCloseRequests times; true when none is left.
bool CloseRunningUpdater() {
  for (int i = 0; i < kUpdaterCloseRequests; ++i) {
    HWND updater = FindWindow(kUpdaterWindowClass, u"");
    if (!updater) return true;
    PostMessage(updater, WM_UPDATER_CLOSE, 0, 0);
    const uint32_t until = GetTickCount() + kUpdaterCloseWaitMs;
    while (FindWindow(kUpdaterWindowClass, u"") && int32_t(until - GetTickCount()) > 0) {
      PumpPendingMessages();
      WaitMessage(20);
    }
  }
  return !FindWindow(kUpdaterWindowClass, u"");
}

// Copies `from` to a temporary sibling of `to` and renames it over `to`,
// keeping the target's permissions (the updater is a program).
bool ReplaceFile(const std::string& from, const std::string& to) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const std::string temp = to + ".new";
  fs::remove(temp, ec);
  if (!fs::copy_file(from, temp, fs::copy_options::overwrite_existing, ec)) {
    fs::remove(temp, ec);
    return false;
  }
  struct stat target {};
  const mode_t mode = ::stat(to.c_str(), &target) == 0 ? target.st_mode : 0755;
  ::chmod(temp.c_str(), mode & 07777);
  if (std::rename(temp.c_str(), to.c_str()) != 0) {
    fs::remove(temp, ec);
    return false;
  }
  return true;
}

}  // namespace

SelfUpgradeResult RunSelfUpgradeHandOver() {
  RegistryKey key;
  if (!key.Open(HKEY_LOCAL_MACHINE, kSelfUpgradeKey)) return SelfUpgradeResult::kNothingToDo;
  std::string exist_path, new_path;
  if (!ReadPath(key, u"ExistFilePath", exist_path) || !ReadPath(key, u"NewFilePath", new_path))
    return SelfUpgradeResult::kNothingToDo;
  key.Close();

  if (!CloseRunningUpdater()) return SelfUpgradeResult::kUpdaterStillOpen;
  if (!ReplaceFile(exist_path, new_path)) return SelfUpgradeResult::kCopyFailed;
  RegistryKey remover;
  remover.DeleteKey(HKEY_LOCAL_MACHINE, kSelfUpgradeKey);
  std::error_code ec;
  std::filesystem::remove(exist_path, ec);
  return SelfUpgradeResult::kInstalled;
}

}  // namespace brantel
