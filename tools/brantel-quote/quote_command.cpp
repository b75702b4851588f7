#include "tools/brantel-quote/quote_command.h"

namespace brantel::quote_tool {

namespace {

std::vector<QuoteCommand>& Commands() {
  static std::vector<QuoteCommand> commands;
  return commands;
}

}  // namespace

const std::vector<QuoteCommand>& QuoteCommands() { return Commands(); }

QuoteCommandRegistration::QuoteCommandRegistration(const QuoteCommand& command) { Commands().push_back(command); }

}  // namespace brantel::quote_tool
