// Download of a 100 MB file over loopback: the updater's download client
// beside `curl -o FILE` from the same server in the same run. Reports MB/s
// of both, their ratio, and the client's peak memory (which must not grow
// with the file size: the body goes to the file block by block).
//
// The server is nginx on a free 127.0.0.1 port when it can run, else a small
// sendfile server in this process.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "updater/download_client.h"
#include "tests/support/loopback_http_server.h"
#include "tests/updater/nginx_server.h"

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
    nginx_ = std::make_unique<testing::NginxServer>(dir_ + "/www", dir_, "  sendfile on;\n");
    if (nginx_->started()) {
      port_ = nginx_->port();
      return;
    }
    nginx_.reset();
    own_ = std::make_unique<testing_support::LoopbackServer>(
        [this](int fd, const std::string& request) { SendFile(fd, request); });
    port_ = own_->port();
  }
  ~BenchServer() {
    nginx_.reset();
    own_.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  std::string url(const std::string& name) const { return "http://127.0.0.1:" + std::to_string(port_) + "/" + name; }
  const std::string& dir() const { return dir_; }
  const char* kind() const { return nginx_ ? "nginx" : "in-process sendfile server"; }

 private:
  void WriteFile(const std::string& name, size_t size) {
    std::ofstream f(dir_ + "/www/" + name, std::ios::binary);
    std::string block(1 << 20, '\0');
    for (size_t i = 0; i < block.size(); ++i) block[i] = char(i * 31 + 7);
    for (size_t done = 0; done < size; done += block.size()) f.write(block.data(), std::streamsize(block.size()));
  }

  // The answer of the in-process server: the requested file, sent by the kernel.
  void SendFile(int fd, const std::string& request) const {
    const size_t a = request.find(' '), b = request.find(' ', a + 1);
    const std::string path = dir_ + "/www" + request.substr(a + 1, b - a - 1);
    const int file = open(path.c_str(), O_RDONLY);
    struct stat st {};
    fstat(file, &st);
    testing_support::SendText(fd, testing_support::FileAnswerHead(size_t(st.st_size)));
    off_t offset = 0;
    while (offset < st.st_size && sendfile(fd, file, &offset, size_t(st.st_size - offset)) > 0) {
    }
    close(file);
  }

  std::string dir_;
  int port_ = 0;
  std::unique_ptr<testing::NginxServer> nginx_;
  std::unique_ptr<testing_support::LoopbackServer> own_;
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

// One download by curl, timed: its exit status (-1 when it could not be
// started) and the seconds it took.
int RunCurl(const std::string& url, const std::string& dest, double* seconds) {
  const char* argv[] = {"curl", "-s", "-o", dest.c_str(), url.c_str(), nullptr};
  pid_t pid = -1;
  const auto start = std::chrono::steady_clock::now();
  *seconds = 0;
  if (posix_spawnp(&pid, "curl", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  *seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

void Curl(benchmark::State& state, const char* file, size_t bytes) {
  BenchServer& server = Server();
  const std::string dest = server.dir() + "/curl.out";
  const std::string url = server.url(file);
  for (auto _ : state) {
    double seconds = 0;
    const int status = RunCurl(url, dest, &seconds);
    if (status < 0) {
      state.SkipWithError("curl cannot be started");
      break;
    }
    if (status != 0) state.SkipWithError("curl failed");
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
  double seconds = 0;
  RunCurl(url, dest, &seconds);
  return seconds;
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
