#include "updater/download_client.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

#include "platform/net/connect_with_deadline.h"
#include "platform/net/host_address.h"
#include "updater/download_address.h"
#include "updater/download_answer.h"

namespace brantel {

namespace {

std::atomic<int> g_last_error{0};

// Waits are cut into slices so that pending window messages (and a cancel)
// are seen while a slow server keeps the client waiting.
constexpr int kWaitSliceMs = 100;

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  ~FileDescriptor() { Reset(); }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now and reports whether the close succeeded (a delayed write
  // error of the file shows up here).
  bool Reset() {
    bool ok = true;
    if (fd_ >= 0) ok = close(fd_) == 0;
    fd_ = -1;
    return ok;
  }

 private:
  int fd_;
};

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

int Fail(int code) {
  g_last_error = code;
  return code;
}

// Connects the non-blocking socket, giving up after kDownloadConnectTimeoutMs.
// The device used a watchdog thread that closed the socket; waiting with poll
// gives the same result without a second thread touching the socket.
int Connect(int sock, const sockaddr_in& addr) {
  switch (ConnectWithDeadline(sock, addr, kDownloadConnectTimeoutMs)) {
    case ConnectOutcome::kConnected:
      return 0;
    case ConnectOutcome::kTimedOut:
      return kDownloadConnectTimeout;
    default:
      return kDownloadConnectFailed;
  }
}

// Outcome of waiting for the socket.
enum class Wait { kReady, kTimeout, kCancelled, kError };

Wait WaitFor(int sock, short events, int timeout_seconds, const MessagePump& pump) {
  const int64_t deadline = timeout_seconds > 0 ? NowMs() + int64_t(timeout_seconds) * 1000 : INT64_MAX;
  for (;;) {
    const int64_t left = deadline - NowMs();
    if (left <= 0) return Wait::kTimeout;
    pollfd p{sock, events, 0};
    const int r = poll(&p, 1, int(left < kWaitSliceMs ? left : kWaitSliceMs));
    if (r > 0) return Wait::kReady;
    if (r < 0 && errno != EINTR) return Wait::kError;
    if (pump && pump()) return Wait::kCancelled;
  }
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= size_t(n);
  }
  return true;
}

int SendRequest(int sock, const std::string& request, int timeout_seconds, const MessagePump& pump) {
  size_t sent = 0;
  while (sent < request.size()) {
    const ssize_t n = send(sock, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
    if (n > 0) {
      sent += size_t(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      const Wait w = WaitFor(sock, POLLOUT, timeout_seconds, pump);
      if (w == Wait::kReady) continue;
      if (w == Wait::kCancelled) return kDownloadCancelled;
    }
    return kDownloadSendFailed;
  }
  return 0;
}

// One download from the connected socket on; owns nothing but its buffers.
class Transfer {
 public:
  Transfer(int sock, int file, const std::string& path, const DownloadOptions& options, int timeout_seconds)
      : sock_(sock), file_(file), path_(path), options_(options), timeout_(timeout_seconds) {}

  uint64_t written() const { return written_; }

  int Run() {
    std::vector<char> block(kDownloadBlockSize);
    for (;;) {
      if (Cancelled()) return kDownloadCancelled;
      // Data that has already arrived is taken at once; the wait (with its
      // timeout) is only for a socket that has nothing yet.
      ssize_t n = recv(sock_, block.data(), block.size(), 0);
      if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        switch (WaitFor(sock_, POLLIN, timeout_, options_.pump)) {
          case Wait::kReady: break;
          case Wait::kTimeout: return kDownloadReceiveTimeout;
          case Wait::kCancelled: return kDownloadCancelled;
          case Wait::kError: return kDownloadReceiveFailed;
        }
        continue;
      }
      if (n < 0) {
        if (errno == EINTR) continue;
        return kDownloadReceiveFailed;
      }
      if (n == 0) break;  // the server closed the connection
      const int r = header_done_ ? TakeBody(block.data(), size_t(n)) : TakeHeader(block.data(), size_t(n));
      if (r != 0) return r;
      if (header_done_ && header_.has_length && written_ >= header_.content_length) return 0;
    }
    // Closed by the server: complete only when the whole announced body came.
    if (!header_done_) return kDownloadReceiveFailed;
    if (header_.has_length && written_ < header_.content_length) return kDownloadReceiveFailed;
    return 0;
  }

 private:
  bool Cancelled() { return options_.pump && options_.pump(); }

  int OverLimit() {
    if (options_.body_over_limit) *options_.body_over_limit = true;
    return kDownloadReceiveFailed;
  }

  void Report() {
    if (options_.progress) options_.progress(path_, written_, header_.content_length);
  }

  int TakeHeader(const char* data, size_t size) {
    pending_.append(data, size);
    const size_t blank = pending_.find("\r\n\r\n");
    if (blank == std::string::npos) {
      // The header may span blocks, but not without end.
      return pending_.size() > options_.max_header_bytes ? kDownloadReceiveFailed : 0;
    }
    if (blank > options_.max_header_bytes) return kDownloadReceiveFailed;
    if (!ParseAnswerHeader(std::string_view(pending_).substr(0, blank), header_)) return kDownloadReceiveFailed;
    header_done_ = true;
    if (header_.status > 299 || header_.status < 200) return StatusToResultCode(header_.status);
    // The request asks for the whole file; an answer with only a part of it
    // (206, or any Content-Range) would be installed as if it were whole.
    if (header_.status == 206 || header_.partial) return kDownloadReceiveFailed;
    if (header_.has_length && header_.content_length > options_.max_body_bytes) return OverLimit();
    Report();  // (path, 0, length) once the length is known
    std::string body = pending_.substr(blank + 4);
    pending_.clear();
    pending_.shrink_to_fit();
    return TakeBody(body.data(), body.size());
  }

  int TakeBody(const char* data, size_t size) {
    // Bytes past the announced length are not part of this file.
    if (header_.has_length && size > header_.content_length - written_)
      size = size_t(header_.content_length - written_);
    if (written_ + size > options_.max_body_bytes) return OverLimit();
    if (size > 0 && !WriteAll(file_, data, size)) return kDownloadReceiveFailed;
    written_ += size;
    Report();
    return 0;
  }

  int sock_;
  int file_;
  const std::string& path_;
  const DownloadOptions& options_;
  int timeout_;
  std::string pending_;  // header bytes until the blank line
  bool header_done_ = false;
  AnswerHeader header_;
  uint64_t written_ = 0;
};

}  // namespace

int StatusToResultCode(int status) {
  if (status >= 300 && status <= 399) return -399;
  if (status == 400 || status == 404 || status == 405) return -status;
  if (status >= 400 && status <= 499) return -499;
  if (status == 500 || status == 503) return -status;
  if (status >= 500 && status <= 599) return -599;
  return kDownloadReceiveFailed;
}

int LastDownloadError() { return g_last_error; }

int DownloadToFile(WideView address, const std::string& dest_path, uint64_t& written,
                   const DownloadOptions& options) {
  written = 0;
  if (address.empty()) return Fail(kDownloadEmptyAddress);
  if (dest_path.empty()) return Fail(kDownloadEmptyDestination);
  DownloadAddress where;
  if (const int r = ParseDownloadAddress(address, where); r != 0) return Fail(r);
  const int timeout = options.timeout_seconds == -1 ? 7 : options.timeout_seconds;

  FileDescriptor sock(OpenBoundTcpSocket());
  if (!sock.valid()) return Fail(kDownloadSocketFailed);  // creating or binding failed

  sockaddr_in peer{};
  peer.sin_family = AF_INET;
  peer.sin_port = htons(where.port);
  if (!ResolveIpv4(where.host, &peer.sin_addr)) return Fail(kDownloadConnectFailed);
  if (const int r = Connect(sock.get(), peer); r != 0) return Fail(r);

  if (const int r = SendRequest(sock.get(), BuildDownloadRequest(where.path, where.host), timeout, options.pump);
      r != 0)
    return Fail(r);
  if (options.pump && options.pump()) return Fail(kDownloadCancelled);

  // Never through a link: the file is written where its path says.
  FileDescriptor file(open(dest_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644));
  if (!file.valid()) return Fail(kDownloadEmptyDestination);

  Transfer transfer(sock.get(), file.get(), dest_path, options, timeout);
  int result = transfer.Run();
  written = transfer.written();
  if (result == 0) shutdown(sock.get(), SHUT_RDWR);
  if (!file.Reset() && result == 0) result = kDownloadReceiveFailed;
  return result == 0 ? 0 : Fail(result);
}

}  // namespace brantel
