// brantel-reg: query, set, delete, export and import registry keys of the
// system's registry (registry.db in the data folder). "brantel-reg --help".

#include <iostream>
#include <string>
#include <vector>

#include "platform/registry/reg_command.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return brantel::RunRegCommand(args, std::cin, std::cout, std::cerr);
}
