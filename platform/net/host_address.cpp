#include "platform/net/host_address.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <string>

namespace brantel {

bool ResolveIpv4(std::string_view host, in_addr* out) {
  const std::string text(host);
  if (inet_pton(AF_INET, text.c_str(), out) == 1) return true;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(text.c_str(), nullptr, &hints, &found) != 0 || !found) return false;
  *out = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
  freeaddrinfo(found);
  return true;
}

}  // namespace brantel
