#include "resources/updater/updater_pictures.h"

#include <algorithm>

#include "platform/resources/resource_abi.h"

extern "C" {
// Generated from the rendered artwork.
extern const BrantelPictureEntry brantel_updater_pictures[];
extern const uint32_t brantel_updater_pictures_count;
}

namespace brantel {

std::span<const uint8_t> UpdaterPictureBytes(uint32_t number) {
  for (uint32_t i = 0; i < brantel_updater_pictures_count; ++i) {
    const BrantelPictureEntry& p = brantel_updater_pictures[i];
    if (p.number == number) return {p.bytes, p.size};
  }
  return {};
}

std::vector<uint32_t> UpdaterPictureNumbers() {
  std::vector<uint32_t> numbers;
  for (uint32_t i = 0; i < brantel_updater_pictures_count; ++i) numbers.push_back(brantel_updater_pictures[i].number);
  std::sort(numbers.begin(), numbers.end());
  return numbers;
}

}  // namespace brantel
