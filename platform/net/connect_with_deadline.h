#pragma once
// Connecting a TCP socket to an IPv4 peer within a time limit. The attempt
// runs non-blocking and is polled in short slices, so a caller can let its
// window messages through (and give up) while the peer is slow to answer.

#include <netinet/in.h>

#include <functional>

namespace brantel {

enum class ConnectOutcome {
  kConnected,
  kFailed,    // refused, unreachable, or the socket could not be set up
  kTimedOut,  // the limit passed before the peer answered
  kAbandoned  // the between-slices callback asked to stop
};

// Each poll slice lasts at most this long.
inline constexpr int kConnectSliceMs = 10;

// Called between poll slices; returns true to abandon the attempt.
using ConnectSliceCheck = std::function<bool()>;

// Opens an IPv4 TCP socket (close-on-exec, non-blocking) bound to any local
// address. Returns the descriptor, or -1 when creating or binding failed (the
// socket is closed then).
int OpenBoundTcpSocket();

// Connects `fd` to `peer`, waiting at most `limit_ms`. The time left is
// rounded up to whole milliseconds, so an attempt never ends before the full
// limit. The socket is left non-blocking.
ConnectOutcome ConnectWithDeadline(int fd, const sockaddr_in& peer, int limit_ms,
                                   const ConnectSliceCheck& between_slices = {});

// Switches `fd` to blocking or non-blocking mode; false when that failed.
bool SetSocketBlocking(int fd, bool blocking);

}  // namespace brantel
