#include "protocol/quote_transport.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <thread>

#include "platform/folders.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/window.h"
#include "protocol/app_messages.h"
#include "protocol/http_answer.h"
#include "protocol/socket_exchange.h"
#include "protocol/wire_text.h"
#include "tests/support/loopback_http_server.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

using testing_support::LoopbackServer;
using testing_support::OkAnswer;
using testing_support::SendText;
using Clock = std::chrono::steady_clock;

std::string ListAnswer() {
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(std::string(BRANTEL_TEST_DATA_DIR) + "/multipart/list_answer.bin", bytes));
  return bytes;
}

constexpr char16_t kDocument[] = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?><SmartPhone><Body>가</Body></SmartPhone>";

class Transport : public ::testing::Test {
 protected:
  void SetUp() override {
    transport_.SetDownloadDirectory(folder_);
  }

  std::unique_ptr<ResponseDocument> Post(int port) {
    return transport_.PostDocument(u"127.0.0.1", port, u"/hfjs-web/wm/market/MarketList.do", kDocument);
  }

  testing::TempFolder temp_{"brantel_transport"};
  std::string folder_ = temp_.path();
  QuoteTransport transport_;
};

TEST(RequestHead, ByteForByte) {
  EXPECT_EQ(BuildRequestHead("quote.example", 80, "/hfjs-web/wm/market/MarketList.do", 512),
            "POST /hfjs-web/wm/market/MarketList.do HTTP/1.1\r\nHost: quote.example\r\n"
            "Content-Type: text/xml;\r\nCache-Control: no-cache\r\nConnection: close\r\nContent-Length: 512\r\n\r\n");
  EXPECT_EQ(BuildRequestHead("127.0.0.1", 8080, "/p", 0),
            "POST /p HTTP/1.1\r\nHost: 127.0.0.1:8080\r\n"
            "Content-Type: text/xml;\r\nCache-Control: no-cache\r\nConnection: close\r\nContent-Length: 0\r\n\r\n");
}

TEST_F(Transport, PostsTheDocumentAndReadsTheAnswer) {
  LoopbackServer server([](int fd, const std::string&) { SendText(fd, OkAnswer(ListAnswer())); });
  auto response = Post(server.port());
  ASSERT_NE(response, nullptr);
  EXPECT_EQ(transport_.LastError(), 0);
  EXPECT_EQ(response->ItemCount(), 3u);
  const std::string body = Utf16ToUtf8(WideView(kDocument));
  EXPECT_EQ(server.last_request(),
            "POST /hfjs-web/wm/market/MarketList.do HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(server.port()) +
                "\r\nContent-Type: text/xml;\r\nCache-Control: no-cache\r\nConnection: close\r\nContent-Length: " +
                std::to_string(body.size()) + "\r\n\r\n" + body);
}

TEST_F(Transport, AnswerShapesThatAreReadWhole) {
  const std::string multipart = ListAnswer();
  // A header block longer than one receive chunk, with lower-case names.
  const std::string long_header = "HTTP/1.1 200 OK\r\nx-padding: " + std::string(3000, 'p') +
                                  "\r\ncontent-length: " + std::to_string(multipart.size()) + "\r\n\r\n" + multipart;
  // No Content-Length: the answer ends when the server closes.
  const std::string no_length = "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + multipart;
  // Chunked transfer coding in uneven pieces, with an extension and a trailer.
  std::string chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\n";
  for (size_t at = 0; at < multipart.size(); at += 700) {
    const std::string piece = multipart.substr(at, 700);
    char size[16];
    std::snprintf(size, sizeof size, "%zx", piece.size());
    chunked += std::string(size) + ";x=1\r\n" + piece + "\r\n";
  }
  chunked += "0\r\nX-Trailer: 1\r\n\r\n";

  for (const std::string& answer : {long_header, no_length, chunked}) {
    LoopbackServer server([&](int fd, const std::string&) {
      // Deliver in small pieces so the answer spans many receives.
      for (size_t at = 0; at < answer.size(); at += 300) {
        SendText(fd, std::string_view(answer).substr(at, 300));
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    });
    auto response = Post(server.port());
    ASSERT_NE(response, nullptr) << answer.substr(0, 60);
    EXPECT_EQ(response->ItemCount(), 3u);
    EXPECT_EQ(static_cast<ListResponse*>(response.get())->ItemAt(2)->codename, u"다우 산업");
  }
}

TEST_F(Transport, FaultyAnswersFail) {
  const std::string multipart = ListAnswer();
  struct Case {
    const char* name;
    std::string answer;
    int32_t error;
    int socket_result;
  };
  const Case cases[] = {
      {"early close", "HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\n" + multipart.substr(0, 700), 4001,
       kSocketAnswerRefused},
      {"huge length", "HTTP/1.1 200 OK\r\nContent-Length: 99999999999\r\n\r\n" + multipart, 4001,
       kSocketAnswerRefused},
      {"two lengths", "HTTP/1.1 200 OK\r\nContent-Length: 10\r\nContent-Length: 20\r\n\r\n0123456789", 4001,
       kSocketAnswerRefused},
      {"cut chunked", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n400\r\nabc", 4001,
       kSocketAnswerRefused},
      {"bad chunk size", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\nabc\r\n0\r\n\r\n", 4001,
       kSocketAnswerRefused},
      {"no header end", "HTTP/1.1 200 OK\r\nContent-Length: 3", 4001, kSocketAnswerRefused},
      {"404", "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found", 4001, -404},
      {"302", "HTTP/1.1 302 Found\r\nLocation: /x\r\nContent-Length: 0\r\n\r\n", 4001, -399},
      {"503", "HTTP/1.1 503 Busy\r\n\r\n", 4001, -503},
      {"empty body", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", 4001, 0},
      {"not multipart", OkAnswer("<?xml version=\"1.0\"?><SmartPhone><Header/></SmartPhone>"), 4004, 0},
  };
  for (const Case& c : cases) {
    LoopbackServer server([&](int fd, const std::string&) { SendText(fd, c.answer); });
    EXPECT_EQ(Post(server.port()), nullptr) << c.name;
    EXPECT_EQ(transport_.LastError(), c.error) << c.name;
    EXPECT_EQ(LastSocketResult(), c.socket_result) << c.name;
  }
  // An oversized header block is refused without waiting for its end.
  LoopbackServer endless([](int fd, const std::string&) {
    SendText(fd, "HTTP/1.1 200 OK\r\n");
    for (int i = 0; i < 100; ++i) SendText(fd, "x-filler: " + std::string(1000, 'f') + "\r\n");
  });
  EXPECT_EQ(Post(endless.port()), nullptr);
  EXPECT_EQ(LastSocketResult(), kSocketAnswerRefused);
}

// Resident memory in KiB: the process's high-water mark, or its current size.
long StatusKiB(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::strlen(field));
  return -1;
}

// An answer read to the connection's end grows its buffer up to the cap and
// never past it, and never holds two blocks of that size at once (the
// high-water mark of resident memory, reset first, stays near the cap); one
// byte more is refused.
TEST(HttpAnswerBody, ReadToCloseStaysWithinTheCap) {
  // The sanitizer's allocator copies on every realloc; only the capacity is
  // checked there.
#if defined(__SANITIZE_ADDRESS__)
  const bool measure_resident = false;
#else
  const bool measure_resident = bool(std::ofstream("/proc/self/clear_refs") << "5" << std::flush);
#endif
  const long resident_before = StatusKiB("VmRSS:");
  {
    // Fed as the exchange receives it: chunks of 1024 bytes, the header in
    // the first with the start of the body.
    HttpAnswer answer;
    const std::string header = "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n";
    const std::string piece(kReceiveChunkBytes, 'b');
    ASSERT_TRUE(answer.Feed(header + piece.substr(header.size())));
    size_t peak = 0;
    for (size_t fed = piece.size() - header.size(); fed < kMaxAnswerBytes;) {
      const size_t take = std::min(piece.size(), kMaxAnswerBytes - fed);
      ASSERT_TRUE(answer.Feed(std::string_view(piece).substr(0, take)));
      fed += take;
      peak = std::max(peak, answer.body().capacity());
    }
    EXPECT_TRUE(answer.Finish());
    EXPECT_EQ(answer.body().size(), kMaxAnswerBytes);
    EXPECT_LE(peak, kMaxAnswerBytes);
  }
  if (measure_resident) {
    const long grown_kib = StatusKiB("VmHWM:") - resident_before;
    EXPECT_LT(grown_kib, long(kMaxAnswerBytes >> 10) + 8 * 1024) << "peak resident growth in KiB";
  }

  HttpAnswer over;
  ASSERT_TRUE(over.Feed("HTTP/1.1 200 OK\r\n\r\n" + std::string(kMaxAnswerBytes / 2 + 1, 'b')));
  EXPECT_LE(over.body().capacity(), kMaxAnswerBytes);
  EXPECT_FALSE(over.Feed(std::string(kMaxAnswerBytes / 2, 'b')));
}

TEST_F(Transport, NothingListensOrNoAddress) {
  int port = 0;
  const int fd = testing_support::ListenLoopback(1, &port);
  close(fd);  // the port is now closed: the connection is refused at once
  EXPECT_EQ(Post(port), nullptr);
  EXPECT_EQ(transport_.LastError(), 4001);
  EXPECT_EQ(LastSocketResult(), kSocketConnectFailed);
  // A host that names nothing (resolved without asking any name server).
  EXPECT_EQ(transport_.PostDocument(u"", 80, u"/", kDocument), nullptr);
  EXPECT_EQ(LastSocketResult(), kSocketConnectFailed);
}

TEST_F(Transport, SlowDripIsReadAndMessagesArePumped) {
  const std::string answer = OkAnswer(ListAnswer());
  LoopbackServer server([&](int fd, const std::string&) {
    for (size_t at = 0; at < answer.size(); at += 40) {
      SendText(fd, std::string_view(answer).substr(at, 40));
      std::this_thread::sleep_for(std::chrono::milliseconds(3));
    }
  });
  int seen = 0;
  MessageOnlyWindow window([&](uint32_t message, WPARAM, LPARAM) -> LRESULT {
    if (message == WM_USER + 1) ++seen;
    return 0;
  });
  PostMessage(window.hwnd(), WM_USER + 1, 0, 0);
  auto response = Post(server.port());
  ASSERT_NE(response, nullptr);
  EXPECT_EQ(response->ItemCount(), 3u);
  EXPECT_EQ(seen, 1);  // dispatched while the exchange waited
}

TEST_F(Transport, CancelDuringASlowAnswer) {
  const std::string answer = OkAnswer(ListAnswer());
  std::atomic<bool> done{false};
  LoopbackServer server([&](int fd, const std::string&) {
    for (size_t at = 0; at < answer.size() && !done; at += 10) {
      SendText(fd, std::string_view(answer).substr(at, 10));
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
  std::vector<uint32_t> dispatched;
  MessageOnlyWindow window([&](uint32_t message, WPARAM, LPARAM) -> LRESULT {
    dispatched.push_back(message);
    return 0;
  });
  std::thread canceller([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    PostMessage(window.hwnd(), WM_CANCEL_NETWORK, 0, 0);
  });
  const auto start = Clock::now();
  EXPECT_EQ(Post(server.port()), nullptr);
  const auto took = Clock::now() - start;
  done = true;
  canceller.join();
  EXPECT_EQ(transport_.LastError(), 4001);
  EXPECT_EQ(LastSocketResult(), kSocketCancelled);
  EXPECT_LT(took, std::chrono::seconds(3));
  for (uint32_t m : dispatched) EXPECT_NE(m, WM_CANCEL_NETWORK);
}

// While the server holds its answer the window thread goes on: a timer keeps
// firing, and a cancel ends the wait at once rather than after the 7 s.
TEST_F(Transport, HeldAnswerKeepsTimersFiringAndCancelEndsTheWait) {
  std::atomic<bool> done{false};
  LoopbackServer holding([&](int, const std::string&) {
    while (!done) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  });
  int ticks = 0;
  MessageOnlyWindow window([&](uint32_t message, WPARAM, LPARAM) -> LRESULT {
    if (message == WM_TIMER) ++ticks;
    return 0;
  });
  SetTimer(window.hwnd(), 1, 20);
  std::atomic<Clock::rep> cancelled_at{0};
  std::thread canceller([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    cancelled_at = Clock::now().time_since_epoch().count();
    PostMessage(window.hwnd(), WM_CANCEL_NETWORK, 0, 0);
  });
  EXPECT_EQ(Post(holding.port()), nullptr);
  const auto ended = Clock::now();
  canceller.join();
  done = true;
  EXPECT_EQ(LastSocketResult(), kSocketCancelled);
  const auto late = ended - Clock::time_point(Clock::duration(cancelled_at.load()));
  EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(late).count(), 100);
  EXPECT_GE(ticks, 10);  // about 25 in the half second
  KillTimer(window.hwnd(), 1);
}

// A server that trickles a byte now and then never lets a receive wait run
// out; the exchange's overall limit still ends it.
TEST_F(Transport, TrickleEndsAtTheOverallLimit) {
  const std::string answer = OkAnswer(ListAnswer());
  std::atomic<bool> done{false};
  LoopbackServer server([&](int fd, const std::string&) {
    for (size_t at = 0; at < answer.size() && !done; ++at) {
      SendText(fd, std::string_view(answer).substr(at, 1));
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
  });
  SetExchangeDeadlineForTesting(1500);
  const auto start = Clock::now();
  EXPECT_EQ(Post(server.port()), nullptr);
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  SetExchangeDeadlineForTesting(0);
  EXPECT_EQ(LastSocketResult(), kSocketExchangeTooLong);
  EXPECT_EQ(transport_.LastError(), 4001);
  EXPECT_GE(took, 1400);
  EXPECT_LT(took, 2500);

  // Attempts under one shared limit: the first ends with it, the next fails
  // at once instead of waiting a whole limit of its own.
  {
    SharedExchangeDeadline shared(800);
    const auto first = Clock::now();
    EXPECT_EQ(Post(server.port()), nullptr);
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - first).count(), 1400);
    const auto second = Clock::now();
    EXPECT_EQ(Post(server.port()), nullptr);
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - second).count(), 100);
    EXPECT_EQ(LastSocketResult(), kSocketExchangeTooLong);
  }
  done = true;
}

// The two waits of the exchange; each takes its full time.
TEST_F(Transport, SilenceAndConnectTimeOut) {
  LoopbackServer silent([](int, const std::string&) { std::this_thread::sleep_for(std::chrono::seconds(8)); });
  auto start = Clock::now();
  EXPECT_EQ(Post(silent.port()), nullptr);
  auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  EXPECT_EQ(LastSocketResult(), kSocketNoData);
  EXPECT_EQ(transport_.LastError(), 4001);
  EXPECT_GE(took, 6900);
  EXPECT_LT(took, 8000);

  // A listener whose backlog is full never completes a handshake.
  int port = 0;
  const int listener = testing_support::ListenLoopback(0, &port);
  ASSERT_GE(listener, 0);
  const std::vector<int> fillers = testing_support::FillAcceptQueue(port);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  start = Clock::now();
  EXPECT_EQ(Post(port), nullptr);
  took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  EXPECT_EQ(LastSocketResult(), kSocketConnectTimedOut);
  EXPECT_EQ(ConnectTimeoutMarker(), -1);
  // Never early; a loaded machine may wake the poll late.
  EXPECT_GE(took, 5500);
  EXPECT_LT(took, 5500 + 800);
  for (int fd : fillers) close(fd);
  close(listener);
}

}  // namespace
}  // namespace brantel
