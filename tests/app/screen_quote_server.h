#pragma once
// The reference server a screen suite talks to: started (again) with the
// test's arguments and "--log", and made the viewer's information server.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "protocol/request_settings.h"
#include "tests/support/quote_server_process.h"

namespace brantel::testing {

inline void StartScreenServer(std::unique_ptr<QuoteServerProcess>& server, std::vector<std::string> options) {
  server.reset();
  options.push_back("--log");
  server = std::make_unique<QuoteServerProcess>(options);
  ASSERT_TRUE(server->started()) << server->why_not();
  SetInformationServer(u"127.0.0.1", server->port());
}

}  // namespace brantel::testing
