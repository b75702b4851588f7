#pragma once
// The updater's registry work: its own values under "SOFTWARE\Stock", the
// self-update hand-over key, the manifest's registry edits and the import of
// registry scripts, all in the shared registry store.

#include <optional>
#include <string>
#include <vector>

#include "platform/registry/registry_store.h"
#include "platform/registry/registry_types.h"
#include "platform/text.h"
#include "updater/manifest.h"

namespace brantel {

inline constexpr char kUpdaterRegistryPath[] = "SOFTWARE\\Stock";
inline constexpr char kSelfUpgradeSubkey[] = "\\SelpUpgrade";

// Text as the device stores it: UTF-16LE, two bytes a character, no terminator.
std::string TextToRegistryBytes(WideView text);
WideText RegistryBytesToText(std::string_view bytes);

// Writes `text` as a multi-string value, creating the key when missing.
bool WriteRegistryText(RegRoot root, const std::string& path, const std::string& name, WideView text);
// A stored value as it is (type and bytes); nothing when the key or the
// value is missing.
std::optional<RegValue> ReadRegistryValue(RegRoot root, const std::string& path, const std::string& name);
// Reads a text value (multi-string or string), at most `limit` characters and
// without trailing terminators; empty when missing.
WideText ReadRegistryText(RegRoot root, const std::string& path, const std::string& name, size_t limit);

// Creates the updater's own key "SOFTWARE\Stock" when it is missing.
bool EnsureUpdaterKey();
// The stored upgrade_date (empty when none).
WideText ReadStoredUpgradeDate(size_t limit = 31);
bool WriteUpgradeDate(WideView date);

// Leaves the downloaded replacement of a file that cannot be replaced now
// for the viewer to install at its next start.
bool WriteSelfUpgradeKey(const std::string& exist_file_path, const std::string& new_file_path);

// The root a manifest's hKey number names.
RegRoot RootForManifestKey(long hkey);

// Carries out the edits in order; failures of single edits are ignored.
void ApplyRegistryEdits(const std::vector<RegEdit>& edits);

// Imports a .reg script with the registry's importer: all or nothing, so a
// script that fails at some line changes nothing.
bool ImportRegistryScriptIntoStore(const std::string& path);

}  // namespace brantel
