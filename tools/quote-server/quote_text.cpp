#include "tools/quote-server/quote_text.h"

#include <cmath>
#include <cstdio>

namespace brantel::quote_server {

std::string FormatNumber(double value, int decimals) {
  if (!std::isfinite(value)) value = 0;
  if (decimals < 0) decimals = 0;
  if (decimals > 8) decimals = 8;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, std::fabs(value));
  std::string digits(buf);
  const size_t dot = digits.find('.');
  const std::string whole = digits.substr(0, dot);
  const std::string fraction = dot == std::string::npos ? "" : digits.substr(dot);
  std::string grouped;
  for (size_t i = 0; i < whole.size(); ++i) {
    if (i > 0 && (whole.size() - i) % 3 == 0) grouped += ',';
    grouped += whole[i];
  }
  // A value that rounds to zero carries no sign ("-0.00" would read as a fall).
  bool zero = true;
  for (char c : digits)
    if (c >= '1' && c <= '9') zero = false;
  return (value < 0 && !zero ? "-" : "") + grouped + fraction;
}

std::string FormatRate(double percent) { return FormatNumber(percent, 2); }

}  // namespace brantel::quote_server
