#pragma once
// A file mapped read-only into memory, once per process: every user of the
// same path shares one mapping, unmapped when the last user lets go. Font
// faces of several sizes read the same file through it, so its pages are
// resident once rather than once per face.

#include <cstddef>
#include <memory>
#include <string>

namespace brantel {

class MappedFile {
 public:
  MappedFile(const void* data, size_t size) : data_(data), size_(size) {}
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  const unsigned char* data() const { return static_cast<const unsigned char*>(data_); }
  size_t size() const { return size_; }

 private:
  const void* data_;
  size_t size_;
};

// The shared mapping of `path`; null when it cannot be opened or is empty.
std::shared_ptr<const MappedFile> MapFileShared(const std::string& path);

}  // namespace brantel
