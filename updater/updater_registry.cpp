#include "updater/updater_registry.h"

#include "platform/folders.h"
#include "platform/registry/reg_file_import.h"
#include "platform/registry/registry_store.h"

namespace brantel {

namespace {

std::shared_ptr<RegistryStore> Store() { return RegistryStore::Shared(); }

void WriteEditValue(RegistryStore& store, RegKeyId key, const RegEdit& edit) {
  const std::string name = Narrow(edit.value_name);
  if (edit.value_type == 4) {
    const uint32_t number = uint32_t(ParseLeadingLong(edit.value, 10));
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[size_t(i)] = char((number >> (8 * i)) & 0xFF);
    store.SetValue(key, name, REG_DWORD, bytes);
  } else {
    store.SetValue(key, name, edit.value_type == 2 ? REG_MULTI_SZ : REG_SZ, TextToRegistryBytes(edit.value));
  }
}

void ApplyOne(RegistryStore& store, const RegEdit& edit) {
  const RegRoot root = RootForManifestKey(edit.hkey);
  const std::string path = Narrow(edit.key);
  RegKeyId key = 0;
  switch (edit.reg_edit_type) {
    case 1:
      if (store.CreateKey(root, path, &key) != ERROR_SUCCESS) return;
      if (!edit.is_key) WriteEditValue(store, key, edit);
      return;
    case 2:
      if (edit.is_key) {
        store.DeleteKey(root, path);
      } else if (store.OpenKey(root, path, &key) == ERROR_SUCCESS) {
        store.DeleteValue(key, Narrow(edit.value_name));
      }
      return;
    case 3:
      if (!edit.is_key && store.OpenKey(root, path, &key) == ERROR_SUCCESS) WriteEditValue(store, key, edit);
      return;
    default:
      return;
  }
}

}  // namespace

std::string TextToRegistryBytes(WideView text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t c : text) {
    bytes += char(c & 0xFF);
    bytes += char(c >> 8);
  }
  return bytes;
}

WideText RegistryBytesToText(std::string_view bytes) {
  WideText text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    text += char16_t(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
  return text;
}

bool WriteRegistryText(RegRoot root, const std::string& path, const std::string& name, WideView text) {
  auto store = Store();
  RegKeyId key = 0;
  return store->CreateKey(root, path, &key) == ERROR_SUCCESS &&
         store->SetValue(key, name, REG_MULTI_SZ, TextToRegistryBytes(text)) == ERROR_SUCCESS;
}

std::optional<RegValue> ReadRegistryValue(RegRoot root, const std::string& path, const std::string& name) {
  auto store = Store();
  RegKeyId key = 0;
  RegValue value;
  if (store->OpenKey(root, path, &key) != ERROR_SUCCESS || store->QueryValue(key, name, &value) != ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

WideText ReadRegistryText(RegRoot root, const std::string& path, const std::string& name, size_t limit) {
  const std::optional<RegValue> value = ReadRegistryValue(root, path, name);
  if (!value || (value->type != REG_SZ && value->type != REG_MULTI_SZ && value->type != REG_EXPAND_SZ)) return {};
  WideText text = RegistryBytesToText(value->data);
  if (const size_t zero = text.find(u'\0'); zero != WideText::npos) text.resize(zero);
  return KeepLength(text, limit);
}

bool EnsureUpdaterKey() {
  RegKeyId key = 0;
  return Store()->CreateKey(HKEY_LOCAL_MACHINE, kUpdaterRegistryPath, &key) == ERROR_SUCCESS;
}

WideText ReadStoredUpgradeDate(size_t limit) {
  return ReadRegistryText(HKEY_LOCAL_MACHINE, kUpdaterRegistryPath, "upgrade_date", limit);
}

bool WriteUpgradeDate(WideView date) {
  return WriteRegistryText(HKEY_LOCAL_MACHINE, kUpdaterRegistryPath, "upgrade_date", date);
}

bool WriteSelfUpgradeKey(const std::string& exist_file_path, const std::string& new_file_path) {
  const std::string path = std::string(kUpdaterRegistryPath) + kSelfUpgradeSubkey;
  const bool a = WriteRegistryText(HKEY_LOCAL_MACHINE, path, "ExistFilePath", Widen(exist_file_path));
  const bool b = WriteRegistryText(HKEY_LOCAL_MACHINE, path, "NewFilePath", Widen(new_file_path));
  return a && b;
}

RegRoot RootForManifestKey(long hkey) {
  switch (hkey) {
    case 0: return HKEY_CLASSES_ROOT;
    case 1: return HKEY_CURRENT_USER;
    case 3: return HKEY_USERS;
    default: return HKEY_LOCAL_MACHINE;
  }
}

void ApplyRegistryEdits(const std::vector<RegEdit>& edits) {
  auto store = Store();
  for (const RegEdit& edit : edits) ApplyOne(*store, edit);
}

bool ImportRegistryScriptIntoStore(const std::string& path) { return ImportRegFile(*Store(), path).ok; }

}  // namespace brantel
