#include "protocol/http_answer.h"

#include <algorithm>
#include <cctype>

#include "platform/text.h"
#include "protocol/byte_search.h"

namespace brantel {

namespace {

constexpr size_t kMaxChunkLine = 1024;

bool HeaderNameIs(std::string_view line, std::string_view name, std::string_view* value) {
  const size_t colon = line.find(':');
  if (colon == std::string_view::npos) return false;
  if (!EqualsNoCaseNarrow(TrimNarrow(line.substr(0, colon)), name)) return false;
  *value = TrimNarrow(line.substr(colon + 1));
  return true;
}

// Reads a decimal length; -1 when it is not a plain number or too large.
long long ParseLength(std::string_view text) {
  if (text.empty()) return -1;
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
    if (value > (1LL << 50)) return (1LL << 50);  // far beyond any bound
  }
  return value;
}

}  // namespace

int MapHttpStatus(int status) {
  if (status < 300) return 0;
  if (status < 400) return -399;
  if (status == 400) return -400;
  if (status == 404) return -404;
  if (status == 405) return -405;
  if (status < 500) return -499;
  if (status == 500) return -500;
  if (status == 503) return -503;
  if (status < 600) return -599;
  return -900;
}

bool HttpAnswer::Feed(std::string_view bytes) {
  if (state_ == State::kRefused) return false;
  if (state_ == State::kComplete) return true;  // bytes beyond the answer are not kept
  if (state_ == State::kHeader) {
    // Look for the blank line across the boundary of the previous receive.
    const size_t old_size = header_.size();
    header_.append(bytes);
    const size_t from = old_size >= 3 ? old_size - 3 : 0;
    const size_t end = FindBytes(header_, "\r\n\r\n", from);
    if (end == std::string::npos) {
      if (header_.size() > kMaxHeaderBytes) {
        state_ = State::kRefused;
        return false;
      }
      return true;
    }
    if (end > kMaxHeaderBytes) {
      state_ = State::kRefused;
      return false;
    }
    const std::string rest = header_.substr(end + 4);
    header_.resize(end);
    if (!ParseHeader()) {
      state_ = State::kRefused;
      return false;
    }
    state_ = State::kBody;
    if (content_length_ == 0 && !chunked_) {
      state_ = State::kComplete;
      return true;
    }
    return FeedBody(rest);
  }
  return FeedBody(bytes);
}

bool HttpAnswer::ParseHeader() {
  // Status: the number behind the protocol name, version and space.
  if (header_.size() > 9) {
    size_t used = 0;
    const long status = ParseLeadingLong(Widen(std::string_view(header_).substr(9, 4)), 10, &used);
    status_ = used ? int(std::clamp<long>(status, 0, 9999)) : 0;
  }
  std::string_view rest(header_);
  while (!rest.empty()) {
    const size_t eol = rest.find("\r\n");
    const std::string_view line = rest.substr(0, eol);
    rest = eol == std::string_view::npos ? std::string_view() : rest.substr(eol + 2);
    std::string_view value;
    if (HeaderNameIs(line, "Content-Length", &value)) {
      const long long length = ParseLength(value);
      if (length < 0) return false;
      if (content_length_ >= 0 && content_length_ != length) return false;  // two different lengths
      content_length_ = length;
    } else if (HeaderNameIs(line, "Transfer-Encoding", &value)) {
      std::string lower(value);
      for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
      chunked_ = lower.find("chunked") != std::string::npos;
    }
  }
  if (chunked_) content_length_ = -1;  // the coding decides where the body ends
  if (content_length_ > static_cast<long long>(kMaxAnswerBytes)) return false;
  if (content_length_ > 0) body_.Reserve(size_t(content_length_));
  return true;
}

bool HttpAnswer::FeedBody(std::string_view bytes) {
  if (chunked_) return FeedChunked(bytes);
  if (content_length_ >= 0) {
    const size_t room = size_t(content_length_) - body_.size();
    body_.Append(bytes.substr(0, room), kMaxAnswerBytes);
    if (body_.size() == size_t(content_length_)) state_ = State::kComplete;
    return true;
  }
  if (body_.size() + bytes.size() > kMaxAnswerBytes) {
    state_ = State::kRefused;
    return false;
  }
  body_.Append(bytes, kMaxAnswerBytes);
  return true;
}

bool HttpAnswer::FeedChunked(std::string_view bytes) {
  auto refuse = [this] {
    state_ = State::kRefused;
    return false;
  };
  while (!bytes.empty() && state_ == State::kBody) {
    switch (chunk_step_) {
      case ChunkStep::kSize:
      case ChunkStep::kDataEnd:
      case ChunkStep::kTrailer: {
        const size_t eol = bytes.find('\n');
        chunk_line_.append(bytes.substr(0, eol == std::string_view::npos ? bytes.size() : eol + 1));
        if (chunk_line_.size() > kMaxChunkLine) return refuse();
        if (eol == std::string_view::npos) return true;
        bytes.remove_prefix(eol + 1);
        std::string_view line = chunk_line_;
        line = TrimNarrow(line);
        if (chunk_step_ == ChunkStep::kDataEnd) {
          if (!line.empty()) return refuse();
          chunk_step_ = ChunkStep::kSize;
        } else if (chunk_step_ == ChunkStep::kTrailer) {
          if (line.empty()) state_ = State::kComplete;
        } else {
          const std::string_view hex = TrimNarrow(line.substr(0, line.find(';')));
          if (hex.empty() || hex.size() > 15) return refuse();
          size_t size = 0;
          for (char c : hex) {
            int digit;
            if (c >= '0' && c <= '9') digit = c - '0';
            else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
            else return refuse();
            size = size * 16 + size_t(digit);
          }
          if (size > kMaxAnswerBytes || body_.size() + size > kMaxAnswerBytes) return refuse();
          chunk_left_ = size;
          chunk_step_ = size == 0 ? ChunkStep::kTrailer : ChunkStep::kData;
        }
        chunk_line_.clear();
        break;
      }
      case ChunkStep::kData: {
        const size_t take = std::min(chunk_left_, bytes.size());
        body_.Append(bytes.substr(0, take), kMaxAnswerBytes);
        bytes.remove_prefix(take);
        chunk_left_ -= take;
        if (chunk_left_ == 0) chunk_step_ = ChunkStep::kDataEnd;
        break;
      }
    }
  }
  return state_ != State::kRefused;
}

bool HttpAnswer::Finish() {
  if (state_ == State::kBody && !chunked_ && content_length_ < 0) state_ = State::kComplete;
  return state_ == State::kComplete;
}

}  // namespace brantel
