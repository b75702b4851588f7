#pragma once
// Sockets on 127.0.0.1 for tests: a listener on a free port, a port that was
// free a moment ago (for servers that pick no port themselves), connections
// (also ones that fill a listener's queue), whether a server listens on a
// port yet, and a send that writes a whole text.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string_view>
#include <vector>

namespace brantel::testing_support {

inline void SendText(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = send(fd, text.data(), text.size(), MSG_NOSIGNAL);
    if (n <= 0) return;
    text.remove_prefix(size_t(n));
  }
}

inline sockaddr_in LoopbackAddress(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(uint16_t(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

// A listening socket on 127.0.0.1 with a free port; -1 when none could be made.
inline int ListenLoopback(int backlog, int* port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in address = LoopbackAddress(0);
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

// A socket connected to the port on 127.0.0.1; -1 when that failed.
inline int ConnectLoopback(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return -1;
  const sockaddr_in address = LoopbackAddress(port);
  if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return fd;
  close(fd);
  return -1;
}

// Whether a connection to the port on 127.0.0.1 is accepted now.
inline bool AcceptsConnections(int port) {
  const int fd = ConnectLoopback(port);
  if (fd >= 0) close(fd);
  return fd >= 0;
}

// Starts `count` connections without waiting for them, enough to fill the
// queue of a listener with backlog 0 that never accepts: a further
// connection then cannot complete. The caller closes them.
inline std::vector<int> FillAcceptQueue(int port, int count = 4) {
  const sockaddr_in address = LoopbackAddress(port);
  std::vector<int> fillers;
  for (int i = 0; i < count; ++i) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    fillers.push_back(fd);
  }
  return fillers;
}

}  // namespace brantel::testing_support
