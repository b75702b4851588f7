#pragma once
// The bytes of an answer body as they arrive. It grows by realloc, which
// moves a large block by remapping its pages rather than copying them, so
// growing to the 64 MiB cap never holds an old and a new block of that size
// at once (a string's growth peaks at about twice its size).

#include <cstddef>
#include <string_view>

namespace brantel {

class AnswerBuffer {
 public:
  AnswerBuffer() = default;
  ~AnswerBuffer();
  AnswerBuffer(AnswerBuffer&& other) noexcept;
  AnswerBuffer& operator=(AnswerBuffer&& other) noexcept;
  AnswerBuffer(const AnswerBuffer&) = delete;
  AnswerBuffer& operator=(const AnswerBuffer&) = delete;

  // Makes room for `capacity` bytes; throws std::bad_alloc when none is left.
  void Reserve(size_t capacity);
  // Appends, doubling the room as needed but never beyond `limit` (which the
  // caller has checked the new size against).
  void Append(std::string_view bytes, size_t limit);

  std::string_view view() const { return {data_, size_}; }
  operator std::string_view() const { return view(); }
  size_t size() const { return size_; }
  size_t capacity() const { return capacity_; }
  bool empty() const { return size_ == 0; }

 private:
  char* data_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
};

}  // namespace brantel
