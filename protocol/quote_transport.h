#pragma once
// Carries one request document to the information server over HTTP/1.1 and
// brings back the response object. One transport per request.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "platform/text.h"
#include "protocol/response_document.h"

namespace brantel {

// Results of PostDocument (LastError).
inline constexpr int32_t kTransportOk = 0;
inline constexpr int32_t kTransportFailed = 4001;      // socket, HTTP status or a cut answer
inline constexpr int32_t kTransportOutOfMemory = 4002;
inline constexpr int32_t kTransportUnreadable = 4004;  // the answer holds no response document

// The request head: POST line, Host (with ":port" unless the port is 80),
// the fixed lines and Content-Length. Host and path are cut to 255 bytes and
// lose any line break, so neither can add a line to the head.
std::string BuildRequestHead(std::string_view host, int port, std::string_view path, size_t body_length);

class QuoteTransport {
 public:
  QuoteTransport();

  // Where file parts of answers are stored; a "/" is appended when missing.
  void SetDownloadDirectory(const std::string& directory);
  const std::string& download_directory() const { return download_directory_; }

  // Posts `document` (wide text, sent as UTF-8) to host:port at `path`.
  // Returns the response object, or nullptr with LastError telling why.
  std::unique_ptr<ResponseDocument> PostDocument(WideView host, int port, WideView path, WideView document);
  int32_t LastError() const { return last_error_; }

 private:
  std::unique_ptr<ResponseDocument> Post(WideView host, int port, WideView path, WideView document);

  int32_t last_error_ = kTransportOk;
  std::string download_directory_;
  std::mutex lock_;
};

}  // namespace brantel
