// The install phase of the work object and the edits that follow it.

#include <cstdio>

#include "platform/folders.h"
#include "updater/file_install.h"
#include "updater/update_paths.h"
#include "updater/update_work.h"
#include "updater/updater_registry.h"

namespace brantel {

namespace {

WideText CopyStatus(size_t done, size_t count) { return FormatText(u"파일 복사 : %d/%d", done, count); }

}  // namespace

void CUpdateWork::InstallPhase() {
  const size_t count = plan_.files.size();
  size_t done = 0;
  std::vector<std::string> setup_programs;
  current_name_.clear();
  status_text_ = CopyStatus(0, count);
  services_.ReportProgress(kProgressInstalling, 0);

  for (UpdateFileEntry& entry : plan_.files) {
    if (!entry.downloaded) {
      // Entries before stay installed; no edit, stamp, manifest copy or
      // restart follows, so the release is offered again next time.
      std::remove(downloaded_manifest_.c_str());
      failed_ = true;
      services_.ReportProgress(kProgressInstallFailed, 0);
      return;
    }
    current_name_ = entry.name;
    const std::string target = Narrow(entry.local_path);
    if (entry.is_self_update) {
      // The file cannot replace itself while running: the viewer installs it
      // at its next start from the key and the kept temporary file.
      WriteSelfUpgradeKey(entry.temp_path, target);
    } else {
      if (entry.is_kill)
        CloseProgram(entry.wnd_class, entry.wnd_name, entry.close_msg, entry.exec_path, entry.exec_parameter);
      if (entry.is_reg_file) {
        services_.ImportRegistryScript(entry.temp_path);
        std::remove(entry.temp_path.c_str());
        continue;  // a script is not counted as a copied file
      }
      if (InstallFileAtomically(entry.temp_path, target)) {
        if (entry.is_auto_register) services_.RegisterComponent(target);
        if (entry.is_setup_file) setup_programs.push_back(target);
      } else {
        failed_ = true;  // the rest still installs; the run reports the failure
      }
      std::remove(entry.temp_path.c_str());
    }
    services_.LetMessagesThrough();
    ++done;
    status_text_ = CopyStatus(done, count);
    services_.ReportProgress(kProgressInstalling, intptr_t(double(done) * 100.0 / double(count)));
  }

  services_.LetMessagesThrough();
  if (plan_.update_date != setup_.stored_upgrade_date) ApplyEdits();
  for (const std::string& program : setup_programs) services_.StartProgram(program, u"");
  WriteUpgradeDate(plan_.update_date);
  // The copy of the applied manifest changes only now, at the very end.
  if (InstallFileAtomically(downloaded_manifest_, setup_.local_manifest)) std::remove(downloaded_manifest_.c_str());
  RestartAll(kMarkerAutoUpdate);
  ClearLists();
  services_.ReportProgress(kProgressFinished, 0);
}

void CUpdateWork::ApplyEdits() {
  ApplyRegistryEdits(plan_.reg_edits);
  ApplyFileEdits();
}

void CUpdateWork::ApplyFileEdits() {
  for (const FileEdit& edit : plan_.file_edits) {
    std::string from, to;
    // Paths may use the viewer-folder placeholder; such a path must not
    // climb out of the viewer's folder.
    if (!ResolveManifestPath(edit.path_1, setup_.viewer_dir, from) || from.empty()) continue;
    switch (edit.file_edit_type) {
      case 1:
        std::remove(from.c_str());
        break;
      case 2:
      case 3:
        if (!ResolveManifestPath(edit.path_2, setup_.viewer_dir, to) || to.empty()) break;
        if (InstallFileAtomically(from, to) && edit.file_edit_type == 2) std::remove(from.c_str());
        break;
      default:
        break;
    }
  }
}

void CUpdateWork::FinishWithoutDownloads() {
  if (plan_.update_date != setup_.stored_upgrade_date && (!plan_.reg_edits.empty() || !plan_.file_edits.empty())) {
    if (plan_.must_close_programs && close_first()) CloseListedPrograms();
    ApplyEdits();
    WriteUpgradeDate(plan_.update_date);
    RestartAll(kMarkerAutoUpdate);
  }
  std::remove(downloaded_manifest_.c_str());
}

}  // namespace brantel
