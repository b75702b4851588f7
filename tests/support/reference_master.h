#pragma once
// The master file the reference server delivers, built from its stock data
// the way it builds it: "code|name|market|" per line. Shared by the master
// parser and search tests.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace brantel::testing {

inline std::string ReferenceMasterText() {
  // The source tree from the test data folder: __FILE__ may be relative to the build folder.
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
