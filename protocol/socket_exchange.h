#pragma once
// One HTTP exchange on a TCP socket: connect with a 5500 ms limit, send the
// request in pieces of 4096 bytes, receive the answer in chunks of 1024 bytes.
// Every wait on the socket is cut into short slices with the thread's
// messages handled between them, so the screens stay alive while the server
// is silent; WM_CANCEL_NETWORK (or WM_QUIT) ends the exchange.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "protocol/answer_buffer.h"

namespace brantel {

// Socket-layer results.
inline constexpr int kSocketOk = 0;
inline constexpr int kSocketCancelled = -1;
inline constexpr int kSocketCreateFailed = -2;
inline constexpr int kSocketSendFailed = -3;
inline constexpr int kSocketReceiveFailed = -4;
inline constexpr int kSocketNoData = -5;
inline constexpr int kSocketConnectFailed = -6;
inline constexpr int kSocketConnectTimedOut = -7;
// The answer was refused: cut short, too large, or not HTTP.
inline constexpr int kSocketAnswerRefused = -8;
// The whole exchange ran past its overall limit (or a shared one) while the
// server was still sending, or before it began.
inline constexpr int kSocketExchangeTooLong = -9;

// Connecting longer than this ends the exchange (kSocketConnectTimedOut).
inline constexpr int kExchangeConnectTimeoutMs = 5500;
inline constexpr int kDefaultReceiveWaitSeconds = 7;
// A whole exchange (connect, send and receive) ends after this long
// (kSocketExchangeTooLong), so a server trickling a byte every few seconds cannot hold
// a refresh, and with it the viewer's exit, for ever.
inline constexpr int kExchangeDeadlineMs = 60 * 1000;
inline constexpr size_t kSendPieceBytes = 4096;
inline constexpr size_t kReceiveChunkBytes = 1024;

struct ExchangeAnswer {
  std::string header;  // the header block without its blank line
  AnswerBuffer body;   // the body (status below 300) or nothing
  int status = 0;
};

// Runs one exchange with `host` (dotted IPv4 or a name) at `port`. Returns 0,
// a socket-layer result above, or the mapped HTTP status (MapHttpStatus) of
// an answer with status 300 or more. `receive_wait_seconds` 0 waits without
// a limit per receive; the overall limit holds either way.
int RunExchange(std::string_view host, int port, std::string_view request, int receive_wait_seconds,
                ExchangeAnswer& answer);

// While one lives, every exchange of this thread also ends by one shared
// deadline `milliseconds` from its making (kSocketExchangeTooLong), and an exchange
// begun after it has passed fails at once: several attempts of one task
// (the start-up's master requests) share one limit. Scopes nest; the
// earlier deadline holds.
class SharedExchangeDeadline {
 public:
  explicit SharedExchangeDeadline(int milliseconds);
  ~SharedExchangeDeadline();
  SharedExchangeDeadline(const SharedExchangeDeadline&) = delete;
  SharedExchangeDeadline& operator=(const SharedExchangeDeadline&) = delete;

 private:
  std::optional<std::chrono::steady_clock::time_point> previous_;
};

// Shortens the overall limit for tests; 0 restores kExchangeDeadlineMs.
void SetExchangeDeadlineForTesting(int milliseconds);

// The process-wide last socket-layer result and connect time-out marker
// (-1 after a connect attempt ran out of time, else 0).
int LastSocketResult();
int ConnectTimeoutMarker();

}  // namespace brantel
