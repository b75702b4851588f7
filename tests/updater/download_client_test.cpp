// The download client against scripted loopback servers (exact request text,
// broken and slow answers) and against nginx as an independent server.

#include "updater/download_client.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/support/temp_folder.h"
#include "tests/support/loopback_http_server.h"
#include "tests/updater/nginx_server.h"
#include "updater/download_address.h"

namespace brantel {
namespace {

using testing_support::FileAnswer;
using testing_support::LoopbackServer;
using testing_support::SendText;
using testing::ReadFile;
using testing::TempFolder;

std::string Pattern(size_t size) {
  std::string s(size, '\0');
  for (size_t i = 0; i < size; ++i) s[i] = char('a' + (i * 7 + i / 251) % 26);
  return s;
}

int Download(const std::string& url, const std::string& dest, uint64_t& written, DownloadOptions options = {}) {
  return DownloadToFile(Widen(url), dest, written, options);
}

TEST(DownloadClient, SendsTheRequestTextWithHostWithoutPortAndStoresTheBody) {
  const std::string body = Pattern(20000);  // several blocks
  LoopbackServer server([&](int fd, const std::string&) { SendText(fd, FileAnswer(body)); });
  TempFolder dir;
  std::vector<std::pair<uint64_t, uint64_t>> calls;
  DownloadOptions options;
  options.progress = [&](const std::string& path, uint64_t written, uint64_t length) {
    EXPECT_EQ(path, dir / "f.tmp");
    calls.emplace_back(written, length);
  };
  uint64_t written = 7;
  ASSERT_EQ(Download(server.url("/upd/a%20b.bin?x=1"), dir / "f.tmp", written, options), 0);
  EXPECT_EQ(written, body.size());
  EXPECT_EQ(ReadFile(dir / "f.tmp"), body);

  ASSERT_EQ(server.requests().size(), 1u);
  const std::string expected =
      "POST /upd/a%20b.bin?x=1 HTTP/1.0\r\nAccept: application/x-ms-application, image/gif, "
      "application/xaml+xml, application/x-ms-xbap, application/msword,application/vnd.ms-excel, "
      "application/vnd.ms-powerpoint, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
      "application/vnd.ms-xpsdocument, */*\r\nAccept-Language: ko-KR\r\nUser-Agent: Mozilla/4.0 (compatible; "
      "MSIE 8.0; Windows NT 6.1; Trident/4.0; Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1) ; SLCC2; "
      ".NET CLR 2.0.50727; .NET CLR 3.5.30729;.NET CLR 3.0.30729; Media Center PC 6.0; .NET CLR 3.5.21022; "
      "InfoPath.2; Media Center PC 5.0; SLCC1)\r\nHost: 127.0.0.1\r\nPragma: no-cache\r\nConnection: "
      "Keep-Alive\r\n\r\n";
  EXPECT_EQ(server.requests()[0], expected);

  // Progress: first (0, length) once the length is known, then growing
  // counts that end at the length.
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls.front(), std::make_pair(uint64_t(0), uint64_t(body.size())));
  EXPECT_EQ(calls.back(), std::make_pair(uint64_t(body.size()), uint64_t(body.size())));
  for (size_t i = 1; i < calls.size(); ++i) EXPECT_GE(calls[i].first, calls[i - 1].first);
}

TEST(DownloadClient, ErrorStatusesMapToTheirCodesAndLeaveAnEmptyFile) {
  int status = 0;
  LoopbackServer server([&](int fd, const std::string&) {
    SendText(fd, "HTTP/1.1 " + std::to_string(status) + " X\r\nContent-Length: 5\r\n\r\nerror");
  });
  TempFolder dir;
  const std::pair<int, int> cases[] = {{302, -399}, {399, -399}, {400, -400}, {404, -404}, {405, -405},
                                       {418, -499}, {500, -500}, {503, -503}, {502, -599}, {601, -4}};
  for (auto [code, expected] : cases) {
    status = code;
    testing::WriteFile(dir / "f.tmp", "old content");
    uint64_t written = 1;
    EXPECT_EQ(Download(server.url("/x"), dir / "f.tmp", written), expected) << code;
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(ReadFile(dir / "f.tmp"), "") << code;
    EXPECT_EQ(LastDownloadError(), expected);
  }
}

TEST(DownloadClient, AnswerWithoutLengthIsReadUntilTheServerCloses) {
  // A body spread over many blocks, and containing a "Content-Length:" line
  // of its own, is taken whole and not misread.
  const std::string body = "Content-Length: 3\r\n" + Pattern(50000);
  LoopbackServer server([&](int fd, const std::string&) {
    SendText(fd, "HTTP/1.0 200 OK\r\nServer: t\r\n\r\n");
    for (size_t i = 0; i < body.size(); i += 3000) {
      SendText(fd, body.substr(i, 3000));
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  TempFolder dir;
  uint64_t written = 0;
  ASSERT_EQ(Download(server.url("/x"), dir / "f", written), 0);
  EXPECT_EQ(ReadFile(dir / "f"), body);
  EXPECT_EQ(written, body.size());
}

TEST(DownloadClient, ShortBodyIsAFailureAndKeepsWhatArrived) {
  LoopbackServer server([&](int fd, const std::string&) {
    SendText(fd, "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n" + std::string(600, 'z'));
  });
  TempFolder dir;
  uint64_t written = 0;
  EXPECT_EQ(Download(server.url("/x"), dir / "f", written), kDownloadReceiveFailed);
  EXPECT_EQ(written, 600u);
  EXPECT_EQ(ReadFile(dir / "f"), std::string(600, 'z'));
}

TEST(DownloadClient, HeaderSplitAcrossBlocksAndExtraBytesAfterTheBody) {
  // The header arrives in pieces; the server sends more than it announced.
  LoopbackServer server([&](int fd, const std::string&) {
    SendText(fd, "HTTP/1.1 200 OK\r\nX-Pad: " + std::string(9000, 'p') + "\r\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    SendText(fd, "content-length:  1 2\r\n\r\nhello world and more");
  });
  TempFolder dir;
  uint64_t written = 0;
  ASSERT_EQ(Download(server.url("/x"), dir / "f", written), 0);
  EXPECT_EQ(ReadFile(dir / "f"), "hello world ");
}

TEST(DownloadClient, BrokenAnswersFailWithoutExhaustingMemory) {
  std::string answer;
  LoopbackServer server([&](int fd, const std::string&) { SendText(fd, answer); });
  TempFolder dir;
  uint64_t written = 0;
  DownloadOptions small;
  small.max_body_bytes = 100;
  const std::pair<std::string, DownloadOptions> cases[] = {
      {"", {}},                                                           // closed at once
      {"garbage without a blank line", {}},                               // no header end
      {"HTTP/1.1 200 OK\r\n" + std::string(70000, 'h'), {}},              // endless header
      {"SMTP ready 200 OK\r\n\r\nbody", {}},                              // not HTTP
      {"HTTP/1.1 2x0 OK\r\n\r\nbody", {}},                                // bad status
      {"HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999999\r\n\r\n", {}},  // overflow
      {"HTTP/1.1 200 OK\r\nContent-Length: ten\r\n\r\n", {}},             // not a number
      {"HTTP/1.1 200 OK\r\nContent-Length: 101\r\n\r\n", small},          // over the limit
      {"HTTP/1.1 200 OK\r\n\r\n" + std::string(101, 'b'), small},         // no length, over the limit
  };
  for (const auto& [text, options] : cases) {
    answer = text;
    EXPECT_EQ(DownloadToFile(Widen(server.url("/x")), dir / "f", written, options), kDownloadReceiveFailed)
        << text.substr(0, 40);
  }
}

TEST(DownloadClient, AddressAndDestinationChecks) {
  TempFolder dir;
  uint64_t written = 0;
  EXPECT_EQ(Download("", dir / "f", written), kDownloadEmptyAddress);
  EXPECT_EQ(Download("http://127.0.0.1/x", "", written), kDownloadEmptyDestination);
  EXPECT_EQ(Download("ftp://127.0.0.1/x", dir / "f", written), kDownloadBadAddress);
  EXPECT_EQ(Download("http://127.0.0.1", dir / "f", written), kDownloadBadAddress);
  EXPECT_EQ(Download("http://127.0.0.1:0/x", dir / "f", written), kDownloadBadAddress);
  EXPECT_EQ(Download("http://127.0.0.1:70000/x", dir / "f", written), kDownloadBadAddress);
  EXPECT_EQ(Download("http://127.0.0.1/a\r\nX-Evil: 1", dir / "f", written), kDownloadBadAddress);
  EXPECT_EQ(Download("http://127.0.0.1/" + std::string(255, 'p'), dir / "f", written), kDownloadBadAddress);
  EXPECT_EQ(Download("http://" + std::string(128, 'h') + "/x", dir / "f", written), kDownloadBadAddress);
  EXPECT_FALSE(testing::ReadFile(dir / "f").size());

  DownloadAddress a;
  ASSERT_EQ(ParseDownloadAddress(u"see http://Example.org:8080/p/q.xml", a), 0);
  EXPECT_EQ(a.host, "Example.org");
  EXPECT_EQ(a.port, 8080);
  EXPECT_EQ(a.path, "/p/q.xml");

  // Nobody listens on a port just freed: connecting fails with -6.
  const int port = testing_support::FreeLoopbackPort();
  EXPECT_EQ(Download("http://127.0.0.1:" + std::to_string(port) + "/x", dir / "f", written),
            kDownloadConnectFailed);
  // A destination that cannot be created.
  LoopbackServer server([&](int fd, const std::string&) { SendText(fd, FileAnswer("x")); });
  EXPECT_EQ(Download(server.url("/x"), dir / "no/such/folder/f", written), kDownloadEmptyDestination);
}

TEST(DownloadClient, CancelDuringTheTransferKeepsTheBytesSoFar) {
  LoopbackServer server([&](int fd, const std::string&) {
    SendText(fd, "HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n");
    for (int i = 0; i < 100; ++i) {
      SendText(fd, std::string(1000, 'c'));
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  });
  TempFolder dir;
  uint64_t seen = 0;
  DownloadOptions options;
  options.progress = [&](const std::string&, uint64_t written, uint64_t) { seen = written; };
  options.pump = [&] { return seen >= 5000; };  // the user presses cancel after 5 kB
  uint64_t written = 0;
  EXPECT_EQ(Download(server.url("/x"), dir / "f", written, options), kDownloadCancelled);
  EXPECT_GE(written, 5000u);
  EXPECT_LT(written, 100000u);
  EXPECT_EQ(ReadFile(dir / "f").size(), written);
}

TEST(DownloadClient, SilentServerTimesOutAndCancelStillWorksWhileWaiting) {
  LoopbackServer server([&](int, const std::string&) { std::this_thread::sleep_for(std::chrono::milliseconds(1500)); });
  TempFolder dir;
  uint64_t written = 0;
  DownloadOptions options;
  options.timeout_seconds = 1;
  EXPECT_EQ(Download(server.url("/x"), dir / "f", written, options), kDownloadReceiveTimeout);

  // The receive wait lets messages through, so a cancel is seen long before
  // the 7 s timeout.
  options.timeout_seconds = -1;
  int pumps = 0;
  options.pump = [&] { return ++pumps > 3; };
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Download(server.url("/x"), dir / "f", written, options), kDownloadCancelled);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(DownloadClient, HostThatNeverAcceptsTimesOutAfter5500ms) {
  // A listening socket whose queue is full drops further connection requests.
  int port = 0;
  const int fd = testing_support::ListenLoopback(0, &port);
  ASSERT_GE(fd, 0);
  const std::vector<int> fillers = testing_support::FillAcceptQueue(port);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  TempFolder dir;
  uint64_t written = 0;
  const auto start = std::chrono::steady_clock::now();
  const int r = Download("http://127.0.0.1:" + std::to_string(port) + "/x", dir / "f", written);
  const auto took = std::chrono::steady_clock::now() - start;
  for (int c : fillers) close(c);
  close(fd);
  EXPECT_EQ(r, kDownloadConnectTimeout);
  EXPECT_GE(took, std::chrono::milliseconds(5400));
  EXPECT_LT(took, std::chrono::milliseconds(7000));
}

TEST(DownloadClient, AgainstNginx) {
  TempFolder dir;
  const std::string body = Pattern(300000);
  testing::WriteFile(dir / "www/rel/file.bin", body);
  testing::WriteFile(dir / "www/rel/empty.txt", "");
  testing::NginxServer nginx(dir / "www", dir.path());
  if (!nginx.started()) GTEST_SKIP() << "nginx cannot be run here: " << nginx.why_not();

  uint64_t written = 0;
  ASSERT_EQ(Download(nginx.url("/rel/file.bin"), dir / "got.bin", written), 0);
  EXPECT_EQ(written, body.size());
  EXPECT_EQ(ReadFile(dir / "got.bin"), body);
  ASSERT_EQ(Download(nginx.url("/rel/empty.txt"), dir / "got.txt", written), 0);
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(Download(nginx.url("/rel/missing.bin"), dir / "missing.bin", written), -404);
  EXPECT_EQ(ReadFile(dir / "missing.bin"), "");
  // A folder without a trailing slash is redirected.
  EXPECT_EQ(Download(nginx.url("/rel"), dir / "redirect", written), -399);
}

}  // namespace
}  // namespace brantel
