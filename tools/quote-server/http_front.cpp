#include "tools/quote-server/http_front.h"

#include <fcntl.h>
#include <httplib.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace brantel::quote_server {

namespace {

constexpr size_t kMaxRequestBody = size_t(1) << 20;  // request documents are a few KB
constexpr size_t kPiece = size_t(256) << 10;

std::mutex g_log_mutex;

// A file descriptor closed with its last owner (the answer's byte source).
struct OpenFile {
  int fd = -1;
  OpenFile() = default;
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  ~OpenFile() {
    if (fd >= 0) close(fd);
  }
};

// Reads `n` bytes at `offset` of the answer into `out`; false on failure.
using ByteSource = std::function<bool(size_t offset, size_t n, char* out)>;

std::string TypeOfFile(const std::string& path) {
  const auto ends = [&](const char* s) {
    const std::string_view p(path), e(s);
    return p.size() >= e.size() && p.substr(p.size() - e.size()) == e;
  };
  if (ends(".xml")) return "text/xml";
  if (ends(".txt")) return "text/plain";
  if (ends(".png")) return "image/png";
  if (ends(".gif")) return "image/gif";
  return "application/octet-stream";
}

void Sleep(int ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Sends `size` bytes from `source` with the configured faults.
void Deliver(httplib::Response& res, size_t size, const std::string& type, ByteSource source, const DeliveryFaults& faults) {
  if (faults.status != 0) {
    res.status = faults.status;
    res.set_content("status " + std::to_string(faults.status) + "\n", "text/plain");
    return;
  }
  const DeliveryPlan plan = PlanDelivery(size, faults);
  auto buffer = std::make_shared<std::vector<char>>();
  res.set_content_provider(
      plan.announced, type,
      [plan, faults, buffer, source = std::move(source)](size_t offset, size_t length, httplib::DataSink& sink) {
        // Returning false drops the connection: the early close.
        if (offset >= plan.sent) return false;
        size_t n = std::min({length, plan.sent - offset, kPiece});
        if (faults.drip) {
          n = std::min(n, faults.drip_bytes);
          Sleep(faults.drip_ms);
        }
        if (buffer->size() < n) buffer->resize(n);
        char* piece = buffer->data();
        if (!source(offset, n, piece)) return false;
        if (faults.garbage)
          for (size_t i = 0; i < n; ++i) piece[i] = GarbageByte(offset + i);
        return sink.write(piece, n);
      });
}

}  // namespace

DeliveryPlan PlanDelivery(size_t size, const DeliveryFaults& faults) {
  DeliveryPlan plan{size, size};
  if (faults.truncate) plan.announced = plan.sent = size / 2;
  if (faults.close_early) plan.sent = plan.announced / 2;
  return plan;
}

char GarbageByte(size_t offset) {
  uint64_t x = offset * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull;
  x ^= x >> 29;
  x *= 0xBF58476D1CE4E5B9ull;
  x ^= x >> 32;
  const char c = char(x & 0xFF);
  return c == '-' ? '+' : c;
}

bool ResolveServedFile(const std::string& root, std::string_view url_path, std::string& full) {
  if (root.empty() || url_path.empty() || url_path[0] != '/') return false;
  std::string joined = root;
  size_t pos = 1;
  while (pos <= url_path.size()) {
    size_t end = url_path.find('/', pos);
    if (end == std::string_view::npos) end = url_path.size();
    const std::string_view segment = url_path.substr(pos, end - pos);
    pos = end + 1;
    if (segment.empty() || segment == ".") continue;
    if (segment == ".." || segment.find('\\') != std::string_view::npos || segment.find('\0') != std::string_view::npos)
      return false;
    joined += "/";
    joined += segment;
  }
  char real_root[PATH_MAX];
  char real_file[PATH_MAX];
  if (!realpath(root.c_str(), real_root) || !realpath(joined.c_str(), real_file)) return false;
  const std::string base = std::string(real_root) + "/";
  if (std::string_view(real_file).substr(0, base.size()) != base) return false;  // a link out of the folder
  struct stat st {};
  if (stat(real_file, &st) != 0 || !S_ISREG(st.st_mode)) return false;
  full = real_file;
  return true;
}

HttpFront::HttpFront(const ServerOptions& options, const QuoteService& service)
    : options_(options), service_(service), server_(std::make_unique<httplib::Server>()) {
  Install();
}

HttpFront::~HttpFront() = default;

void HttpFront::LogRequest(const std::string& method, const std::string& path, const std::string& body) {
  if (!options_.log) return;
  std::lock_guard<std::mutex> lock(g_log_mutex);
  std::fprintf(stderr, "%s %s\n", method.c_str(), path.c_str());
  if (!body.empty()) std::fprintf(stderr, "%.*s\n", int(std::min(body.size(), size_t(64) << 10)), body.c_str());
  std::fflush(stderr);
}

void HttpFront::AnswerProtocol(const std::string& path, const std::string& body, httplib::Response& res) {
  Sleep(options_.faults.delay_ms);
  const std::shared_ptr<const ProtocolAnswer> answer = service_.SharedAnswer(path, body);
  Deliver(res, answer->body.size(), answer->content_type,
          [answer](size_t offset, size_t n, char* out) {
            answer->body.copy(out, n, offset);
            return true;
          },
          options_.faults);
}

void HttpFront::ServeFile(const std::string& path, httplib::Response& res) {
  Sleep(options_.faults.delay_ms);
  std::string full;
  struct stat st {};
  auto file = std::make_shared<OpenFile>();
  if (!options_.files_dir.empty() && ResolveServedFile(options_.files_dir, path, full))
    file->fd = open(full.c_str(), O_RDONLY | O_CLOEXEC);
  if (file->fd < 0 || fstat(file->fd, &st) != 0) {
    res.status = options_.faults.status != 0 ? options_.faults.status : 404;
    res.set_content("not found\n", "text/plain");
    return;
  }
  // Streamed in pieces: release files may be larger than memory allows.
  Deliver(res, size_t(st.st_size), TypeOfFile(full),
          [file](size_t offset, size_t n, char* out) {
            size_t done = 0;
            while (done < n) {
              const ssize_t got = pread(file->fd, out + done, n - done, off_t(offset + done));
              if (got <= 0) return false;
              done += size_t(got);
            }
            return true;
          },
          options_.faults);
}

void HttpFront::Install() {
  httplib::Server& s = *server_;
  s.set_payload_max_length(kMaxRequestBody);
  s.set_read_timeout(30, 0);
  s.set_write_timeout(30, 0);
  // One request per connection: both clients open a connection per request,
  // and the updater asks for keep-alive but may read until the server closes.
  s.set_keep_alive_max_count(1);

  // Every POST reads its own body: the updater's download request is an
  // HTTP/1.0 POST without a body and without Content-Length, which the
  // library would otherwise refuse before any handler runs.
  s.Post(".*", [this](const httplib::Request& req, httplib::Response& res, const httplib::ContentReader& reader) {
    std::string body;
    const bool has_body = req.has_header("Content-Length") || req.get_header_value("Transfer-Encoding") == "chunked";
    // A body announced beyond the bound is refused before a byte of it is read.
    bool too_large = std::strtoull(req.get_header_value("Content-Length").c_str(), nullptr, 10) > kMaxRequestBody;
    if (has_body && (too_large || !reader([&](const char* data, size_t n) {
          too_large = body.size() + n > kMaxRequestBody;
          if (!too_large) body.append(data, n);
          return !too_large;
        }))) {
      LogRequest(req.method, req.path, std::string());
      res.status = too_large || body.size() >= kMaxRequestBody ? 413 : 400;
      res.set_content(res.status == 413 ? "request too large\n" : "unreadable request\n", "text/plain");
      return;
    }
    LogRequest(req.method, req.path, body);
    if (QuoteService::IsProtocolPath(req.path))
      AnswerProtocol(req.path, body, res);
    else
      ServeFile(req.path, res);
  });
  s.Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
    LogRequest(req.method, req.path, std::string());
    ServeFile(req.path, res);
  });
}

int HttpFront::Bind() {
  if (options_.port == 0) return server_->bind_to_any_port("127.0.0.1");
  return server_->bind_to_port("127.0.0.1", options_.port) ? options_.port : -1;
}

bool HttpFront::Run() { return server_->listen_after_bind(); }

void HttpFront::Stop() { server_->stop(); }

}  // namespace brantel::quote_server
