#pragma once
// Splitting a download address into host, port and path, and the request
// text the download client sends for it.

#include <cstdint>
#include <string>

#include "platform/text.h"

namespace brantel {

struct DownloadAddress {
  std::string host;  // without the port
  uint16_t port = 80;
  std::string path;  // starts with "/"
};

// Reads "http://host[:port]/path". Returns 0, or kDownloadEmptyAddress /
// kDownloadBadAddress (no "http://", no "/" after the host, a host or path
// longer than the client sends, a port that is not 1-65535).
int ParseDownloadAddress(WideView address, DownloadAddress& out);

// The HTTP/1.0 POST request (no body) for `path` on `host`.
std::string BuildDownloadRequest(const std::string& path, const std::string& host);

}  // namespace brantel
