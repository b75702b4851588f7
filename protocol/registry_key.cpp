#include "protocol/registry_key.h"

#include <cstring>

namespace brantel {

RegistryKey::RegistryKey(RegRoot root) : store_(RegistryStore::Shared()), key_(RegistryStore::RootKey(root)) {}

RegistryKey::~RegistryKey() { Close(); }

bool RegistryKey::Record(long result) {
  last_result_ = result;
  return result == ERROR_SUCCESS;
}

bool RegistryKey::Create(RegRoot root, WideView path) {
  Close();
  last_type_ = 0;
  last_size_ = 0;
  RegKeyId id = 0;
  if (!Record(store_->CreateKey(root, Narrow(path), &id))) return false;
  key_ = id;
  return true;
}

bool RegistryKey::Open(RegRoot root, WideView path) {
  Close();
  key_path_ = WideText(path);
  RegKeyId id = 0;
  if (!Record(store_->OpenKey(root, Narrow(path), &id))) return false;
  key_ = id;
  return true;
}

void RegistryKey::Close() {
  // Keys live in the store; closing only forgets the handle.
  key_ = 0;
}

bool RegistryKey::SetDword(WideView name, uint32_t value) {
  if (!key_) return Record(ERROR_INVALID_HANDLE);
  char bytes[4];
  for (int i = 0; i < 4; ++i) bytes[i] = char((value >> (8 * i)) & 0xFF);
  last_type_ = REG_DWORD;
  last_size_ = 4;
  return Record(store_->SetValue(key_, Narrow(name), REG_DWORD, std::string_view(bytes, 4)));
}

bool RegistryKey::SetText(WideView name, const void* bytes, uint32_t byte_count) {
  if (!key_) return Record(ERROR_INVALID_HANDLE);
  if (!bytes && byte_count) return Record(ERROR_INVALID_PARAMETER);
  last_type_ = REG_MULTI_SZ;
  last_size_ = byte_count;
  return Record(store_->SetValue(key_, Narrow(name), REG_MULTI_SZ,
                                 std::string_view(static_cast<const char*>(bytes), byte_count)));
}

bool RegistryKey::QueryDword(WideView name, uint32_t* value) {
  if (!key_) return Record(ERROR_INVALID_HANDLE);
  RegValue v;
  if (!Record(store_->QueryValue(key_, Narrow(name), &v))) return false;
  last_type_ = v.type;
  last_size_ = uint32_t(v.data.size());
  if (v.data.size() != 4) return Record(v.data.size() > 4 ? ERROR_MORE_DATA : ERROR_INVALID_DATA);
  uint32_t n = 0;
  for (int i = 3; i >= 0; --i) n = (n << 8) | uint8_t(v.data[size_t(i)]);
  if (value) *value = n;
  return true;
}

bool RegistryKey::QueryText(WideView name, void* buffer, uint32_t capacity) {
  if (!key_) return Record(ERROR_INVALID_HANDLE);
  RegValue v;
  if (!Record(store_->QueryValue(key_, Narrow(name), &v))) return false;
  last_type_ = v.type;
  last_size_ = uint32_t(v.data.size());
  if (v.data.size() > capacity || (!buffer && !v.data.empty())) return Record(ERROR_MORE_DATA);
  if (!v.data.empty()) std::memcpy(buffer, v.data.data(), v.data.size());
  return true;
}

bool RegistryKey::DeleteKey(RegRoot root, WideView path) { return Record(store_->DeleteKey(root, Narrow(path))); }

bool CreateProgramKeyPath(RegistryKey& key, RegRoot root, WideView full_path) {
  if (key.Open(root, full_path)) return true;
  key.Create(root, u"SOFTWARE\\BRANTEL");
  key.Close();
  key.Create(root, u"SOFTWARE\\BRANTEL\\BrantelStock");
  key.Close();
  return key.Create(root, full_path);
}

}  // namespace brantel
