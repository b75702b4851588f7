#include "protocol/socket_exchange.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <algorithm>
#include <chrono>
#include <optional>
#include <cstring>

#include "platform/net/connect_with_deadline.h"
#include "platform/net/host_address.h"
#include "protocol/http_answer.h"
#include "protocol/network_pump.h"

namespace brantel {

namespace {

std::atomic<int> g_last_result{0};
std::atomic<int> g_timeout_marker{0};
std::atomic<int> g_deadline_for_testing_ms{0};
// The deadline a SharedExchangeDeadline set on this thread, if any.
thread_local std::optional<std::chrono::steady_clock::time_point> t_shared_deadline;

using Clock = std::chrono::steady_clock;

// How long one poll of the socket lasts before the thread's messages are
// handled again: short enough for timers, paints and keys to keep their pace.
constexpr int kPumpSliceMs = 15;

// Milliseconds left until `until` (rounded up, so a wait never ends early),
// at least 0.
long long MillisecondsLeft(Clock::time_point until) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()).count();
  return left > 0 ? left : 0;
}

enum class Readiness { kReady, kTimedOut, kCancelled, kFailed };

// Waits for `events` on `fd` until `until`, in slices of kPumpSliceMs with the
// thread's messages handled before each, so the screens keep painting and a
// WM_CANCEL_NETWORK (or WM_QUIT) ends the wait within a slice.
Readiness WaitReadyPumping(int fd, short events, Clock::time_point until) {
  for (;;) {
    if (PumpMessagesUntilCancel()) return Readiness::kCancelled;
    pollfd p{fd, events, 0};
    const int ready = poll(&p, 1, int(std::min<long long>(MillisecondsLeft(until), kPumpSliceMs)));
    if (ready > 0) return Readiness::kReady;
    if (ready < 0 && errno != EINTR) return Readiness::kFailed;
    if (Clock::now() >= until) return Readiness::kTimedOut;
  }
}

int Record(int result) {
  g_last_result = result;
  return result;
}

class Socket {
 public:
  Socket() : fd_(OpenBoundTcpSocket()) {}
  ~Socket() { Close(); }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  int fd() const { return fd_; }
  void Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

// Connects within kExchangeConnectTimeoutMs, handling the thread's messages
// between the attempt's poll slices. An attempt that runs out of time closes
// the socket and sets the time-out marker; the exchange itself goes on with a
// blocking socket.
int Connect(Socket& s, const sockaddr_in& address, Clock::time_point deadline) {
  g_timeout_marker = 0;
  const int limit_ms = int(std::min<long long>(kExchangeConnectTimeoutMs, MillisecondsLeft(deadline)));
  switch (ConnectWithDeadline(s.fd(), address, limit_ms, PumpMessagesUntilCancel)) {
    case ConnectOutcome::kConnected:
      break;
    case ConnectOutcome::kAbandoned:
      return kSocketCancelled;
    case ConnectOutcome::kTimedOut:
      g_timeout_marker = -1;
      s.Close();
      return kSocketConnectTimedOut;
    default:
      return kSocketConnectFailed;
  }
  if (!SetSocketBlocking(s.fd(), true)) return kSocketConnectFailed;
  return kSocketOk;
}

int SendAll(Socket& s, std::string_view data, Clock::time_point deadline) {
  while (!data.empty()) {
    const size_t piece = std::min(data.size(), kSendPieceBytes);
    // A server that stops reading must not hold the exchange past its limit.
    switch (WaitReadyPumping(s.fd(), POLLOUT, deadline)) {
      case Readiness::kReady:
        break;
      case Readiness::kCancelled:
        return kSocketCancelled;
      default:
        return kSocketSendFailed;
    }
    const ssize_t sent = send(s.fd(), data.data(), piece, MSG_NOSIGNAL);
    if (sent != ssize_t(piece)) return kSocketSendFailed;  // each piece goes whole
    data.remove_prefix(piece);
  }
  return kSocketOk;
}

// Receives one chunk, waiting at most `wait_seconds` (0: no limit) and never
// past `deadline`. `got` is 0 when the server closed the connection.
int ReceiveChunk(Socket& s, int wait_seconds, Clock::time_point deadline, char* chunk, size_t* got) {
  Clock::time_point until = deadline;
  if (wait_seconds > 0) until = std::min(until, Clock::now() + std::chrono::seconds(wait_seconds));
  switch (WaitReadyPumping(s.fd(), POLLIN, until)) {
    case Readiness::kReady:
      break;
    case Readiness::kCancelled:
      return kSocketCancelled;
    case Readiness::kTimedOut:
      return until == deadline ? kSocketExchangeTooLong : kSocketNoData;
    case Readiness::kFailed:
      return kSocketReceiveFailed;
  }
  ssize_t n;
  do {
    n = recv(s.fd(), chunk, kReceiveChunkBytes, 0);
  } while (n < 0 && errno == EINTR);
  if (n < 0) return kSocketReceiveFailed;
  *got = size_t(n);
  return kSocketOk;
}

}  // namespace

int LastSocketResult() { return g_last_result; }
int ConnectTimeoutMarker() { return g_timeout_marker; }
void SetExchangeDeadlineForTesting(int milliseconds) { g_deadline_for_testing_ms = milliseconds; }

SharedExchangeDeadline::SharedExchangeDeadline(int milliseconds) : previous_(t_shared_deadline) {
  const Clock::time_point until = Clock::now() + std::chrono::milliseconds(milliseconds);
  t_shared_deadline = previous_ ? std::min(*previous_, until) : until;
}

SharedExchangeDeadline::~SharedExchangeDeadline() { t_shared_deadline = previous_; }

int RunExchange(std::string_view host, int port, std::string_view request, int receive_wait_seconds,
                ExchangeAnswer& answer) {
  answer = ExchangeAnswer();
  const int limit_ms = g_deadline_for_testing_ms > 0 ? int(g_deadline_for_testing_ms) : kExchangeDeadlineMs;
  Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(limit_ms);
  if (t_shared_deadline) deadline = std::min(deadline, *t_shared_deadline);
  if (Clock::now() >= deadline) return Record(kSocketExchangeTooLong);  // a shared limit already spent
  Socket s;
  if (s.fd() < 0) return Record(kSocketCreateFailed);  // creating or binding failed

  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(uint16_t(port));
  if (port <= 0 || port > 65535 || !ResolveIpv4(host, &address.sin_addr)) return Record(kSocketConnectFailed);
  if (const int connected = Connect(s, address, deadline); connected != kSocketOk) {
    if (connected == kSocketCancelled) return Record(kSocketCancelled);
    Record(connected);
    return kSocketConnectFailed;  // a time-out shows only in the marker and the last result
  }

  if (const int sent = SendAll(s, request, deadline); sent != kSocketOk) return Record(sent);

  HttpAnswer http;
  char chunk[kReceiveChunkBytes];
  while (!http.complete()) {
    size_t got = 0;
    if (const int received = ReceiveChunk(s, receive_wait_seconds, deadline, chunk, &got); received != kSocketOk)
      return Record(received);
    if (got == 0) {
      if (!http.Finish()) return Record(kSocketAnswerRefused);
      break;
    }
    if (!http.Feed(std::string_view(chunk, got))) return Record(kSocketAnswerRefused);
    // An error status needs no body: the caller only learns the code.
    if (http.header_done() && http.status() >= 300) break;
  }
  shutdown(s.fd(), SHUT_RDWR);

  answer.status = http.status();
  answer.header = http.header();
  if (const int mapped = MapHttpStatus(http.status()); mapped != 0) return Record(mapped);
  answer.body = std::move(http.body());
  return Record(kSocketOk);
}

}  // namespace brantel
