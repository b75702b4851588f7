#pragma once
// Reading the header of the answer to a download request.

#include <cstdint>
#include <string_view>

namespace brantel {

struct AnswerHeader {
  int status = 0;               // the three digits after "HTTP/x.y "
  bool has_length = false;      // a Content-Length line was present
  uint64_t content_length = 0;  // its value
  bool partial = false;         // a Content-Range line: only a part of the file
};

// Reads the status line, Content-Length and Content-Range of `header` (the
// text before the blank line). False when the status line is not HTTP or the length is not a
// decimal number that fits 64 bits.
bool ParseAnswerHeader(std::string_view header, AnswerHeader& out);

}  // namespace brantel
