// Feeds arbitrary bytes to HttpAnswer, cut into pieces at places the input
// chooses (as receives would cut them), and checks what a caller relies on:
// no body beyond the cap, a completed Content-Length answer holds exactly that
// many bytes, and a refused answer stays refused.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "protocol/http_answer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  // The first byte sets the piece length (1 to 256); the rest is the answer.
  const size_t piece = size_t(data[0]) + 1;
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  brantel::HttpAnswer answer;
  bool refused = false;
  while (!rest.empty()) {
    const std::string_view bytes = rest.substr(0, piece);
    rest.remove_prefix(bytes.size());
    const bool ok = answer.Feed(bytes);
    if (refused && ok) std::abort();  // a refusal is final
    refused = !ok;
    if (answer.body().size() > brantel::kMaxAnswerBytes) std::abort();
  }
  const bool whole = answer.Finish();
  if (whole != answer.complete()) std::abort();
  if (whole && answer.content_length() >= 0 && answer.body().size() != size_t(answer.content_length())) std::abort();
  if (answer.body().capacity() > brantel::kMaxAnswerBytes && answer.content_length() < 0) std::abort();
  return 0;
}
