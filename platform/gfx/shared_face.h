#pragma once
// One FreeType face per font file and face index, shared by every size the
// program draws from that file: the tables FreeType keeps (character map,
// glyph locations, metrics) are loaded once per file, and each size is an
// FT_Size of the shared face, switched in under the face's lock.
//
// FreeType reads the file through positional reads rather than a mapping.
// Glyphs lie scattered over a few megabytes of outlines, and every first
// touch of a mapping also maps the pages around it, so a mapped font file
// soon counted almost whole towards the process's resident memory.

#include <memory>
#include <mutex>
#include <string>

namespace brantel {

class SharedFace {
 public:
  // The shared face of `path` and `index`; null when the file cannot be
  // opened or FreeType does not read it. Thread-safe.
  static std::shared_ptr<SharedFace> Open(const std::string& path, int index);
  ~SharedFace();
  SharedFace(const SharedFace&) = delete;
  SharedFace& operator=(const SharedFace&) = delete;

  // The FT_Face (kept out of this header). Hold mutex() while using it, and
  // activate the size you draw with first.
  void* face() const { return face_; }
  std::mutex& mutex() { return mutex_; }

  // A new FT_Size of the face, or null; give it back with DoneSize. Hold
  // mutex() for both.
  void* NewSize();
  void DoneSize(void* size);

 private:
  SharedFace() = default;

  int fd_ = -1;
  void* stream_ = nullptr;  // FT_StreamRec
  void* face_ = nullptr;    // FT_Face
  std::mutex mutex_;
};

}  // namespace brantel
