#include "protocol/quote_transport.h"

#include <new>

#include "protocol/download_folder.h"
#include "protocol/response_body.h"
#include "protocol/socket_exchange.h"
#include "protocol/wire_text.h"

namespace brantel {

namespace {

constexpr size_t kMaxHostOrPath = 255;
constexpr size_t kMaxHostInHead = 724;

std::string HeadText(WideView text, size_t limit) {
  std::string narrow = Narrow(text);
  if (narrow.size() > kMaxHostOrPath) narrow.resize(kMaxHostOrPath);
  std::string out;
  for (char c : narrow)
    if (c != '\r' && c != '\n') out += c;
  if (out.size() > limit) out.resize(limit);
  return out;
}

}  // namespace

std::string BuildRequestHead(std::string_view host, int port, std::string_view path, size_t body_length) {
  std::string head = "POST ";
  head += path;
  head += " HTTP/1.1\r\nHost: ";
  head += host.substr(0, kMaxHostInHead);
  if (port != 80) {
    head += ':';
    head += std::to_string(port);
  }
  head += "\r\n";
  // "text/xml;" with its semicolon is what the server has always received.
  head += "Content-Type: text/xml;\r\nCache-Control: no-cache\r\nConnection: close\r\n";
  head += "Content-Length: " + std::to_string(body_length) + "\r\n\r\n";
  return head;
}

// Answers land in TEMP/ beside the program unless the owner says otherwise
// (the device's root folder is no place for them on Linux).
QuoteTransport::QuoteTransport() : download_directory_(DownloadFolder()) {}

void QuoteTransport::SetDownloadDirectory(const std::string& directory) {
  download_directory_ = directory;
  if (download_directory_.empty() || download_directory_.back() != '/') download_directory_ += '/';
}

std::unique_ptr<ResponseDocument> QuoteTransport::PostDocument(WideView host, int port, WideView path,
                                                               WideView document) {
  std::lock_guard<std::mutex> hold(lock_);
  try {
    return Post(host, port, path, document);
  } catch (const std::bad_alloc&) {
    last_error_ = kTransportOutOfMemory;
    return nullptr;
  }
}

std::unique_ptr<ResponseDocument> QuoteTransport::Post(WideView host, int port, WideView path, WideView document) {
  const std::string body = Utf16ToUtf8(document);
  const std::string host_text = HeadText(host, kMaxHostOrPath);
  std::string request = BuildRequestHead(host_text, port, HeadText(path, kMaxHostOrPath), body.size());
  request += body;

  ExchangeAnswer answer;
  const int result = RunExchange(host_text, port, request, kDefaultReceiveWaitSeconds, answer);
  if (result != kSocketOk || answer.header.empty() || answer.body.empty()) {
    last_error_ = kTransportFailed;
    return nullptr;
  }
  auto response = ReadResponseBody(download_directory_, answer.body);
  last_error_ = response ? kTransportOk : kTransportUnreadable;
  return response;
}

}  // namespace brantel
