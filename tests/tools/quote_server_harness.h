#pragma once
// Talks raw HTTP to the real brantel-quote-server on its loopback port, so
// tests see every byte the viewer would see.

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <arpa/inet.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/loopback_listener.h"
#include "tests/support/quote_server_process.h"

namespace quote_server_test {

using brantel::testing::BinDir;
using ServerProcess = brantel::testing::QuoteServerProcess;

struct HttpReply {
  bool connected = false;
  int status = 0;
  std::string head;     // status line and headers, without the blank line
  std::string body;     // everything after the blank line
  long content_length = -1;
  int reads = 0;        // how many pieces the answer came in
  double elapsed_ms = 0;
};

// Sends `request` to 127.0.0.1:port and reads until the server closes.
inline HttpReply Exchange(int port, const std::string& request, int timeout_ms = 20000) {
  HttpReply reply;
  const auto start = std::chrono::steady_clock::now();
  const int fd = brantel::testing_support::ConnectLoopback(port);
  if (fd < 0) return reply;
  reply.connected = true;
  size_t sent = 0;
  while (sent < request.size()) {
    const ssize_t n = send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += size_t(n);
  }
  std::string all;
  char buf[65536];
  while (true) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, timeout_ms) <= 0) break;
    const ssize_t n = recv(fd, buf, sizeof buf, 0);
    if (n <= 0) break;
    all.append(buf, size_t(n));
    ++reply.reads;
  }
  close(fd);
  reply.elapsed_ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  const size_t split = all.find("\r\n\r\n");
  if (split == std::string::npos) {
    reply.head = all;
    return reply;
  }
  reply.head = all.substr(0, split);
  reply.body = all.substr(split + 4);
  if (reply.head.size() > 12) reply.status = std::atoi(reply.head.c_str() + 9);
  const size_t cl = reply.head.find("Content-Length: ");
  if (cl != std::string::npos) reply.content_length = std::atol(reply.head.c_str() + cl + 16);
  return reply;
}

// The request the viewer sends: its own head, the document as the body.
inline std::string ViewerPost(const std::string& path, int port, const std::string& document) {
  return "POST " + path + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
         "\r\nContent-Type: text/xml;\r\nCache-Control: no-cache\r\nConnection: close\r\nContent-Length: " +
         std::to_string(document.size()) + "\r\n\r\n" + document;
}

// A request document as the viewer builds it.
inline std::string Document(const std::string& layout, const std::string& groups, const std::string& server_date = "") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><SmartPhone><Header><Layout>" + layout +
         "</Layout><Msisdn>01012345678</Msisdn><Os>WM6.1</Os><Filler></Filler><Version>1.0</Version><ServerDate>" +
         server_date + "</ServerDate> </Header> <Body> " + groups + " </Body>  </SmartPhone>";
}

struct Part {
  std::string headers;
  std::string data;
};

// Splits a multipart answer the strict way: the first line is "--" and the
// boundary, parts end with CRLF before the next delimiter, the last delimiter
// carries "--". False when the body does not have that shape.
inline bool SplitMultipart(const std::string& body, std::vector<Part>& parts) {
  parts.clear();
  const size_t eol = body.find("\r\n");
  if (eol == std::string::npos || body.compare(0, 2, "--") != 0) return false;
  const std::string delimiter = body.substr(0, eol);
  size_t pos = eol + 2;
  while (true) {
    const size_t head_end = body.find("\r\n\r\n", pos);
    if (head_end == std::string::npos) return false;
    Part part;
    part.headers = body.substr(pos, head_end - pos);
    const size_t data_start = head_end + 4;
    const size_t next = body.find("\r\n" + delimiter, data_start);
    if (next == std::string::npos) return false;
    part.data = body.substr(data_start, next - data_start);
    parts.push_back(std::move(part));
    pos = next + 2 + delimiter.size();
    if (body.compare(pos, 4, "--\r\n") == 0) return pos + 4 == body.size();
    if (body.compare(pos, 2, "\r\n") != 0) return false;
    pos += 2;
  }
}

}  // namespace quote_server_test
