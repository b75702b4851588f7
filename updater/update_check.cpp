#include "updater/update_check.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "updater/message_wait.h"
#include "updater/update_destinations.h"

namespace brantel {

namespace {

enum class Fetch { kDone, kFailed, kTooLarge };

Fetch FetchManifest(const UpdateCheckSetup& setup) {
  DownloadOptions options;
  options.pump = setup.pump;
  // More than the reader takes is not fetched at all, and not fetched again.
  bool too_large = false;
  options.max_body_bytes = manifest_limits::kFileBytes;
  options.body_over_limit = &too_large;
  for (int attempt = 1; attempt <= kManifestDownloadAttempts; ++attempt) {
    uint64_t written = 0;
    if (DownloadToFile(setup.manifest_address, setup.downloaded_manifest, written, options) == 0) return Fetch::kDone;
    if (too_large) return Fetch::kTooLarge;
    if (attempt < kManifestDownloadAttempts) WaitLettingMessagesThrough(50, setup.pump);
  }
  return Fetch::kFailed;
}

bool CanOpen(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  close(fd);
  return true;
}

bool HasContent(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char c;
  const bool any = read(fd, &c, 1) == 1;
  close(fd);
  return any;
}

const UpdateFileEntry* FindByName(const std::vector<UpdateFileEntry>& entries, const WideText& name) {
  for (const UpdateFileEntry& e : entries)
    if (e.name == name) return &e;
  return nullptr;
}

}  // namespace

bool EditIsDue(WideView edit_date, WideView stored_upgrade_date) {
  if (edit_date.empty() || stored_upgrade_date.empty()) return true;
  return ReadManifestNumber(edit_date) > ReadManifestNumber(stored_upgrade_date);
}

int CheckForUpdates(const UpdateCheckSetup& setup, UpdatePlan& plan) {
  plan = UpdatePlan{};
  switch (FetchManifest(setup)) {
    case Fetch::kDone:
      break;
    case Fetch::kFailed:
      return 0;
    case Fetch::kTooLarge:
      std::remove(setup.downloaded_manifest.c_str());
      return kCheckManifestRefused;
  }

  Manifest local, fresh;
  const bool have_local = HasContent(setup.local_manifest);
  if (have_local && LoadManifest(setup.local_manifest, false, false, local) != kManifestOk) {
    // A copy that does not parse is dropped, so the next run takes every entry.
    std::remove(setup.downloaded_manifest.c_str());
    std::remove(setup.local_manifest.c_str());
    return 0;
  }
  if (const int loaded = LoadManifest(setup.downloaded_manifest, true, true, fresh); loaded != kManifestOk) {
    std::remove(setup.downloaded_manifest.c_str());
    // A manifest that cannot be taken whole must not pass for "nothing due".
    if (loaded != kManifestTooLarge && loaded != kManifestTooManyEntries) return 0;
    plan.options = fresh.head.update_option;
    return kCheckManifestRefused;
  }

  plan.options = fresh.head.update_option;
  plan.kill_process = fresh.head.kill_process;
  if (!fresh.head.alert.empty()) plan.alert = ParseAlert(fresh.head.alert);
  plan.update_date = fresh.head.update_date;

  for (RegEdit& edit : fresh.reg_edits) {
    if (!EditIsDue(edit.update_date, setup.stored_upgrade_date)) continue;
    plan.must_close_programs |= edit.process_kill;
    plan.reg_edits.push_back(std::move(edit));
  }
  for (FileEdit& edit : fresh.file_edits) {
    if (!EditIsDue(edit.update_date, setup.stored_upgrade_date)) continue;
    plan.must_close_programs |= edit.process_kill;
    plan.file_edits.push_back(std::move(edit));
  }

  if (fresh.files.empty()) {
    std::remove(setup.downloaded_manifest.c_str());
    return 0;
  }
  const UpdateDestinations folders{setup.viewer_dir, setup.data_dir};
  for (UpdateFileEntry& entry : fresh.files) {
    std::string target;
    // A registry script is imported, not installed: its local_path is unused.
    // The updater's own replacement goes only into the viewer's folder, where
    // the viewer will put it in place.
    const UpdateDestinations allowed = entry.is_self_update ? UpdateDestinations{setup.viewer_dir, ""} : folders;
    entry.destination_refused = !ResolveDestination(entry.local_path, allowed, target) && !entry.is_reg_file;
    bool take = true;
    if (have_local) {
      if (const UpdateFileEntry* old = FindByName(local.files, entry.name)) {
        take = old->file_version < entry.file_version || (!old->is_reg_file && !CanOpen(target));
      }
    }
    if (!take) continue;
    if (entry.destination_refused) {
      plan.files.push_back(std::move(entry));  // kept as written, for the failure
      continue;
    }
    entry.local_path = Widen(target);
    if (entry.file_size > 0) plan.total_size += uint64_t(entry.file_size);
    plan.files.push_back(std::move(entry));
  }
  return int(plan.files.size());
}

}  // namespace brantel
