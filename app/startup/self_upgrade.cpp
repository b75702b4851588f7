#include "app/startup/self_upgrade.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <vector>

#include "app/server_selection.h"
#include "platform/ui/clock.h"
#include "platform/folders.h"
#include "platform/inside_folder.h"
#include "platform/ui/message_queue.h"
#include "protocol/app_messages.h"
#include "protocol/registry_key.h"

namespace brantel {

namespace {

constexpr size_t kPathChars = 260;
constexpr char kStagingSuffix[] = ".new";

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

// The hand-over's file opened for reading and the open folder of its
// target, both reached from the program folder without following a link.
// `refused` tells a path outside it, or a link on the way, from a file or
// folder that is just not there.
struct HandOverFiles {
  FolderInside from, to;
  int source = -1;
  ~HandOverFiles() {
    if (source >= 0) close(source);
  }
};

bool OpenHandOver(const std::string& from, const std::string& to, HandOverFiles& files, bool& refused) {
  const std::vector<std::string> program_folder = {ProgramFolder()};
  const bool from_ok = files.from.Open(from, program_folder, false);
  const bool to_ok = files.to.Open(to, program_folder, false);
  refused = (!from_ok && !files.from.missing()) || (!to_ok && !files.to.missing());
  if (!from_ok || !to_ok) return false;
  files.source = openat(files.from.fd(), files.from.leaf().c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  refused = files.source < 0 && errno == ELOOP;
  return files.source >= 0;
}

}  // namespace

SelfUpgradeResult RunSelfUpgradeHandOver() {
  RegistryKey key;
  if (!key.Open(HKEY_LOCAL_MACHINE, kSelfUpgradeKey)) return SelfUpgradeResult::kNothingToDo;
  std::string exist_path, new_path;
  if (!ReadPath(key, u"ExistFilePath", exist_path) || !ReadPath(key, u"NewFilePath", new_path))
    return SelfUpgradeResult::kNothingToDo;
  key.Close();

  // Both files must lie in the program folder, reached without a link: the
  // key may have come from a registry script of a release. A refused
  // hand-over can never succeed, so its key goes and no file is touched.
  HandOverFiles files;
  bool refused = false;
  const bool opened = OpenHandOver(exist_path, new_path, files, refused);
  if (refused) {
    std::fprintf(stderr,
                 "BrantelStock: updater hand-over from %s to %s refused: not inside the program folder "
                 "without a link\n",
                 exist_path.c_str(), new_path.c_str());
    RegistryKey().DeleteKey(HKEY_LOCAL_MACHINE, kSelfUpgradeKey);
    return SelfUpgradeResult::kRefused;
  }
  if (!opened) return SelfUpgradeResult::kCopyFailed;
  if (!CloseRunningUpdater()) return SelfUpgradeResult::kUpdaterStillOpen;
  if (!ReplaceFileInFolder(files.source, files.to.fd(), files.to.leaf(), kStagingSuffix))
    return SelfUpgradeResult::kCopyFailed;
  RegistryKey().DeleteKey(HKEY_LOCAL_MACHINE, kSelfUpgradeKey);
  unlinkat(files.from.fd(), files.from.leaf().c_str(), 0);
  return SelfUpgradeResult::kInstalled;
}

}  // namespace brantel
