#pragma once
// The commands of brantel-quote. Each command file defines one QuoteCommand
// and registers it with a static QuoteCommandRegistration, so a new command
// is a new file and nothing else changes.

#include <string>
#include <vector>

namespace brantel::quote_tool {

// Exit codes shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;       // anything else that went wrong
inline constexpr int kExitUsage = 2;         // bad command line
inline constexpr int kExitNoServer = 3;      // nothing answers at the server's address
inline constexpr int kExitRefused = 4;       // the server refused (HTTP status or ResultCode)
inline constexpr int kExitUnreadable = 5;    // the answer could not be read

struct QuoteOptions {
  bool json = false;
  bool colour = false;  // change marks in colour (standard output is a terminal)
};

struct QuoteCommand {
  const char* name;
  const char* usage;  // the arguments after the name
  const char* summary;
  int (*run)(const std::vector<std::string>& args, const QuoteOptions& options);
};

const std::vector<QuoteCommand>& QuoteCommands();

struct QuoteCommandRegistration {
  explicit QuoteCommandRegistration(const QuoteCommand& command);
};

}  // namespace brantel::quote_tool
