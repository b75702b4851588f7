#include "protocol/device_identity.h"

#include <cstring>
#include <mutex>
#include <new>
#include <vector>

#include "platform/device/telephony.h"

namespace brantel {

namespace {

// A capability record larger than this is refused as out of memory rather
// than allocated: no size the service reports may exhaust memory.
constexpr uint32_t kMaxCapsBytes = 1u << 20;
constexpr uint32_t kFirstCapsBytes = 512;

std::mutex g_number_mutex;
WideText g_number;

class CapsRecord {
 public:
  // False when `bytes` is beyond what we are willing to allocate.
  bool Resize(uint32_t bytes) {
    if (bytes > kMaxCapsBytes || bytes < sizeof(LineCapsHeader)) return false;
    try {
      storage_.assign(bytes, 0);
    } catch (const std::bad_alloc&) {
      return false;
    }
    SetTotal(bytes);
    return true;
  }
  void SetTotal(uint32_t bytes) {
    LineCapsHeader h = Head();
    h.total_size = bytes;
    std::memcpy(storage_.data(), &h, sizeof h);
  }
  LineCapsHeader Head() const {
    LineCapsHeader h;
    std::memcpy(&h, storage_.data(), sizeof h);
    return h;
  }
  uint32_t size() const { return uint32_t(storage_.size()); }
  void* data() { return storage_.data(); }

  // The text of a record that was read whole, cut at its terminator and at
  // `max_chars`; nothing when its place lies outside what was filled.
  bool Text(WideText* out, size_t max_chars) const {
    const LineCapsHeader h = Head();
    const uint64_t end = uint64_t(h.text_offset) + h.text_size;
    if (h.text_size == 0 || end > h.used_size || end > storage_.size()) return false;
    out->clear();
    for (uint32_t i = 0; i + 1 < h.text_size && out->size() < max_chars; i += 2) {
      char16_t c;
      std::memcpy(&c, storage_.data() + h.text_offset + i, sizeof c);
      if (c == 0) break;
      out->push_back(c);
    }
    return true;
  }

 private:
  std::vector<uint8_t> storage_;
};

enum class CapsRead { kRead, kFailed, kNoMemory };

// One call, and when the service needs a larger record, one more with a
// record of exactly the size it asked for.
template <typename Call>
CapsRead ReadCaps(CapsRecord& record, Call call) {
  record.SetTotal(record.size());
  if (call(record.data()) != kLineOk) return CapsRead::kFailed;
  const uint32_t needed = record.Head().needed_size;
  if (needed <= record.size()) return CapsRead::kRead;
  if (!record.Resize(needed)) return CapsRead::kNoMemory;
  if (call(record.data()) != kLineOk || record.Head().needed_size > record.size()) return CapsRead::kFailed;
  return CapsRead::kRead;
}

}  // namespace

uint32_t ReadPhoneNumber(WideText& number) {
  LineAppHandle app = 0;
  uint32_t device_count = 0;
  uint32_t api_version = kLineApiVersion20;
  if (LineInitialize(u"TAPI_Wrapper", &app, &device_count, &api_version, kLineInitUseEvent) < 0) {
    LineShutdown(app);
    return kPhoneNumberFailed;
  }
  CapsRecord record;
  if (!record.Resize(kFirstCapsBytes)) {
    LineShutdown(app);
    return kPhoneNumberOutOfMemory;
  }
  uint32_t result = kPhoneNumberFailed;
  uint32_t device = 0xFFFFFFFFu;
  uint32_t version = 0;
  for (uint32_t d = 0; d < device_count; ++d) {
    uint32_t negotiated = 0;
    if (LineNegotiateApiVersion(app, d, kLineApiVersion20, kLineApiVersion20, &negotiated) != kLineOk) continue;
    version = negotiated;
    const CapsRead read = ReadCaps(record, [&](void* r) { return LineGetDevCaps(app, d, version, r); });
    if (read == CapsRead::kNoMemory) {
      LineShutdown(app);
      return kPhoneNumberOutOfMemory;
    }
    WideText name;
    if (read == CapsRead::kRead && record.Text(&name, 256) && name == u"Cellular Line") {
      device = d;
      break;
    }
  }
  const CapsRead read = ReadCaps(record, [&](void* r) { return LineGetAddressCaps(app, device, 0, version, r); });
  if (read == CapsRead::kNoMemory) {
    result = kPhoneNumberOutOfMemory;
  } else if (read == CapsRead::kRead) {
    WideText address;
    if (record.Text(&address, kPhoneNumberMaxChars) && !address.empty()) {
      number = address;
      result = 0;
    }
  }
  LineShutdown(app);
  return result;
}

WideText DevicePhoneNumber() {
  std::lock_guard lock(g_number_mutex);
  return g_number;
}

void SetDevicePhoneNumber(WideText number) {
  std::lock_guard lock(g_number_mutex);
  g_number = std::move(number);
}

}  // namespace brantel
