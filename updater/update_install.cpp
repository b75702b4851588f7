// The install phase of the work object and the edits that follow it.

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "platform/folders.h"
#include "updater/file_install.h"
#include "updater/update_destinations.h"
#include "updater/update_work.h"
#include "updater/updater_registry.h"

namespace brantel {

namespace {

WideText CopyStatus(size_t done, size_t count) { return FormatText(u"파일 복사 : %d/%d", done, count); }

// A file edit's path when the updater may change it; empty otherwise.
std::string EditPath(WideView manifest_path, const UpdateDestinations& folders) {
  std::string path;
  if (!ResolveDestination(manifest_path, folders, path)) return {};
  return path;
}

}  // namespace

void CUpdateWork::FailAt(const UpdateFileEntry& entry) {
  // Entries before stay installed; no edit, stamp, manifest copy or restart
  // follows, so the release is offered again next time.
  current_name_ = entry.name;
  if (!entry.temp_path.empty()) std::remove(entry.temp_path.c_str());
  std::remove(downloaded_manifest_.c_str());
  failed_ = true;
  std::fprintf(stderr, "StockUpdater: %s: %s\n", Narrow(entry.name).c_str(),
               entry.destination_refused ? "destination outside the program and data folders, refused"
               : entry.downloaded        ? "could not be installed"
                                         : "not downloaded");
  services_.ReportProgress(kProgressInstallFailed, 0);
}

bool CUpdateWork::InstallEntry(UpdateFileEntry& entry, std::vector<std::string>& setup_programs) {
  const std::string target = Narrow(entry.local_path);
  if (entry.is_self_update) {
    // The file cannot replace itself while running: the viewer installs it
    // at its next start from the key and the kept temporary file, only into
    // its own folder. That folder must be reachable without a link, as for
    // any other file.
    FolderInside folder;
    if (!folder.Open(target, {destinations_.program_folder}, true)) return false;
    WriteSelfUpgradeKey(entry.temp_path, target);
    return true;
  }
  if (entry.is_kill)
    CloseProgram(entry.wnd_class, entry.wnd_name, entry.close_msg, entry.exec_path, entry.exec_parameter);
  if (entry.is_reg_file) {
    services_.ImportRegistryScript(entry.temp_path);
    std::remove(entry.temp_path.c_str());
    return true;
  }
  if (!InstallFileInside(entry.temp_path, target, destinations_)) return false;
  if (entry.is_auto_register) services_.RegisterComponent(target);
  if (entry.is_setup_file) setup_programs.push_back(target);
  std::remove(entry.temp_path.c_str());
  return true;
}

void CUpdateWork::InstallPhase() {
  const size_t count = plan_.files.size();
  size_t done = 0;
  std::vector<std::string> setup_programs;
  current_name_.clear();
  status_text_ = CopyStatus(0, count);
  services_.ReportProgress(kProgressInstalling, 0);

  for (UpdateFileEntry& entry : plan_.files) {
    current_name_ = entry.name;
    if (!entry.downloaded || !InstallEntry(entry, setup_programs)) {
      FailAt(entry);
      return;
    }
    if (entry.is_reg_file) continue;  // a script is not counted as a copied file
    services_.LetMessagesThrough();
    ++done;
    status_text_ = CopyStatus(done, count);
    services_.ReportProgress(kProgressInstalling, intptr_t(double(done) * 100.0 / double(count)));
  }

  services_.LetMessagesThrough();
  if (plan_.update_date != setup_.stored_upgrade_date && !ApplyEdits()) {
    // A refused edit fails the release like a file: nothing is recorded as applied.
    std::remove(downloaded_manifest_.c_str());
    services_.ReportProgress(kProgressInstallFailed, 0);
    return;
  }
  for (const std::string& program : setup_programs) services_.StartProgram(program, u"");
  WriteUpgradeDate(plan_.update_date);
  // The copy of the applied manifest changes only now, at the very end.
  if (InstallFileAtomically(downloaded_manifest_, setup_.local_manifest)) std::remove(downloaded_manifest_.c_str());
  RestartAll(kMarkerAutoUpdate);
  ClearLists();
  services_.ReportProgress(kProgressFinished, 0);
}

bool CUpdateWork::ApplyEdits() {
  ApplyRegistryEdits(plan_.reg_edits);
  return ApplyFileEdits();
}

bool CUpdateWork::ApplyFileEdits() {
  bool all_allowed = true;
  // Every path an edit names must lie in the viewer's or the data folder and
  // is reached without following a link; other edits are refused.
  for (const FileEdit& edit : plan_.file_edits) {
    if (edit.file_edit_type < 1 || edit.file_edit_type > 3) continue;
    DestinationFolder from, to;
    const bool from_ok = from.Open(EditPath(edit.path_1, destinations_), destinations_, false);
    if (!from_ok && from.missing()) continue;  // nothing there to delete, move or copy
    const bool to_ok =
        from_ok && (edit.file_edit_type == 1 || to.Open(EditPath(edit.path_2, destinations_), destinations_, true));
    if (!to_ok) {
      const WideText& refused = from_ok ? edit.path_2 : edit.path_1;
      if (all_allowed) current_name_ = refused;
      all_allowed = false;
      failed_ = true;
      std::fprintf(stderr, "StockUpdater: file edit of %s refused: outside the program and data folders\n",
                   Narrow(refused).c_str());
      continue;
    }
    if (edit.file_edit_type == 1) {
      unlinkat(from.fd(), from.leaf().c_str(), 0);
      continue;
    }
    const int source = openat(from.fd(), from.leaf().c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    const bool copied = InstallFileInFolder(source, to.fd(), to.leaf());
    if (source >= 0) close(source);
    if (copied && edit.file_edit_type == 2) unlinkat(from.fd(), from.leaf().c_str(), 0);
  }
  return all_allowed;
}

void CUpdateWork::FinishWithoutDownloads() {
  if (plan_.update_date != setup_.stored_upgrade_date && (!plan_.reg_edits.empty() || !plan_.file_edits.empty())) {
    if (plan_.must_close_programs && close_first()) CloseListedPrograms();
    // A refused edit leaves the stamp as it was, so the edits are due again;
    // the window shows the failure and restarts what was closed on closing.
    if (ApplyEdits()) {
      WriteUpgradeDate(plan_.update_date);
      RestartAll(kMarkerAutoUpdate);
      restarts_.clear();  // a refused restart shows the failure, whose close button must not start them again
    }
  }
  std::remove(downloaded_manifest_.c_str());
}

}  // namespace brantel
