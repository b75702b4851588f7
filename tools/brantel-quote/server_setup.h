#pragma once
// Which information server brantel-quote asks: --server HOST:PORT, else the
// server selection in Config_MNUV.txt beside the program, as the viewer reads
// it.

#include <string>

namespace brantel::quote_tool {

// Sets the process-wide request settings. False with `error` set for a bad
// --server value.
bool ConfigureServer(const std::string& server_option, std::string& error);

}  // namespace brantel::quote_tool
