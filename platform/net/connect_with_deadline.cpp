#include "platform/net/connect_with_deadline.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace brantel {

int OpenBoundTcpSocket() {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return -1;
  sockaddr_in local{};
  local.sin_family = AF_INET;
  if (bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

bool SetSocketBlocking(int fd, bool blocking) {
  const int flags = fcntl(fd, F_GETFL, 0);
  if (flags < 0) return false;
  const int wanted = blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK);
  return wanted == flags || fcntl(fd, F_SETFL, wanted) == 0;
}

ConnectOutcome ConnectWithDeadline(int fd, const sockaddr_in& peer, int limit_ms,
                                   const ConnectSliceCheck& between_slices) {
  using Clock = std::chrono::steady_clock;
  if (!SetSocketBlocking(fd, false)) return ConnectOutcome::kFailed;
  const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(limit_ms, 0));
  if (connect(fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0) return ConnectOutcome::kConnected;
  if (errno != EINPROGRESS) return ConnectOutcome::kFailed;
  for (;;) {
    // Rounded up: poll waits whole milliseconds, and a truncated remainder
    // would end the attempt up to a millisecond before the limit.
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return ConnectOutcome::kTimedOut;
    pollfd p{fd, POLLOUT, 0};
    const int ready = poll(&p, 1, int(std::min<long long>(left, kConnectSliceMs)));
    if (ready < 0 && errno != EINTR) return ConnectOutcome::kFailed;
    if (ready > 0) break;
    if (between_slices && between_slices()) return ConnectOutcome::kAbandoned;
  }
  int error = 0;
  socklen_t size = sizeof error;
  if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) return ConnectOutcome::kFailed;
  return ConnectOutcome::kConnected;
}

}  // namespace brantel
