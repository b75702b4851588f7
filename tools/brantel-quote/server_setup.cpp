#include "tools/brantel-quote/server_setup.h"

#include <cstdlib>

#include "platform/text.h"
#include "protocol/request_settings.h"
#ifdef BRANTEL_HAVE_SERVER_SELECTION
#include "app/server_selection.h"
#endif

namespace brantel::quote_tool {

bool ConfigureServer(const std::string& server_option, std::string& error) {
  if (!server_option.empty()) {
    const size_t colon = server_option.rfind(':');
    const std::string host = server_option.substr(0, colon);
    int port = 80;
    if (colon != std::string::npos) {
      const std::string digits = server_option.substr(colon + 1);
      char* end = nullptr;
      const long value = std::strtol(digits.c_str(), &end, 10);
      if (digits.empty() || *end || value < 1 || value > 65535) {
        error = "bad port in --server " + server_option;
        return false;
      }
      port = int(value);
    }
    if (host.empty()) {
      error = "no host in --server " + server_option;
      return false;
    }
    SetInformationServer(Widen(host), port);
    return true;
  }
#ifdef BRANTEL_HAVE_SERVER_SELECTION
  ServerSelection selection;
  ReadServerSelection(&selection);
  ApplyBuiltInDefaults(&selection);
  SetInformationServer(selection.server_address, selection.server_port);
#else
  SetInformationServer(u"127.0.0.1", 8470);
#endif
  return true;
}

}  // namespace brantel::quote_tool
