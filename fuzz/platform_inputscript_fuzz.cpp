// Script files for the scripted input come from users and automation: any
// bytes must parse to steps or to an error naming a line, never crash, and
// every accepted step must stay within its bounds.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/ui/script_player.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<brantel::ScriptStep> steps;
  std::string error;
  if (!brantel::ParseScript(text, steps, error)) {
    if (error.rfind("line ", 0) != 0 || !steps.empty()) std::abort();
    return 0;
  }
  for (const auto& s : steps) {
    if (!std::isfinite(s.x) || !std::isfinite(s.y) || std::fabs(s.x) > 10000 || std::fabs(s.y) > 10000) std::abort();
    if (s.ms > 600000) std::abort();
  }
  return 0;
}
