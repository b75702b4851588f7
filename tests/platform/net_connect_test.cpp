// Connecting within a limit, against real loopback listeners.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "platform/net/connect_with_deadline.h"

namespace brantel {
namespace {

using Clock = std::chrono::steady_clock;

struct Fd {
  explicit Fd(int value = -1) : fd(value) {}
  ~Fd() {
    if (fd >= 0) close(fd);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int fd;
};

sockaddr_in Loopback(uint16_t port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return a;
}

// A listener on 127.0.0.1 at a free port; `backlog` 0 keeps the queue tiny.
int Listen(int backlog, uint16_t* port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a = Loopback(0);
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(fd, backlog) != 0) return -1;
  socklen_t size = sizeof a;
  getsockname(fd, reinterpret_cast<sockaddr*>(&a), &size);
  *port = ntohs(a.sin_port);
  return fd;
}

long long MsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// Fills the accept queue of a listener that never accepts, until a further
// attempt can no longer complete. Returns false when the queue never filled.
bool FillBacklog(const sockaddr_in& peer, std::vector<std::unique_ptr<Fd>>& fillers) {
  for (int i = 0; i < 64; ++i) {
    auto s = std::make_unique<Fd>(OpenBoundTcpSocket());
    if (s->fd < 0) return false;
    const ConnectOutcome outcome = ConnectWithDeadline(s->fd, peer, 100);
    if (outcome == ConnectOutcome::kTimedOut) return true;
    if (outcome != ConnectOutcome::kConnected) return false;
    fillers.push_back(std::move(s));
  }
  return false;
}

TEST(NetConnect, ConnectsToALoopbackListenerAndLeavesTheSocketNonBlocking) {
  uint16_t port = 0;
  Fd listener(Listen(4, &port));
  ASSERT_GE(listener.fd, 0);
  Fd client(OpenBoundTcpSocket());
  ASSERT_GE(client.fd, 0);

  EXPECT_EQ(ConnectWithDeadline(client.fd, Loopback(port), 2000), ConnectOutcome::kConnected);
  Fd accepted(accept(listener.fd, nullptr, nullptr));
  ASSERT_GE(accepted.fd, 0);

  // Nothing sent yet: a non-blocking read must not wait.
  char byte = 0;
  EXPECT_LT(recv(client.fd, &byte, 1, 0), 0);
  ASSERT_TRUE(SetSocketBlocking(client.fd, true));
  ASSERT_EQ(send(accepted.fd, "x", 1, 0), 1);
  EXPECT_EQ(recv(client.fd, &byte, 1, 0), 1);
  EXPECT_EQ(byte, 'x');
}

TEST(NetConnect, RefusedPortFailsAtOnceRatherThanWaitingOutTheLimit) {
  uint16_t port = 0;
  {
    Fd closed(Listen(1, &port));
    ASSERT_GE(closed.fd, 0);
  }
  Fd client(OpenBoundTcpSocket());
  ASSERT_GE(client.fd, 0);
  const auto start = Clock::now();
  EXPECT_EQ(ConnectWithDeadline(client.fd, Loopback(port), 3000), ConnectOutcome::kFailed);
  EXPECT_LT(MsSince(start), 1500);
}

TEST(NetConnect, FullBacklogTimesOutNoEarlierThanTheLimit) {
  uint16_t port = 0;
  Fd listener(Listen(0, &port));
  ASSERT_GE(listener.fd, 0);
  std::vector<std::unique_ptr<Fd>> fillers;
  if (!FillBacklog(Loopback(port), fillers)) GTEST_SKIP() << "this kernel keeps accepting into a full queue";

  // Odd limits catch a remainder truncated to whole milliseconds.
  for (const int limit : {251, 333}) {
    Fd client(OpenBoundTcpSocket());
    ASSERT_GE(client.fd, 0);
    const auto start = Clock::now();
    EXPECT_EQ(ConnectWithDeadline(client.fd, Loopback(port), limit), ConnectOutcome::kTimedOut);
    const auto elapsed = Clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(limit)) << "limit " << limit;
    EXPECT_LT(elapsed, std::chrono::milliseconds(limit + 1000)) << "limit " << limit;
  }
}

TEST(NetConnect, CallbackRunsBetweenSlicesAndCanAbandonTheAttempt) {
  uint16_t port = 0;
  Fd listener(Listen(0, &port));
  ASSERT_GE(listener.fd, 0);
  std::vector<std::unique_ptr<Fd>> fillers;
  if (!FillBacklog(Loopback(port), fillers)) GTEST_SKIP() << "this kernel keeps accepting into a full queue";

  Fd client(OpenBoundTcpSocket());
  ASSERT_GE(client.fd, 0);
  int calls = 0;
  const auto start = Clock::now();
  const ConnectOutcome outcome = ConnectWithDeadline(client.fd, Loopback(port), 5000, [&] { return ++calls == 3; });
  EXPECT_EQ(outcome, ConnectOutcome::kAbandoned);
  EXPECT_EQ(calls, 3);
  EXPECT_LT(MsSince(start), 2000);
}

}  // namespace
}  // namespace brantel
