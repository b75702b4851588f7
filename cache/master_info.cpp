#include "cache/master_info.h"

#include <sys/time.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string_view>
#include <vector>

#include "cache/master_parser.h"
#include "platform/debug.h"
#include "platform/folders.h"
#include "platform/text.h"
#include "protocol/registry_key.h"

namespace brantel {

namespace {

constexpr char16_t kBrantelKey[] = u"SOFTWARE\\BRANTEL";
constexpr char16_t kProgramKey[] = u"SOFTWARE\\BRANTEL\\BrantelStock";
constexpr char16_t kMasterPathValue[] = u"masterpath";
constexpr char16_t kMasterCountValue[] = u"masterinfocount";
constexpr uint32_t kMasterPathBytes = 512;

void TouchBrantelKey() {
  RegistryKey key;
  key.Create(HKEY_LOCAL_MACHINE, kBrantelKey);
  key.Close();
}

// Text bytes of a value (UTF-16LE, with or without a terminator).
WideText TextFromBytes(const std::vector<uint8_t>& bytes, uint32_t size) {
  WideText text;
  for (uint32_t i = 0; i + 1 < size; i += 2) {
    char16_t c = char16_t(bytes[i] | (bytes[i + 1] << 8));
    if (c == 0) break;
    text += c;
  }
  return text;
}

// Renames `from` to `to`; across file systems the bytes are copied into a
// sibling of `to` and renamed into place, then `from` is removed.
bool MoveFile(const std::string& from, const std::string& to) {
  if (std::rename(from.c_str(), to.c_str()) == 0) return true;
  if (errno != EXDEV) return false;
  std::string bytes;
  if (!ReadWholeFile(from, bytes, kMaxMasterFileBytes)) return false;
  if (!WriteFileAtomically(to, bytes)) return false;
  std::remove(from.c_str());
  return true;
}

}  // namespace

std::string DefaultMasterPath() { return JoinPath(DataFolder(), kMasterFileName); }

int LoadMasterInfo(std::string& path, uint32_t& count) {
  TouchBrantelKey();
  RegistryKey key;
  if (!key.Open(HKEY_LOCAL_MACHINE, kProgramKey)) {
    key.Create(HKEY_LOCAL_MACHINE, kProgramKey);
    path.clear();
    count = 0;
    return 0;
  }
  std::vector<uint8_t> bytes(kMasterPathBytes, 0);
  WideText stored;
  if (key.QueryText(kMasterPathValue, bytes.data(), kMasterPathBytes)) stored = TextFromBytes(bytes, key.last_size());
  uint32_t stored_count = 0;
  if (!key.QueryDword(kMasterCountValue, &stored_count)) stored_count = 0;
  path = stored.empty() ? DefaultMasterPath() : Narrow(stored);
  count = stored_count;
  return 1;
}

int SaveMasterInfo(const std::string& path, uint32_t count) {
  TouchBrantelKey();
  RegistryKey key;
  if (key.Create(HKEY_LOCAL_MACHINE, kProgramKey)) {
    WideText wide = Widen(path);
    key.SetText(kMasterPathValue, wide.data(), uint32_t(wide.size() * 2));
    key.SetDword(kMasterCountValue, count);
  }
  return 0;
}

std::string MasterBackupName(const std::string& installed_path) {
  struct timeval now {};
  gettimeofday(&now, nullptr);
  std::tm utc{};
  time_t seconds = now.tv_sec;
  gmtime_r(&seconds, &utc);
  char suffix[40];
  std::snprintf(suffix, sizeof suffix, "_%04d%02d%02d%02d%02d%02d%04d", utc.tm_year + 1900, utc.tm_mon + 1,
                utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, int(now.tv_usec / 1000));
  return installed_path + suffix;
}

std::string InstallMasterFile(const std::string& downloaded_path) {
  std::string folder = DataFolder();
  if (folder.empty() || !DirectoryExists(folder)) return {};
  const std::string installed = JoinPath(folder, kMasterFileName);
  // One rename over the installed file: whenever the process ends, the
  // folder holds the old file or the new one, never neither.
  if (MoveFile(downloaded_path, installed)) return installed;
  DebugOutput(std::string_view("cache: the master file " + downloaded_path + " could not be installed\n"));
  return {};
}

void RecoverMasterBackup() {
  std::string folder = DataFolder();
  if (folder.empty() || !DirectoryExists(folder)) return;
  const std::string installed = JoinPath(folder, kMasterFileName);
  std::vector<std::string> backups;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (IsMasterBackupName(name) && entry.is_regular_file(ec)) backups.push_back(JoinPath(folder, name));
  }
  // The stamps sort by time: the newest backup is the last.
  std::sort(backups.begin(), backups.end());
  if (!FileExists(installed) && !backups.empty()) {
    if (std::rename(backups.back().c_str(), installed.c_str()) == 0) {
      DebugOutput(std::string_view("cache: the master file was missing; " + backups.back() + " is back in place\n"));
      backups.pop_back();
    }
  }
  // Beside an installed file a backup is left over from an install that ended early.
  for (const std::string& backup : backups) std::remove(backup.c_str());
}

bool IsMasterBackupName(std::string_view name) {
  const std::string prefix = std::string(kMasterFileName) + "_";
  return name.size() == prefix.size() + 18 && name.substr(0, prefix.size()) == prefix &&
         name.find_first_not_of("0123456789", prefix.size()) == std::string_view::npos;
}

}  // namespace brantel
