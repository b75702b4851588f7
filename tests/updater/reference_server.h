#pragma once
// The project's reference server serving a folder of release files
// (--files) on a free 127.0.0.1 port, with the addresses the tests' manifests
// name. Starting and stopping the process is the shared test helper's.

#include <string>

#include "tests/support/quote_server_process.h"

namespace brantel::testing {

class ReferenceServer {
 public:
  explicit ReferenceServer(const std::string& files_dir) : process_({"--files", files_dir}) {}

  bool started() const { return process_.started(); }
  const std::string& why_not() const { return process_.why_not(); }
  std::string url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(process_.port()) + path;
  }

 private:
  QuoteServerProcess process_;
};

}  // namespace brantel::testing
