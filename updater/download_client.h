#pragma once
// The updater's own HTTP/1.0 download client: one call fetches one "http://"
// address into one local file, block by block, with a progress callback and a
// cancel check between network operations.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/text.h"

namespace brantel {

// Result codes of DownloadToFile (0 is success).
inline constexpr int kDownloadOk = 0;
inline constexpr int kDownloadCancelled = -1;
inline constexpr int kDownloadSocketFailed = -2;
inline constexpr int kDownloadSendFailed = -3;
inline constexpr int kDownloadReceiveFailed = -4;
inline constexpr int kDownloadReceiveTimeout = -5;
inline constexpr int kDownloadConnectFailed = -6;
inline constexpr int kDownloadConnectTimeout = -7;
inline constexpr int kDownloadBadAddress = -8;
inline constexpr int kDownloadEmptyAddress = -9;
inline constexpr int kDownloadEmptyDestination = -10;

// Largest block read from the socket and written to the file at once.
inline constexpr size_t kDownloadBlockSize = 8193;
// Connecting longer than this fails with kDownloadConnectTimeout.
inline constexpr int kDownloadConnectTimeoutMs = 5500;
// Longest host and path (bytes) an address may carry.
inline constexpr size_t kMaxHostBytes = 127;
inline constexpr size_t kMaxPathBytes = 255;

// Called with (destination path, bytes written so far, expected length; 0 when
// the server sent no Content-Length).
using DownloadProgress = std::function<void(const std::string& path, uint64_t written, uint64_t length)>;

// Lets the pending window messages of the calling thread through and returns
// true when a WM_CANCEL_NETWORK was among them.
using MessagePump = std::function<bool()>;

struct DownloadOptions {
  // Seconds to wait for data; -1 means 7, 0 waits without limit.
  int timeout_seconds = -1;
  // A body larger than this fails with kDownloadReceiveFailed, so a hostile
  // server cannot fill the disk.
  uint64_t max_body_bytes = uint64_t(2) << 30;
  // Set to true when the answer failed for being larger than that; may be null.
  bool* body_over_limit = nullptr;
  // The answer header must end within this many bytes.
  size_t max_header_bytes = 64 * 1024;
  DownloadProgress progress;  // may be empty
  MessagePump pump;           // may be empty: then nothing can cancel
};

// Downloads `address` into `dest_path` (created or replaced). `written`
// receives the body bytes written, also on failure and cancellation; the file
// keeps what was written so far. Returns one of the codes above, or the
// negative HTTP status code: -399 (300-399), -400, -404, -405, -499 (other
// 4xx), -500, -503, -599 (other 5xx).
int DownloadToFile(WideView address, const std::string& dest_path, uint64_t& written,
                   const DownloadOptions& options);

// The code of the last failed download of this process (0 before any).
int LastDownloadError();

// Maps an HTTP status above 299 to its result code; statuses that are not
// valid HTTP (600 and above) count as a failed receive.
int StatusToResultCode(int status);

}  // namespace brantel
