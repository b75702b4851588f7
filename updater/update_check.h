#pragma once
// Deciding what one run of the updater has to do: fetch the current manifest,
// compare it with the copy of the last applied one, and select the files and
// edits that are due.

#include <cstdint>
#include <string>
#include <vector>

#include "updater/download_client.h"
#include "updater/manifest.h"
#include "updater/manifest_texts.h"

namespace brantel {

// What the check leaves for the update.
struct UpdatePlan {
  std::vector<UpdateFileEntry> files;  // local_path resolved to a Linux path
  std::vector<RegEdit> reg_edits;
  std::vector<FileEdit> file_edits;
  WideText options;       // update_option, lower-cased
  WideText kill_process;  // the head's list of programs to close
  WideText update_date;   // the manifest's release stamp
  ManifestAlert alert;
  bool must_close_programs = false;  // a selected edit asked for it
  uint64_t total_size = 0;           // sum of the selected files' sizes
};

struct UpdateCheckSetup {
  WideText manifest_address;        // "http://..." of q_stock_update.xml
  std::string downloaded_manifest;  // working folder + "update_tmp.xml.svr"
  std::string local_manifest;       // data folder + "q_stock_update.xml"
  std::string viewer_dir;           // ends in "/"
  std::string data_dir;             // the data folder; files may go there too
  WideText stored_upgrade_date;     // empty when none is stored
  MessagePump pump;                 // lets window messages through while waiting
};

inline constexpr int kManifestDownloadAttempts = 6;
// The manifest is larger than the updater takes, or holds more entries: it
// is refused whole, which is a failure, not "nothing due".
inline constexpr int kCheckManifestRefused = -1;

// Returns the number of files to update (0: nothing to download; the plan
// may still hold edits), or kCheckManifestRefused (the plan then holds only
// the head's options, when they could be read). An entry whose local_path
// names a place outside the viewer's and the data folder is taken with
// destination_refused set, so that the update fails at it. The downloaded
// manifest stays in place unless the check found it unusable.
int CheckForUpdates(const UpdateCheckSetup& setup, UpdatePlan& plan);

// True when an edit stamped `edit_date` is due against the stored stamp.
bool EditIsDue(WideView edit_date, WideView stored_upgrade_date);

}  // namespace brantel
