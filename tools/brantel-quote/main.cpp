// brantel-quote: market quotes from the information server in a terminal.
//   brantel-quote [--server HOST:PORT] [--json] COMMAND [ARGS...]

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/brantel-quote/quote_command.h"
#include "tools/brantel-quote/server_setup.h"

using namespace brantel::quote_tool;

namespace {

void PrintUsage(FILE* to) {
  std::fprintf(to,
               "usage: brantel-quote [--server HOST:PORT] [--json] COMMAND [ARGS...]\n\n"
               "The server is taken from Config_MNUV.txt beside the program unless --server names one.\n\n"
               "commands:\n");
  for (const QuoteCommand& c : QuoteCommands()) std::fprintf(to, "  %s %s\n      %s\n", c.name, c.usage, c.summary);
  std::fprintf(to,
               "\nexit codes: 0 done, 1 failed, 2 bad command line, 3 no server, 4 refused by the server,\n"
               "            5 unreadable answer\n");
}

}  // namespace

int main(int argc, char** argv) {
  QuoteOptions options;
  options.colour = isatty(STDOUT_FILENO) != 0;
  std::string server;
  std::vector<std::string> rest;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--json") {
      options.json = true;
    } else if (arg == "--server" && i + 1 < argc) {
      server = argv[++i];
    } else if (arg.rfind("--server=", 0) == 0) {
      server = arg.substr(9);
    } else if (arg == "--help" || arg == "-h") {
      PrintUsage(stdout);
      return kExitOk;
    } else {
      rest.push_back(arg);
    }
  }
  if (rest.empty()) {
    PrintUsage(stderr);
    return kExitUsage;
  }
  std::string error;
  if (!ConfigureServer(server, error)) {
    std::fprintf(stderr, "brantel-quote: %s\n", error.c_str());
    return kExitUsage;
  }
  for (const QuoteCommand& c : QuoteCommands()) {
    if (rest[0] == c.name) return c.run(std::vector<std::string>(rest.begin() + 1, rest.end()), options);
  }
  std::fprintf(stderr, "brantel-quote: unknown command %s\n\n", rest[0].c_str());
  PrintUsage(stderr);
  return kExitUsage;
}
