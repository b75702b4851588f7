#include "tools/quote-server/price_model.h"

#include <algorithm>
#include <cmath>

namespace brantel::quote_server {

namespace {

constexpr int kUnitsPerSession = 400;
constexpr int kNightUnits = 10;
constexpr int kOctaves = 16;  // 2 units up to 65536 units (about 160 sessions)

uint64_t Mix(uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

uint64_t HashText(const std::string& s) {
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : s) h = (h ^ c) * 1099511628211ull;
  return h;
}

// Uniform value in [-1, 1] for one lattice point.
double Lattice(uint64_t key, int64_t point) { return double(Mix(key ^ Mix(uint64_t(point))) >> 11) / double(1ull << 52) - 1.0; }

double UnitsOf(int64_t index, int minute) { return double(index) * kUnitsPerSession + kNightUnits + minute; }

// Octave lengths (2 to 65536 units) and the amplitude of a random walk over
// each length, counted in sessions.
struct Octaves {
  double inverse_length[kOctaves];
  double amplitude[kOctaves];
  Octaves() {
    double length = 2;
    for (int o = 0; o < kOctaves; ++o, length *= 2) {
      inverse_length[o] = 1.0 / length;
      amplitude[o] = std::sqrt(length / kUnitsPerSession);
    }
  }
};
const Octaves kOctaveTable;

}  // namespace

double PriceModel::Noise(uint64_t key, double t) const {
  double sum = 0;
  for (int o = 0; o < kOctaves; ++o) {
    const double x = t * kOctaveTable.inverse_length[o];
    const double base = std::floor(x);
    const double f = x - base;
    const double s = f * f * (3 - 2 * f);
    const uint64_t okey = key + uint64_t(o) * 0x632BE59BD9B4E019ull;
    const double a = Lattice(okey, int64_t(base));
    const double b = Lattice(okey, int64_t(base) + 1);
    sum += (a + (b - a) * s) * kOctaveTable.amplitude[o];
  }
  return sum;
}

double PriceModel::PriceAt(const Instrument& in, int64_t index, int minute) const {
  if (in.volatility <= 0) return in.reference;
  const uint64_t key = Mix(seed_ ^ HashText(in.code) ^ (uint64_t(in.category) << 56));
  return in.reference * std::exp(0.55 * in.volatility * Noise(key, UnitsOf(index, minute)));
}

double RoundToTick(const Instrument& in, double price) {
  if (in.category == kStock) {
    double tick = 1;
    if (price >= 500000) tick = 1000;
    else if (price >= 200000) tick = 500;
    else if (price >= 50000) tick = 100;
    else if (price >= 20000) tick = 50;
    else if (price >= 5000) tick = 10;
    else if (price >= 2000) tick = 5;
    return std::max(tick, std::round(price / tick) * tick);
  }
  const double scale = std::pow(10.0, DecimalsOf(in, price));
  return std::round(price * scale) / scale;
}

int DecimalsOf(const Instrument& in, double price) {
  switch (in.category) {
    case kStock: return 0;
    case kInterestRate: return 3;
    case kExchange: return price >= 10 ? 2 : price >= 0.1 ? 4 : 6;
    case kCommodity: return price >= 10 ? 2 : 3;
    default: return 2;
  }
}

double PriceModel::Quoted(const Instrument& in, int64_t index, int minute) const {
  return RoundToTick(in, PriceAt(in, index, minute));
}

Bar PriceModel::SessionBar(const Instrument& in, int64_t index, int minutes) const {
  minutes = std::clamp(minutes, 0, kSessionMinutes);
  const std::vector<Bar> parts = IntradayBars(in, index, minutes, kSessionMinutes);
  Bar bar = parts.empty() ? Bar{} : parts.front();
  bar.index = index;
  bar.minute = 0;
  return bar;
}

std::vector<Bar> PriceModel::IntradayBars(const Instrument& in, int64_t index, int minutes, int step) const {
  std::vector<Bar> bars;
  minutes = std::clamp(minutes, 0, kSessionMinutes);
  step = std::max(1, step);
  // The session's volume: a share of the float that grows with the day's move.
  const uint64_t vkey = Mix(seed_ ^ HashText(in.code) ^ Mix(uint64_t(index)));
  const double day_move = std::fabs(std::log(PriceAt(in, index, kSessionMinutes) / PriceAt(in, index - 1, kSessionMinutes)));
  const double float_shares = in.category == kStock ? double(in.shares) : 4.0e8;
  const double turnover = 0.004 * std::exp(0.6 * Lattice(vkey, 1)) * (1 + 25 * day_move);
  const double day_volume = float_shares * turnover;
  for (int start = 0; start < std::max(minutes, 1); start += step) {
    const int end = std::min(start + step, std::max(minutes, 1));
    Bar b;
    b.index = index;
    b.minute = start;
    b.open = Quoted(in, index, start);
    b.high = b.low = b.open;
    // Sample the bar every few minutes for its range.
    const int sample = std::max(1, (end - start) / 12);
    for (int m = start; m <= end; m += sample) {
      const double p = Quoted(in, index, m);
      b.high = std::max(b.high, p);
      b.low = std::min(b.low, p);
    }
    b.close = Quoted(in, index, end);
    b.high = std::max(b.high, b.close);
    b.low = std::min(b.low, b.close);
    // Volume is heavier near the open and the close (the usual U shape).
    const double mid = (start + end) / 2.0 / kSessionMinutes;
    const double weight = 0.6 + 2.4 * (mid - 0.5) * (mid - 0.5) * 4 / 2;
    const double jitter = std::exp(0.35 * Lattice(vkey, 2 + start));
    b.volume = std::round(day_volume * weight * jitter * (end - start) / kSessionMinutes);
    bars.push_back(b);
    if (minutes == 0) break;
  }
  return bars;
}

std::vector<Bar> PriceModel::DailyBars(const Instrument& in, int64_t last, int last_minutes, int count) const {
  std::vector<Bar> bars;
  if (count <= 0) return bars;
  bars.reserve(size_t(count));
  for (int64_t i = last - count + 1; i <= last; ++i)
    bars.push_back(SessionBar(in, i, i == last ? last_minutes : kSessionMinutes));
  return bars;
}

}  // namespace brantel::quote_server
