#include "platform/gfx/stretch_sampler.h"

#include <algorithm>

namespace brantel {
namespace {

// Position in the source (16.16 fixed point, relative to the source start)
// of the centre of target pixel `i` out of `dst_len`, shifted by half a pixel
// so that integer parts name the left/top tap of a bilinear filter.
int64_t SourceCentre(int i, int src_len, int dst_len) {
  return ((int64_t(2 * i + 1) * src_len) << 16) / (2 * int64_t(dst_len));
}

uint32_t Bilinear(uint32_t p00, uint32_t p01, uint32_t p10, uint32_t p11, uint32_t fx, uint32_t fy) {
  // Weights out of 65536.
  const uint32_t w[4] = {(256 - fx) * (256 - fy), fx * (256 - fy), (256 - fx) * fy, fx * fy};
  const uint32_t p[4] = {p00, p01, p10, p11};
  if ((p00 & p01 & p10 & p11) >> 24 == 0xFF) {
    uint32_t out = 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
      uint64_t sum = 0;
      for (int k = 0; k < 4; ++k) sum += uint64_t(w[k]) * ((p[k] >> shift) & 0xFF);
      out |= uint32_t((sum + 32768) >> 16) << shift;
    }
    return out;
  }
  uint64_t alpha_sum = 0;
  uint64_t channel[3] = {0, 0, 0};
  for (int k = 0; k < 4; ++k) {
    const uint64_t wa = uint64_t(w[k]) * (p[k] >> 24);
    alpha_sum += wa;
    for (int c = 0; c < 3; ++c) channel[c] += wa * ((p[k] >> (8 * c)) & 0xFF);
  }
  if (alpha_sum == 0) return 0;
  uint32_t out = uint32_t((alpha_sum + 32768) >> 16) << 24;
  for (int c = 0; c < 3; ++c) out |= uint32_t((channel[c] + alpha_sum / 2) / alpha_sum) << (8 * c);
  return out;
}

}  // namespace

StretchSampler::StretchSampler(const Surface& src, const Rect& source, const Rect& dest, const Rect& visible,
                               bool smooth)
    : src_(src), source_(source.Intersect(src.bounds())), dest_(dest), visible_(visible.Intersect(dest)),
      smooth_(smooth) {
  if (source_.IsEmpty() || dest_.IsEmpty() || visible_.IsEmpty()) return;
  valid_ = true;
  identity_ = source_.Width() == dest_.Width() && source_.Height() == dest_.Height();
  if (identity_) return;
  const int n = visible_.Width();
  x0_.resize(n);
  row_.resize(n);
  if (smooth_) fx_.resize(n);
  for (int k = 0; k < n; ++k) {
    const int i = visible_.left + k - dest_.left;
    int64_t u = SourceCentre(i, source_.Width(), dest_.Width());
    if (!smooth_) {
      x0_[k] = source_.left + std::min(int(u >> 16), source_.Width() - 1);
      continue;
    }
    u -= 32768;
    if (u < 0) u = 0;
    const int whole = int(u >> 16);
    x0_[k] = source_.left + std::min(whole, source_.Width() - 1);
    fx_[k] = whole >= source_.Width() - 1 ? 0 : uint16_t((u >> 8) & 0xFF);
  }
}

const uint32_t* StretchSampler::Row(int y) {
  const int j = y - dest_.top;
  if (identity_) return src_.row(source_.top + j) + (source_.left + visible_.left - dest_.left);
  const int n = visible_.Width();
  int64_t v = SourceCentre(j, source_.Height(), dest_.Height());
  if (!smooth_) {
    const uint32_t* s = src_.row(source_.top + std::min(int(v >> 16), source_.Height() - 1));
    for (int k = 0; k < n; ++k) row_[k] = s[x0_[k]];
    return row_.data();
  }
  v -= 32768;
  if (v < 0) v = 0;
  const int whole = int(v >> 16);
  const int y0 = std::min(whole, source_.Height() - 1);
  const int y1 = std::min(y0 + 1, source_.Height() - 1);
  const uint32_t fy = whole >= source_.Height() - 1 ? 0 : uint32_t((v >> 8) & 0xFF);
  const uint32_t* top = src_.row(source_.top + y0);
  const uint32_t* bottom = src_.row(source_.top + y1);
  const int last = source_.right - 1;
  for (int k = 0; k < n; ++k) {
    const int x0 = x0_[k];
    const int x1 = std::min(x0 + 1, last);
    row_[k] = Bilinear(top[x0], top[x1], bottom[x0], bottom[x1], fx_[k], fy);
  }
  return row_.data();
}

}  // namespace brantel
