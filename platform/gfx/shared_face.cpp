#include "platform/gfx/shared_face.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H

#include <map>
#include <utility>

#include "platform/debug.h"

namespace brantel {
namespace {

// FreeType's read: `count` bytes at `offset` into `buffer`. A count of 0
// is a seek, which succeeds (returns 0) when the offset lies in the file.
unsigned long ReadAt(FT_Stream stream, unsigned long offset, unsigned char* buffer, unsigned long count) {
  if (count == 0) return offset <= stream->size ? 0 : 1;
  const int fd = int(stream->descriptor.value);
  unsigned long done = 0;
  while (done < count) {
    const ssize_t n = pread(fd, buffer + done, count - done, off_t(offset + done));
    if (n <= 0) break;
    done += static_cast<unsigned long>(n);
  }
  return done;
}

// The lock that opening and closing faces share, and the FreeType library.
std::mutex& FreeTypeLibraryMutex() {
  static std::mutex m;
  return m;
}

FT_Library FreeTypeLibrary() {
  static FT_Library library = [] {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) DebugOutput("FreeType could not start\n");
    return lib;
  }();
  return library;
}

}  // namespace

std::shared_ptr<SharedFace> SharedFace::Open(const std::string& path, int index) {
  static std::map<std::pair<std::string, int>, std::weak_ptr<SharedFace>> open;
  std::lock_guard lock(FreeTypeLibraryMutex());
  auto& slot = open[{path, index}];
  if (auto existing = slot.lock()) return existing;

  std::shared_ptr<SharedFace> shared(new SharedFace);
  shared->fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (shared->fd_ < 0 || fstat(shared->fd_, &st) != 0 || st.st_size <= 0 || !FreeTypeLibrary()) return nullptr;
  auto* stream = new FT_StreamRec{};
  stream->size = static_cast<unsigned long>(st.st_size);
  stream->descriptor.value = shared->fd_;
  stream->read = ReadAt;
  shared->stream_ = stream;
  FT_Open_Args args{};
  args.flags = FT_OPEN_STREAM;
  args.stream = stream;
  FT_Face face = nullptr;
  if (FT_Open_Face(FreeTypeLibrary(), &args, index, &face) != 0) return nullptr;
  shared->face_ = face;
  slot = shared;
  return shared;
}

SharedFace::~SharedFace() {
  if (face_) {
    std::lock_guard lock(FreeTypeLibraryMutex());
    FT_Done_Face(static_cast<FT_Face>(face_));
  }
  delete static_cast<FT_StreamRec*>(stream_);
  if (fd_ >= 0) close(fd_);
}

void* SharedFace::NewSize() {
  FT_Size size = nullptr;
  return FT_New_Size(static_cast<FT_Face>(face_), &size) == 0 ? size : nullptr;
}

void SharedFace::DoneSize(void* size) {
  if (size) FT_Done_Size(static_cast<FT_Size>(size));
}

}  // namespace brantel
