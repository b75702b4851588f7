// Builds request documents from arbitrary values and checks that no value
// changes the document's structure: the text always parses, holds exactly the
// groups and parameters that were added, and gives every value back.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "protocol/request_document.h"
#include "protocol/wire_text.h"

namespace {

// XML 1.0 cannot carry most control characters even escaped; the system only
// sends codes, digits and fixed texts, so such values are left out here.
brantel::WideText Printable(std::string_view bytes) {
  brantel::WideText out;
  for (char16_t c : brantel::Utf8ToUtf16(bytes))
    if (c >= 0x20 && c != 0xFFFE && c != 0xFFFF && (c < 0xD800 || c > 0xDFFF)) out += c;
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<brantel::WideText> values;
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  while (!rest.empty() && values.size() < 12) {
    const size_t cut = rest.find('\n');
    values.push_back(Printable(rest.substr(0, cut)));
    rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
  }
  values.resize(12);
  brantel::RequestDocument doc(u"1.0", values[0], u"L", values[1], u"WM6.1", values[2]);
  const int gubun = size ? int8_t(data[0]) : 0;
  const int group = doc.AddGroup(gubun);
  doc.AddParam(group, values[3], values[4], values[5], values[6]);
  doc.AddParam(group, values[7], values[8], values[9], values[10]);

  for (bool detail : {false, true}) {
    const std::string text = brantel::Utf16ToUtf8(detail ? doc.BuildDetailText() : doc.BuildInfoListText());
    pugi::xml_document parsed;
    if (!parsed.load_buffer(text.data(), text.size(), pugi::parse_default | pugi::parse_ws_pcdata_single, pugi::encoding_utf8)) std::abort();
    const pugi::xml_node header = parsed.child("SmartPhone").child("Header");
    if (brantel::Utf8ToUtf16(header.child_value("ServerDate")) != values[0]) std::abort();
    if (brantel::Utf8ToUtf16(header.child_value("Msisdn")) != values[1]) std::abort();
    const pugi::xml_node g = parsed.child("SmartPhone").child("Body").first_child();
    if (g.attribute("gubun").as_int() != gubun || g.next_sibling()) std::abort();
    size_t params = 0;
    for (pugi::xml_node p : g.children()) {
      const size_t base = 3 + 4 * params++;
      if (brantel::Utf8ToUtf16(p.attribute("key").value()) != values[base]) std::abort();
      if (brantel::Utf8ToUtf16(p.attribute("item").value()) != values[base + 2]) std::abort();
      if (detail && brantel::Utf8ToUtf16(p.attribute("period").value()) != values[base + 3]) std::abort();
    }
    if (params != 2) std::abort();
  }
  return 0;
}
