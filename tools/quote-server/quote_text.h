#pragma once
// Number texts as the server sends them: thousands separated by commas, a
// leading "-" for a fall and no sign for a rise (the viewer reads the sign
// from the leading number).

#include <string>

namespace brantel::quote_server {

std::string FormatNumber(double value, int decimals);  // "12,345.67", "-1,200"
std::string FormatRate(double percent);                // "1.23", "-0.70", "0.00"

}  // namespace brantel::quote_server
