#include "updater/download_address.h"

#include "updater/download_client.h"

namespace brantel {

int ParseDownloadAddress(WideView address, DownloadAddress& out) {
  if (address.empty()) return kDownloadEmptyAddress;
  constexpr WideView kScheme = u"http://";
  const size_t scheme = address.find(kScheme);
  if (scheme == WideView::npos) return kDownloadBadAddress;
  const WideView rest = address.substr(scheme + kScheme.size());
  const size_t slash = rest.find(u'/');
  if (slash == WideView::npos) return kDownloadBadAddress;
  std::string host = Narrow(rest.substr(0, slash));
  std::string path = Narrow(rest.substr(slash));
  // The device cut longer texts; a cut path would fetch a different file, so
  // an address that does not fit is refused instead.
  if (path.size() > kMaxPathBytes) return kDownloadBadAddress;
  uint32_t port = 80;
  if (const size_t colon = host.find(':'); colon != std::string::npos) {
    const std::string digits = host.substr(colon + 1);
    host.resize(colon);
    port = 0;
    for (char c : digits) {
      if (c < '0' || c > '9' || port > 65535) break;
      port = port * 10 + uint32_t(c - '0');
    }
    if (port == 0 || port > 65535) return kDownloadBadAddress;
  }
  if (host.empty() || host.size() > kMaxHostBytes) return kDownloadBadAddress;
  for (char c : host)
    if (static_cast<unsigned char>(c) <= ' ') return kDownloadBadAddress;
  // Control characters would break the request line or add header lines.
  for (char c : path)
    if (static_cast<unsigned char>(c) < ' ' || c == 0x7F) return kDownloadBadAddress;
  out.host = std::move(host);
  out.port = uint16_t(port);
  out.path = std::move(path);
  return 0;
}

std::string BuildDownloadRequest(const std::string& path, const std::string& host) {
  std::string r = "POST " + path + " HTTP/1.0\r\n";
  r +=
      "Accept: application/x-ms-application, image/gif, application/xaml+xml, application/x-ms-xbap, "
      "application/msword,application/vnd.ms-excel, application/vnd.ms-powerpoint, image/x-xbitmap, "
      "image/jpeg, image/pjpeg, application/x-shockwave-flash, application/vnd.ms-xpsdocument, */*\r\n";
  r += "Accept-Language: ko-KR\r\n";
  r +=
      "User-Agent: Mozilla/4.0 (compatible; MSIE 8.0; Windows NT 6.1; Trident/4.0; Mozilla/4.0 (compatible; "
      "MSIE 6.0; Windows NT 5.1; SV1) ; SLCC2; .NET CLR 2.0.50727; .NET CLR 3.5.30729;.NET CLR 3.0.30729; "
      "Media Center PC 6.0; .NET CLR 3.5.21022; InfoPath.2; Media Center PC 5.0; SLCC1)\r\n";
  r += "Host: " + host + "\r\n";
  r += "Pragma: no-cache\r\n";
  r += "Connection: Keep-Alive\r\n\r\n";
  return r;
}

}  // namespace brantel
