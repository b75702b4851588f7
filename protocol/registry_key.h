#pragma once
// The viewer's registry access object: one per use, on the stack. Each
// operation returns true on success and records the status code, the value
// type and the byte count of the last call in the object.

#include <cstdint>

#include "platform/registry/registry_store.h"
#include "platform/text.h"

namespace brantel {

// Full access, the mask every key of the viewer is opened with.
inline constexpr uint32_t kRegistryKeyAllAccess = 0xF003F;

class RegistryKey {
 public:
  // The object starts on `root` itself, as the device's root handle.
  explicit RegistryKey(RegRoot root = HKEY_LOCAL_MACHINE);
  ~RegistryKey();
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  // Creates or opens the key; type and size are cleared.
  bool Create(RegRoot root, WideView path);
  // Opens an existing key and remembers its path.
  bool Open(RegRoot root, WideView path);
  void Close();

  bool SetDword(WideView name, uint32_t value);
  // Writes `byte_count` bytes as REG_MULTI_SZ, exactly as given (the viewer
  // passes 2 x characters, no terminator).
  bool SetText(WideView name, const void* bytes, uint32_t byte_count);
  // Reads a 4-byte value. A value of another size is refused and `value` is
  // left as it was, so the caller's default stands.
  bool QueryDword(WideView name, uint32_t* value);
  // Reads a value's raw bytes. When they do not fit, nothing is written,
  // the result is ERROR_MORE_DATA and the size tells how many are needed.
  bool QueryText(WideView name, void* buffer, uint32_t capacity);
  // Deletes the key at `path` with everything below it.
  bool DeleteKey(RegRoot root, WideView path);

  long last_result() const { return last_result_; }
  uint32_t last_type() const { return last_type_; }
  uint32_t last_size() const { return last_size_; }
  const WideText& key_path() const { return key_path_; }
  bool is_open() const { return key_ != 0; }

 private:
  bool Record(long result);

  std::shared_ptr<RegistryStore> store_;
  RegKeyId key_ = 0;
  long last_result_ = ERROR_SUCCESS;
  uint32_t last_type_ = 0;
  uint32_t last_size_ = 0;
  WideText key_path_;
};

// Creates a key below the program's key. Opens the full path; when that
// fails, makes "SOFTWARE\BRANTEL" and "SOFTWARE\BRANTEL\BrantelStock" first
// (each opened or created, then closed), then creates the full path. `key`
// is left open on it.
bool CreateProgramKeyPath(RegistryKey& key, RegRoot root, WideView full_path);

}  // namespace brantel
