#include "protocol/attachment_name.h"

#include <chrono>
#include <ctime>
#include <mutex>
#include <random>

namespace brantel {

WideText SafeAttachmentName(WideView name) {
  const size_t cut = name.find_last_of(u"/\\");
  WideView last = cut == WideView::npos ? name : name.substr(cut + 1);
  if (last.empty() || last == u"." || last == u"..") return {};
  return WideText(last);
}

WideText GeneratedAttachmentName() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  const int millis = int(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  std::tm local{};
  localtime_r(&seconds, &local);
  // One generator for the process: reseeding from the clock on every call
  // would give two files stored in the same millisecond the same name.
  static std::mutex mutex;
  static std::minstd_rand generator(uint32_t(steady_clock::now().time_since_epoch().count()));
  int random;
  {
    std::lock_guard<std::mutex> lock(mutex);
    random = int(generator() % 100);
  }
  return FormatText(u"%02d%02d%02d%02d%02d%03d%02d", local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                    local.tm_sec, millis, random);
}

}  // namespace brantel
