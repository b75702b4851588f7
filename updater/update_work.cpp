#include "updater/update_work.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "platform/folders.h"
#include "updater/message_wait.h"
#include "updater/sha256.h"
#include "updater/update_paths.h"

namespace brantel {

namespace {

bool DigestMatches(const std::string& path, WideView expected) {
  std::string want = Narrow(expected);
  for (char& c : want)
    if (c >= 'A' && c <= 'F') c = char(c + 32);
  return Sha256OfFile(path) == want;
}

// The working folder is the updater's own: a link in its place (which would
// send the downloads elsewhere) is replaced by a real folder.
void MakeWorkingFolder(const std::string& folder) {
  struct stat st {};
  const std::string path = folder.substr(0, folder.size() - 1);
  if (lstat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) unlink(path.c_str());
  CreateFoldersAlong(folder);
}

}  // namespace

CUpdateWork::CUpdateWork(UpdateWorkSetup setup, UpdateServices& services)
    : setup_(std::move(setup)), services_(services) {
  if (setup_.viewer_dir.empty() || setup_.viewer_dir.back() != '/') setup_.viewer_dir += '/';
  working_folder_ = setup_.viewer_dir + kWorkingFolderName;
  downloaded_manifest_ = working_folder_ + kDownloadedManifestName;
  destinations_ = UpdateDestinations{setup_.viewer_dir, setup_.data_dir.empty() ? DataFolder() : setup_.data_dir};
  MakeWorkingFolder(working_folder_);
}

CUpdateWork::~CUpdateWork() { ClearLists(); }

int CUpdateWork::CheckForUpdates() {
  UpdateCheckSetup check;
  check.manifest_address = setup_.manifest_address;
  check.downloaded_manifest = downloaded_manifest_;
  check.local_manifest = setup_.local_manifest;
  check.viewer_dir = setup_.viewer_dir;
  check.data_dir = destinations_.data_folder;
  check.stored_upgrade_date = setup_.stored_upgrade_date;
  check.pump = [this] { return services_.LetMessagesThrough(); };
  MakeWorkingFolder(working_folder_);
  const int due = brantel::CheckForUpdates(check, plan_);
  if (due == kCheckManifestRefused) {
    failed_ = true;
    current_name_ = Widen(kLocalManifestName);
  }
  return due;
}

void CUpdateWork::ClearLists() {
  plan_.files.clear();
  plan_.reg_edits.clear();
  plan_.file_edits.clear();
  restarts_.clear();
}

void CUpdateWork::CountProgress(uint64_t bytes_so_far) {
  if (bytes_so_far == 0) return;
  received_ += bytes_so_far - file_counted_;
  file_counted_ = bytes_so_far;
}

int CUpdateWork::RunUpdate(const DownloadProgress& progress) {
  if (plan_.files.empty()) {
    services_.ReportProgress(kProgressFinished, 0);
    return 1;
  }
  if (!DownloadPhase(progress)) return 0;
  InstallPhase();
  return 1;
}

bool CUpdateWork::DownloadEntry(UpdateFileEntry& entry, const DownloadProgress& progress, bool& cancelled) {
  MakeWorkingFolder(working_folder_);
  entry.temp_path = working_folder_ + SafeEntryFileName(entry.name) + ".tmp";
  DownloadOptions options;
  options.timeout_seconds = 7;
  options.pump = [this] { return services_.LetMessagesThrough(); };
  options.progress = [this, &progress](const std::string& path, uint64_t written, uint64_t length) {
    CountProgress(written);
    if (progress) progress(path, written, length);
  };
  for (int attempt = 1; attempt <= kFileDownloadAttempts; ++attempt) {
    file_counted_ = 0;
    uint64_t written = 0;
    // Every attempt starts the file from its first byte (see docs/updater.md).
    unlink(entry.temp_path.c_str());
    int r = DownloadToFile(entry.down_url, entry.temp_path, written, options);
    if (r == kDownloadCancelled) {
      cancelled = true;
      return false;
    }
    // A release may name the digest of a file; a file that does not match
    // it counts as a failed download.
    if (r == 0 && !entry.sha256.empty() && !DigestMatches(entry.temp_path, entry.sha256)) r = kDownloadReceiveFailed;
    if (r == 0) return true;
    if (attempt < kFileDownloadAttempts) {
      services_.LetMessagesThrough();
      WaitLettingMessagesThrough(100, options.pump);
    }
    received_ -= std::min(received_, file_counted_);
    file_counted_ = 0;
  }
  return false;
}

bool CUpdateWork::DownloadPhase(const DownloadProgress& progress) {
  for (UpdateFileEntry& entry : plan_.files) {
    if (entry.destination_refused) continue;  // never fetched; the install fails at it
    bool cancelled = false;
    entry.downloaded = DownloadEntry(entry, progress, cancelled);
    if (cancelled) {
      RestartAll(kMarkerUserCancel);
      ClearLists();
      std::remove(downloaded_manifest_.c_str());
      services_.ReportProgress(kProgressCancelled, 0);
      return false;
    }
  }
  services_.LetMessagesThrough();
  status_text_.clear();
  services_.ReportProgress(kProgressInstallBegins, 0);
  services_.LetMessagesThrough();
  return true;
}

}  // namespace brantel
