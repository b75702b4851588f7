#include "protocol/answer_buffer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace brantel {

AnswerBuffer::~AnswerBuffer() { std::free(data_); }

AnswerBuffer::AnswerBuffer(AnswerBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

AnswerBuffer& AnswerBuffer::operator=(AnswerBuffer&& other) noexcept {
  if (this != &other) {
    std::free(data_);
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
  }
  return *this;
}

void AnswerBuffer::Reserve(size_t capacity) {
  if (capacity <= capacity_) return;
  void* grown = std::realloc(data_, capacity);
  if (!grown) throw std::bad_alloc();
  data_ = static_cast<char*>(grown);
  capacity_ = capacity;
}

void AnswerBuffer::Append(std::string_view bytes, size_t limit) {
  if (bytes.empty()) return;
  const size_t needed = size_ + bytes.size();
  if (needed > capacity_) Reserve(std::max(needed, std::min(std::max<size_t>(capacity_ * 2, 4096), limit)));
  std::memcpy(data_ + size_, bytes.data(), bytes.size());
  size_ = needed;
}

}  // namespace brantel
