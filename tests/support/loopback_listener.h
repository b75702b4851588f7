#pragma once
// Sockets on 127.0.0.1 for tests: a listener on a free port, a port that was
// free a moment ago (for servers that pick no port themselves), whether a
// server listens on a port yet, and a send that writes a whole text.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string_view>

namespace brantel::testing_support {

inline void SendText(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = send(fd, text.data(), text.size(), MSG_NOSIGNAL);
    if (n <= 0) return;
    text.remove_prefix(size_t(n));
  }
}

// A listening socket on 127.0.0.1 with a free port; -1 when none could be made.
inline int ListenLoopback(int backlog, int* port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, backlog) != 0) {
    close(fd);
    return -1;
  }
  socklen_t size = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  *port = ntohs(address.sin_port);
  return fd;
}

// A port that was free a moment ago; 0 when no socket could be made.
inline int FreeLoopbackPort() {
  int port = 0;
  const int fd = ListenLoopback(1, &port);
  if (fd >= 0) close(fd);
  return port;
}

// Whether a connection to the port on 127.0.0.1 is accepted now.
inline bool AcceptsConnections(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(uint16_t(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
  close(fd);
  return ok;
}

}  // namespace brantel::testing_support
