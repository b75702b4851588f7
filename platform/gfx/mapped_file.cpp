#include "platform/gfx/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <mutex>

namespace brantel {

MappedFile::~MappedFile() { munmap(const_cast<void*>(data_), size_); }

std::shared_ptr<const MappedFile> MapFileShared(const std::string& path) {
  static std::mutex mutex;
  static std::map<std::string, std::weak_ptr<const MappedFile>> mapped;
  std::lock_guard lock(mutex);
  if (auto existing = mapped[path].lock()) return existing;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st {};
  void* data = MAP_FAILED;
  if (fstat(fd, &st) == 0 && st.st_size > 0) data = mmap(nullptr, size_t(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
  close(fd);
  if (data == MAP_FAILED) return nullptr;
  auto file = std::make_shared<const MappedFile>(data, size_t(st.st_size));
  mapped[path] = file;
  return file;
}

}  // namespace brantel
