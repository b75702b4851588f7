#pragma once
// One text held both as narrow device-code-page text (what SQLite stores) and
// as wide text (what the viewer's records hold).

#include <cstddef>
#include <string>

#include "platform/text.h"

namespace brantel {

class CAnsiWideText {
 public:
  // A null source leaves both forms empty.
  explicit CAnsiWideText(const char* narrow);
  explicit CAnsiWideText(const char16_t* wide);
  explicit CAnsiWideText(std::string_view narrow);
  explicit CAnsiWideText(WideView wide);
  virtual ~CAnsiWideText() = default;

  const char* Narrow() const { return narrow_.c_str(); }
  const char16_t* Wide() const { return wide_.c_str(); }
  // Sizes including the terminator; 0 for a null source.
  size_t NarrowSize() const { return narrow_size_; }
  size_t WideLength() const { return wide_length_; }

 private:
  void SetSizes(bool has_source);

  std::string narrow_;
  WideText wide_;
  size_t narrow_size_ = 0;
  size_t wide_length_ = 0;
};

}  // namespace brantel
