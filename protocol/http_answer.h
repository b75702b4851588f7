#pragma once
// Assembles one HTTP/1.1 answer from the bytes a socket delivers: the whole
// header block however many receives it takes, then the body by
// Content-Length (any letter case), by chunked transfer coding, or up to the
// end of the connection. Every size is bounded before anything is allocated.

#include <cstddef>
#include <string>
#include <string_view>

#include "protocol/answer_buffer.h"

namespace brantel {

// Largest answer body accepted, announced or grown.
inline constexpr size_t kMaxAnswerBytes = size_t(64) << 20;
// Largest header block accepted.
inline constexpr size_t kMaxHeaderBytes = size_t(64) << 10;

class HttpAnswer {
 public:
  enum class State { kHeader, kBody, kComplete, kRefused };

  // Takes the next received bytes. Returns false once the answer is refused
  // (header block or body too large, malformed chunked coding).
  bool Feed(std::string_view bytes);
  // The connection was closed by the server. True when the answer is whole:
  // an answer without a length ends here; one that announced a length or used
  // chunked coding and is not complete is cut short.
  bool Finish();

  State state() const { return state_; }
  bool complete() const { return state_ == State::kComplete; }
  bool header_done() const { return state_ == State::kBody || state_ == State::kComplete; }
  // The header block without its closing blank line.
  const std::string& header() const { return header_; }
  // The status code of the status line, 0 when unreadable.
  int status() const { return status_; }
  // Content-Length as announced, or -1.
  long long content_length() const { return content_length_; }
  bool chunked() const { return chunked_; }
  AnswerBuffer& body() { return body_; }
  const AnswerBuffer& body() const { return body_; }

 private:
  bool ParseHeader();
  bool FeedBody(std::string_view bytes);
  bool FeedChunked(std::string_view bytes);

  State state_ = State::kHeader;
  std::string header_;
  AnswerBuffer body_;
  int status_ = 0;
  long long content_length_ = -1;
  bool chunked_ = false;

  // Chunked decoding.
  enum class ChunkStep { kSize, kData, kDataEnd, kTrailer };
  ChunkStep chunk_step_ = ChunkStep::kSize;
  std::string chunk_line_;
  size_t chunk_left_ = 0;
};

// The transport's codes for HTTP status 300 and above (-399 ... -900); 0 below.
int MapHttpStatus(int status);

}  // namespace brantel
