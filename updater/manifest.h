#pragma once
// The update manifest "q_stock_update.xml": one release of the viewer, with
// the files to fetch and install, programs to close and restart, and registry
// and file edits.
//
// Texts keep at most the number of characters the format allows (the field
// comments give them); longer values are cut to that length, so a manifest
// written for the device reads the same here.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/text.h"

namespace brantel {

// Kept lengths, in UTF-16 code units.
namespace manifest_limits {
inline constexpr size_t kClientType = 10;
inline constexpr size_t kUpdateDate = 31;
inline constexpr size_t kWmailVer = 10;
inline constexpr size_t kUpdateOption = 127;
inline constexpr size_t kKillProcess = 1023;
inline constexpr size_t kAlert = 2047;
inline constexpr size_t kEntryName = 259;
inline constexpr size_t kRealName = 127;
inline constexpr size_t kPath = 259;
inline constexpr size_t kFileDate = 15;
inline constexpr size_t kWindowText = 127;
inline constexpr size_t kRegKey = 259;
inline constexpr size_t kRegValueName = 255;
inline constexpr size_t kRegValue = 1023;
inline constexpr size_t kEditDate = 21;
// A manifest file larger than this is not read at all.
inline constexpr size_t kFileBytes = size_t(4) << 20;
// Entries of each kind (update_file, reg_edit, file_edit) one manifest may
// hold; a manifest with more is refused whole, so a hostile file cannot fill
// memory and a release is never carried out in part.
inline constexpr size_t kEntries = 1000;
}  // namespace manifest_limits

struct ManifestHead {
  WideText client_type;    // stored only
  WideText update_date;    // release stamp, compared with the stored upgrade_date
  WideText wmail_ver;      // stored only
  WideText update_option;  // "/s", "/q", "/k", lower-cased
  WideText kill_process;   // programs to close, "[cnt]n[/cnt][1]...[/1]..."
  WideText alert;          // "[title]...[/title][message]...[/message]"
};

// One update_file element with its file_Info and process_kill children.
struct UpdateFileEntry {
  WideText name;  // entry key and base of the temporary file name
  // file_Info
  WideText real_name;
  WideText down_url;
  WideText local_path;  // may hold "\TARGET-DIRECTORY\"
  int64_t file_size = 0;
  long file_version = 0;
  WideText update_date;
  bool is_auto_register = false;
  bool is_auto_exec = false;
  bool is_setup_file = false;
  bool is_self_update = false;
  bool is_reg_file = false;
  WideText sha256;  // optional: 64 hex digits the downloaded file must match
  // process_kill
  bool is_kill = false;
  WideText wnd_class;  // "NULL_CLASS": any class
  WideText wnd_name;   // "NULL_NAME": any title
  uint32_t close_msg = 0;  // 0: terminate the program's process
  WideText exec_path;
  WideText exec_parameter;
  // Filled by the check: local_path names a place the updater may not write.
  bool destination_refused = false;
  // Filled while updating.
  std::string temp_path;
  bool downloaded = false;
};

struct RegEdit {
  long reg_edit_type = 0;  // 1 set, 2 delete, 3 set when the key exists
  long hkey = 0;           // 0 classes root, 1 current user, 3 users, else local machine
  bool is_key = false;
  WideText key;
  WideText value_name;
  long value_type = 0;  // 4 number, 2 multi-string, else string
  WideText value;
  WideText update_date;
  bool process_kill = false;
};

struct FileEdit {
  long file_edit_type = 0;  // 1 delete, 2 move, 3 copy
  WideText path_1;
  WideText path_2;
  WideText update_date;
  bool process_kill = false;
};

struct Manifest {
  ManifestHead head;
  std::vector<UpdateFileEntry> files;
  std::vector<RegEdit> reg_edits;
  std::vector<FileEdit> file_edits;
};

// Result codes of LoadManifest.
inline constexpr int kManifestOk = 0;
inline constexpr int kManifestCannotOpen = -1;
inline constexpr int kManifestEmpty = -2;
inline constexpr int kManifestXmlError = -3;
inline constexpr int kManifestTooLarge = -4;
// More than manifest_limits::kEntries of one kind; the head is still read.
inline constexpr int kManifestTooManyEntries = -5;

// What the XML parser reported when a load failed with kManifestXmlError.
struct ManifestLoadError {
  int code = 0;
  long line = 0;
  long position = 0;  // column within the line, from 1
  std::string reason;
};

// Reads the manifest file at `path`. update_file elements are always read,
// reg_edit and file_edit only when asked for.
int LoadManifest(const std::string& path, bool take_reg_edits, bool take_file_edits, Manifest& out,
                 ManifestLoadError* error = nullptr);
// The same over bytes already in memory (UTF-8, the device code page).
int LoadManifestBytes(std::string_view bytes, bool take_reg_edits, bool take_file_edits, Manifest& out,
                      ManifestLoadError* error = nullptr);

// Flag and number readings of attribute values.
bool ReadManifestFlag(WideView value);        // "Y" or "y" only
int64_t ReadManifestNumber(WideView value);   // leading decimal digits, else 0
int64_t ReadManifestFileSize(WideView value); // as above after removing "," and " "

// Cuts `text` to at most `limit` code units without splitting a surrogate pair.
WideText KeepLength(WideView text, size_t limit);

}  // namespace brantel
