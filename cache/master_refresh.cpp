#include "cache/master_refresh.h"

#include "cache/master_info.h"
#include "cache/master_parser.h"
#include "platform/folders.h"

namespace brantel {

bool RefreshMaster(const MasterRequestFn& request, const MasterStampFn& record_stamp) {
  RecoverMasterBackup();
  std::string stored_path;
  uint32_t stored_count = 0;
  LoadMasterInfo(stored_path, stored_count);
  // A registry that lost its values (set aside as damaged) still finds the
  // installed file; the count 0 then asks the server for a new one.
  if (stored_path.empty() && FileExists(DefaultMasterPath())) stored_path = DefaultMasterPath();
  const WideText count_text = FormatText(u"%u", stored_count);
  CParseMaster& parser = GetMasterParser();

  for (int attempt = 0; attempt < kMasterRefreshAttempts; ++attempt) {
    MasterAnswer answer = request ? request(count_text) : MasterAnswer{};
    // Cancelled: the viewer is ending, so no further attempt and no parsing.
    if (answer.cancelled) return false;
    // Without any answer the stored file is the only source.
    if (!answer.answered && stored_path.empty()) return false;

    if (answer.answered && answer.accepted && answer.has_item) {
      if (answer.file_path.empty()) {
        // An item without its file: keep what the device has.
        if (!stored_path.empty() && FileExists(stored_path)) parser.Parse(stored_path);
        return true;
      }
      if (!parser.Parse(answer.file_path)) return false;
      const uint32_t count = uint32_t(parser.GetEntryCount());
      const std::string installed = InstallMasterFile(answer.file_path);
      if (!installed.empty()) {
        SaveMasterInfo(installed, count);
        if (record_stamp) record_stamp(answer.server_date);
      }
      return true;
    }

    // Nothing new, or refused: the stored file. A count that does not match
    // it (the process ended between installing a file and storing its
    // count) is put right.
    const int before = parser.GetEntryCount();
    if (!stored_path.empty() && parser.Parse(stored_path)) {
      const uint32_t count = uint32_t(parser.GetEntryCount() - before);
      if (count != stored_count) SaveMasterInfo(stored_path, count);
      return true;
    }
  }
  return false;
}

}  // namespace brantel
