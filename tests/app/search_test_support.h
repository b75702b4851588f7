#pragma once
// Shared by the search tests: the reference server's master list as its
// master file holds it ("code|name|market|" per line, from the server's
// stock data).

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace brantel::testing {

inline std::string ReferenceMasterText() {
  const auto root = std::filesystem::path(BRANTEL_TEST_DATA_DIR).parent_path().parent_path();
  std::ifstream in(root / "tools/quote-server/data/stocks.txt");
  std::string line, text;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::stringstream fields(line);
    std::string code, name, market;
    std::getline(fields, code, '|');
    std::getline(fields, name, '|');
    std::getline(fields, market, '|');
    text += code + "|" + name + "|" + market + "|\n";
  }
  return text;
}

}  // namespace brantel::testing
