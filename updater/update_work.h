#pragma once
// The work object of one updater run: it checks the manifest, closes the
// programs the release names, downloads every due file into the working
// folder, installs them, makes the registry and file edits, records the
// release stamp, keeps a copy of the manifest and restarts what it closed.
// Each step is reported to the updater window with WM_UPDATE_PROGRESS.

#include <cstdint>
#include <string>
#include <vector>

#include "updater/download_client.h"
#include "updater/update_check.h"
#include "updater/update_destinations.h"
#include "updater/update_services.h"

namespace brantel {

inline constexpr uint32_t WM_UPDATE_PROGRESS = 0x8065;
// WM_UPDATE_PROGRESS wParam values.
inline constexpr intptr_t kProgressInstallBegins = 1;
inline constexpr intptr_t kProgressInstalling = 2;  // lParam: percent
inline constexpr intptr_t kProgressInstallFailed = -1;
inline constexpr intptr_t kProgressCancelled = -2;
inline constexpr intptr_t kProgressFinished = 100;

// Texts passed to restarted programs.
inline constexpr char16_t kMarkerAutoUpdate[] = u"[ STOCK_AUTO_UPDATE ]";
inline constexpr char16_t kMarkerUserCancel[] = u"UPDATE_USER_CANCEL";

inline constexpr int kFileDownloadAttempts = 4;
inline constexpr int kCloseProgramTries = 51;

inline constexpr char kWorkingFolderName[] = "update_temp/";
inline constexpr char kDownloadedManifestName[] = "update_tmp.xml.svr";
inline constexpr char kLocalManifestName[] = "q_stock_update.xml";

struct RestartEntry {
  std::string path;      // resolved; empty: nothing to start
  WideText command_line;  // empty: the marker is passed instead
};

struct UpdateWorkSetup {
  WideText manifest_address;
  std::string local_manifest;  // data folder + "q_stock_update.xml"
  std::string viewer_dir;      // ends in "/"
  WideText stored_upgrade_date;
  std::string data_dir;  // where files may go besides the viewer's folder; empty: DataFolder()
};

class CUpdateWork {
 public:
  // Creates the working folder (viewer folder + "update_temp/").
  CUpdateWork(UpdateWorkSetup setup, UpdateServices& services);
  ~CUpdateWork();
  CUpdateWork(const CUpdateWork&) = delete;
  CUpdateWork& operator=(const CUpdateWork&) = delete;

  // The manifest check; the number of files due (0: nothing to download), or
  // kCheckManifestRefused (failed() is then set and current_name() names the
  // manifest).
  int CheckForUpdates();
  // Closes the programs of the head's kill_process list (the "/k" step).
  void CloseListedPrograms();
  // Download phase, then install phase. 1 when the update ran to its end or
  // stopped at an install failure, 0 when the user cancelled.
  int RunUpdate(const DownloadProgress& progress);
  // When no file was due: the due edits, the stamp and the restarts; with a
  // refused edit failed() is set and neither stamp nor restarts follow.
  void FinishWithoutDownloads();
  // Restarts every program of the restart list with "UPDATE_USER_CANCEL".
  void RestartWithCancelMarker();

  // Closes one program by class and title and remembers it for the restart;
  // one whose restart path lies outside the viewer's folder is left alone.
  void CloseProgram(WideView wnd_class, WideView wnd_name, uint32_t close_msg, WideView exec_path,
                    WideView exec_parameter);

  // State the updater window shows.
  const UpdatePlan& plan() const { return plan_; }
  const WideText& status_text() const { return status_text_; }
  const WideText& current_name() const { return current_name_; }
  uint64_t total_bytes() const { return plan_.total_size; }
  uint64_t received_bytes() const { return received_; }
  const std::vector<RestartEntry>& restart_list() const { return restarts_; }
  const std::string& working_folder() const { return working_folder_; }
  const std::string& downloaded_manifest() const { return downloaded_manifest_; }
  bool silent() const { return plan_.options.find(u"/s") != WideText::npos; }
  bool ask_first() const { return plan_.options.find(u"/q") != WideText::npos; }
  bool close_first() const { return plan_.options.find(u"/k") != WideText::npos; }
  // A file of the release was not downloaded, could not be installed or had
  // a refused destination, a restart was refused, or the manifest could not
  // be taken whole.
  bool failed() const { return failed_; }
  // The folders files may be written to.
  const UpdateDestinations& destinations() const { return destinations_; }

 private:
  // Returns false when the user cancelled.
  bool DownloadPhase(const DownloadProgress& progress);
  bool DownloadEntry(UpdateFileEntry& entry, const DownloadProgress& progress, bool& cancelled);
  void InstallPhase();
  // Installs one downloaded entry; false when it could not be put in place.
  bool InstallEntry(UpdateFileEntry& entry, std::vector<std::string>& setup_programs);
  // Stops the install at `entry` (the designed failure: earlier files stay).
  void FailAt(const UpdateFileEntry& entry);
  // False when an edit was refused (its path is then current_name()).
  bool ApplyEdits();
  bool ApplyFileEdits();
  void StartProgram(const std::string& path, WideView command_line, WideView marker);
  // A restart path outside the program folder: the run fails, the program
  // is neither closed nor started.
  void RefuseRestart(const std::string& path);
  void RestartAll(WideView marker);
  void ClearLists();
  void CountProgress(uint64_t bytes_so_far);

  UpdateWorkSetup setup_;
  UpdateServices& services_;
  std::string working_folder_;
  std::string downloaded_manifest_;
  UpdateDestinations destinations_;
  UpdatePlan plan_;
  std::vector<RestartEntry> restarts_;
  WideText status_text_;
  WideText current_name_;
  uint64_t received_ = 0;
  uint64_t file_counted_ = 0;  // bytes of the file being received already in received_
  bool failed_ = false;
};

}  // namespace brantel
