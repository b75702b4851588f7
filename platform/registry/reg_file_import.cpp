#include "platform/registry/reg_file_import.h"

#include "platform/folders.h"

namespace brantel {

namespace {

std::string DescribeStatus(long status) {
  switch (status) {
    case ERROR_INVALID_PARAMETER: return "name too long or value too large";
    case ERROR_KEY_DELETED: return "the key was deleted";
    case ERROR_CANTOPEN: return "the registry file cannot be opened";
    case ERROR_CANTWRITE: return "the registry file cannot be written";
    default: return "registry error " + std::to_string(status);
  }
}

class StoreSink : public RegFileSink {
 public:
  StoreSink(RegistryStore& store, RegImportResult& result) : store_(store), result_(result) {}

  std::string OnKey(RegRoot root, std::string_view path) override {
    const long r = store_.CreateKey(root, path, &key_);
    if (r != ERROR_SUCCESS) return "cannot create the key: " + DescribeStatus(r);
    ++result_.keys;
    return {};
  }
  std::string OnDeleteKey(RegRoot root, std::string_view path) override {
    key_ = 0;
    const long r = store_.DeleteKey(root, path);
    if (r == ERROR_FILE_NOT_FOUND) return {};  // already gone, as the editor treats it
    if (r != ERROR_SUCCESS) return "cannot delete the key: " + DescribeStatus(r);
    ++result_.deleted_keys;
    return {};
  }
  std::string OnValue(std::string_view name, uint32_t type, std::string_view data) override {
    const long r = store_.SetValue(key_, name, type, data);
    if (r != ERROR_SUCCESS) return "cannot write the value: " + DescribeStatus(r);
    ++result_.values;
    return {};
  }
  std::string OnDeleteValue(std::string_view name) override {
    const long r = store_.DeleteValue(key_, name);
    if (r == ERROR_FILE_NOT_FOUND) return {};
    if (r != ERROR_SUCCESS) return "cannot delete the value: " + DescribeStatus(r);
    ++result_.deleted_values;
    return {};
  }

 private:
  RegistryStore& store_;
  RegImportResult& result_;
  RegKeyId key_ = 0;
};

}  // namespace

RegImportResult ImportRegText(RegistryStore& store, std::string_view bytes) {
  RegImportResult result;
  const long r = store.Transaction([&]() -> long {
    StoreSink sink(store, result);
    return ParseRegText(bytes, sink, &result.error) ? ERROR_SUCCESS : ERROR_INVALID_DATA;
  });
  if (r == ERROR_SUCCESS) {
    result.ok = true;
    return result;
  }
  if (result.error.message.empty()) {
    result.error.line = 0;
    result.error.message = "nothing imported: " + DescribeStatus(r);
  }
  result.keys = result.deleted_keys = result.values = result.deleted_values = 0;
  return result;
}

RegImportResult ImportRegFile(RegistryStore& store, const std::string& path) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes, kMaxRegFileBytes)) {
    RegImportResult result;
    result.error.message = "cannot read " + path + " (missing, unreadable or larger than " +
                           std::to_string(kMaxRegFileBytes >> 20) + " MiB)";
    return result;
  }
  return ImportRegText(store, bytes);
}

std::string DescribeRegFileError(const RegFileError& error) {
  if (error.line == 0) return error.message;
  return "line " + std::to_string(error.line) + ": " + error.message;
}

}  // namespace brantel
