// Download of a 100 MB file over loopback: the updater's download client
// beside `curl -o FILE` from the same server in the same run. Reports MB/s
// of both, their ratio, and the client's peak memory (which must not grow
// with the file size: the body goes to the file block by block).
//
// The server is nginx on a free 127.0.0.1 port when it can run, else a small
// sendfile server in this process.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/sendfile.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "updater/download_client.h"
#include "tests/support/loopback_listener.h"

extern char** environ;

namespace {

using namespace brantel;

constexpr size_t kSmallBytes = size_t(10) << 20;
constexpr size_t kBigBytes = size_t(100) << 20;

long PeakRssKb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

// Serves the files of a folder: nginx when possible, else sendfile in-process.
class BenchServer {
 public:
  BenchServer() {
    dir_ = std::filesystem::temp_directory_path() / ("brantel-download-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir_ + "/www");
    WriteFile("small.bin", kSmallBytes);
    WriteFile("big.bin", kBigBytes);
    port_ = testing_support::FreeLoopbackPort();
    if (!StartNginx()) StartOwn();
  }
  ~BenchServer() {
    stop_ = true;
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    if (thread_.joinable()) thread_.join();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  std::string url(const std::string& name) const { return "http://127.0.0.1:" + std::to_string(port_) + "/" + name; }
  const std::string& dir() const { return dir_; }
  const char* kind() const { return pid_ > 0 ? "nginx" : "in-process sendfile server"; }

 private:
  void WriteFile(const std::string& name, size_t size) {
    std::ofstream f(dir_ + "/www/" + name, std::ios::binary);
    std::string block(1 << 20, '\0');
    for (size_t i = 0; i < block.size(); ++i) block[i] = char(i * 31 + 7);
    for (size_t done = 0; done < size; done += block.size()) f.write(block.data(), std::streamsize(block.size()));
  }

  bool StartNginx() {
    const char* binary = "/usr/sbin/nginx";
    if (access(binary, X_OK) != 0) return false;
    const std::string conf = dir_ + "/nginx.conf";
    std::ofstream(conf) << "daemon off;\nmaster_process off;\nworker_processes 1;\npid " << dir_
                        << "/nginx.pid;\nerror_log " << dir_ << "/error.log;\nevents { worker_connections 64; }\n"
                        << "http {\n access_log off;\n sendfile on;\n client_body_temp_path " << dir_ << "/b;\n"
                        << " proxy_temp_path " << dir_ << "/p;\n fastcgi_temp_path " << dir_ << "/f;\n"
                        << " uwsgi_temp_path " << dir_ << "/u;\n scgi_temp_path " << dir_ << "/s;\n"
                        << " server { listen 127.0.0.1:" << port_ << "; root " << dir_
                        << "/www; error_page 405 =200 $uri; }\n}\n";
    const std::string prefix = dir_ + "/";
    const char* argv[] = {binary, "-p", prefix.c_str(), "-c", conf.c_str(), nullptr};
    if (posix_spawn(&pid_, binary, nullptr, nullptr, const_cast<char**>(argv), environ) != 0) return false;
    for (int i = 0; i < 300; ++i) {
      if (testing_support::AcceptsConnections(port_)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
    return false;
  }

  void StartOwn() {
    listen_fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int one = 1;
    setsockopt(listen_fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(uint16_t(port_));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listen_fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    listen(listen_fd_, 8);
    thread_ = std::thread([this] {
      while (!stop_) {
        pollfd p{listen_fd_, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0) continue;
        const int fd = accept(listen_fd_, nullptr, nullptr);
        std::string request;
        char buf[4096];
        while (request.find("\r\n\r\n") == std::string::npos) {
          const ssize_t n = recv(fd, buf, sizeof buf, 0);
          if (n <= 0) break;
          request.append(buf, size_t(n));
        }
        const size_t a = request.find(' '), b = request.find(' ', a + 1);
        const std::string path = dir_ + "/www" + request.substr(a + 1, b - a - 1);
        const int file = open(path.c_str(), O_RDONLY);
        struct stat st {};
        fstat(file, &st);
        const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(st.st_size) + "\r\n\r\n";
        send(fd, head.data(), head.size(), MSG_NOSIGNAL);
        off_t offset = 0;
        while (offset < st.st_size && sendfile(fd, file, &offset, size_t(st.st_size - offset)) > 0) {
        }
        close(file);
        close(fd);
      }
      close(listen_fd_);
    });
  }

  std::string dir_;
  int port_ = 0;
  pid_t pid_ = -1;
  int listen_fd_ = -1;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

BenchServer& Server() {
  static BenchServer server;
  return server;
}

std::map<std::string, double> g_best_mb_per_s;

void Record(const std::string& name, size_t bytes, double seconds) {
  const double rate = double(bytes) / (1 << 20) / seconds;
  if (rate > g_best_mb_per_s[name]) g_best_mb_per_s[name] = rate;
}

void DownloadClient(benchmark::State& state, const char* file, size_t bytes) {
  BenchServer& server = Server();
  const std::string dest = server.dir() + "/client.out";
  const long rss_before = PeakRssKb();
  for (auto _ : state) {
    uint64_t written = 0;
    const auto start = std::chrono::steady_clock::now();
    const int r = DownloadToFile(Widen(server.url(file)), dest, written, DownloadOptions{});
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (r != 0 || written != bytes) state.SkipWithError("download failed");
    Record(std::string("client ") + file, bytes, seconds);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
  state.counters["peak_rss_kb"] = double(PeakRssKb());
  state.counters["rss_growth_kb"] = double(PeakRssKb() - rss_before);
  state.SetLabel(server.kind());
}

void Curl(benchmark::State& state, const char* file, size_t bytes) {
  BenchServer& server = Server();
  const std::string dest = server.dir() + "/curl.out";
  const std::string url = server.url(file);
  for (auto _ : state) {
    const char* argv[] = {"curl", "-s", "-o", dest.c_str(), url.c_str(), nullptr};
    pid_t pid = -1;
    const auto start = std::chrono::steady_clock::now();
    if (posix_spawnp(&pid, "curl", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
      state.SkipWithError("curl cannot be started");
      break;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("curl failed");
    Record(std::string("curl ") + file, bytes, seconds);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
  state.SetLabel(server.kind());
}

BENCHMARK_CAPTURE(DownloadClient, small_10MB, "small.bin", kSmallBytes)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK_CAPTURE(DownloadClient, big_100MB, "big.bin", kBigBytes)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK_CAPTURE(Curl, big_100MB, "big.bin", kBigBytes)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// One timed download each way, for the interleaved comparison.
double ClientSeconds(const std::string& url, const std::string& dest) {
  uint64_t written = 0;
  const auto start = std::chrono::steady_clock::now();
  DownloadToFile(Widen(url), dest, written, DownloadOptions{});
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double CurlSeconds(const std::string& url, const std::string& dest) {
  const char* argv[] = {"curl", "-s", "-o", dest.c_str(), url.c_str(), nullptr};
  pid_t pid = -1;
  const auto start = std::chrono::steady_clock::now();
  if (posix_spawnp(&pid, "curl", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) return 0;
  waitpid(pid, nullptr, 0);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  // The machine's load changes from second to second, so the two are also
  // run in turns and compared by their medians.
  BenchServer& server = Server();
  std::vector<double> client, curl;
  for (int round = 0; round < 9; ++round) {
    client.push_back(ClientSeconds(server.url("big.bin"), server.dir() + "/client.out"));
    curl.push_back(CurlSeconds(server.url("big.bin"), server.dir() + "/curl.out"));
  }
  const double mb = double(kBigBytes) / (1 << 20);
  const double client_rate = mb / Median(client), curl_rate = mb / Median(curl);
  std::printf("\n100 MB over loopback (%s), 9 rounds in turns, medians: download client %.0f MB/s, curl %.0f MB/s, "
              "ratio %.2f; best: client %.0f MB/s, curl %.0f MB/s; client peak RSS %ld kB\n",
              server.kind(), client_rate, curl_rate, client_rate / curl_rate, g_best_mb_per_s["client big.bin"],
              g_best_mb_per_s["curl big.bin"], PeakRssKb());
  benchmark::Shutdown();
  return 0;
}
