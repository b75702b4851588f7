// Registry scripts come from update packages and users: the reader must
// never crash, hang or allocate without bound, and every value it accepts
// must survive being written out and read again with the same type and bytes.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/registry/reg_file_parser.h"
#include "platform/registry/reg_file_writer.h"

namespace {

using namespace brantel;

class LastValue : public RegFileSink {
 public:
  std::string OnKey(RegRoot, std::string_view) override { return {}; }
  std::string OnDeleteKey(RegRoot, std::string_view) override { return {}; }
  std::string OnValue(std::string_view name, uint32_t type, std::string_view data) override {
    seen = true;
    this->name = name;
    this->type = type;
    this->data = data;
    return {};
  }
  std::string OnDeleteValue(std::string_view) override { return {}; }
  bool seen = false;
  std::string name;
  uint32_t type = 0;
  std::string data;
};

class RoundTrip : public RegFileSink {
 public:
  std::string OnKey(RegRoot, std::string_view) override { return {}; }
  std::string OnDeleteKey(RegRoot, std::string_view) override { return {}; }
  std::string OnValue(std::string_view name, uint32_t type, std::string_view data) override {
    if (name.find_first_of("\r\n") != std::string_view::npos) return {};  // cannot be exported
    const std::string script =
        "REGEDIT4\n[HKEY_CURRENT_USER\\x]\n" + FormatRegValueLine(name, type, data) + "\n";
    LastValue back;
    RegFileError error;
    if (!ParseRegText(script, back, &error) || !back.seen || back.name != name || back.type != type ||
        back.data != data)
      std::abort();
    return {};
  }
  std::string OnDeleteValue(std::string_view) override { return {}; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  RoundTrip sink;
  RegFileError error;
  ParseRegText(std::string_view(reinterpret_cast<const char*>(data), size), sink, &error);
  return 0;
}
