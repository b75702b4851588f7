#include "platform/debug.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace brantel {

namespace {
std::atomic<DebugSink> g_sink{nullptr};
}

bool DebugOutputEnabled() {
  if (g_sink.load()) return true;
  const char* v = std::getenv("BRANTEL_DEBUG");
  return v && *v && std::string_view(v) != "0";
}

void DebugOutput(std::string_view utf8) {
  if (DebugSink sink = g_sink.load()) {
    sink(utf8);
    return;
  }
  if (!DebugOutputEnabled()) return;
  std::fwrite(utf8.data(), 1, utf8.size(), stderr);
  std::fflush(stderr);
}

void DebugOutput(WideView text) {
  if (!DebugOutputEnabled()) return;
  DebugOutput(std::string_view(Narrow(text)));
}

void SetDebugSinkForTesting(DebugSink sink) { g_sink.store(sink); }

}  // namespace brantel
