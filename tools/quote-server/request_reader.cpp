#include "tools/quote-server/request_reader.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include <pugixml.hpp>

namespace brantel::quote_server {

namespace {

// A value made only of spaces is a value: keep the whitespace text of an
// element that holds nothing else.
constexpr unsigned kRequestParseOptions = pugi::parse_default | pugi::parse_ws_pcdata_single;

int ReadGubun(const pugi::xml_node& node) {
  const pugi::xml_attribute a = node.attribute("gubun");
  if (!a) return -1;
  const char* text = a.value();
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || errno != 0 || v < INT_MIN || v > INT_MAX) return -1;
  return int(v);
}

}  // namespace

bool ReadQuoteRequest(std::string_view body, QuoteRequest& out, std::string& reason) {
  out = QuoteRequest{};
  pugi::xml_document doc;
  const pugi::xml_parse_result parsed = doc.load_buffer(body.data(), body.size(), kRequestParseOptions, pugi::encoding_utf8);
  if (!parsed) {
    reason = std::string("not a readable XML document: ") + parsed.description();
    return false;
  }
  const pugi::xml_node root = doc.document_element();
  if (std::strcmp(root.name(), "SmartPhone") != 0) {
    reason = "the document element is not SmartPhone";
    return false;
  }
  const pugi::xml_node header = root.child("Header");
  if (!header || header.next_sibling("Header")) {
    reason = "the request needs exactly one Header";
    return false;
  }
  out.layout = header.child_value("Layout");
  out.msisdn = header.child_value("Msisdn");
  out.os = header.child_value("Os");
  out.filler = header.child_value("Filler");
  out.version = header.child_value("Version");
  out.server_date = header.child_value("ServerDate");

  for (const pugi::xml_node& element : root.child("Body").children()) {
    const bool detail = std::strcmp(element.name(), "Detail") == 0;
    if (!detail && std::strcmp(element.name(), "InfoList") != 0) continue;
    if (out.groups.size() >= kMaxGroups) {
      reason = "too many groups in one request";
      return false;
    }
    RequestGroup group;
    group.detail = detail;
    group.gubun = ReadGubun(element);
    for (const pugi::xml_node& p : element.children("param")) {
      if (group.params.size() >= kMaxParamsPerGroup) {
        reason = "too many parameters in one group";
        return false;
      }
      group.params.push_back({p.attribute("key").value(), p.attribute("value").value(), p.attribute("item").value(),
                              p.attribute("period").value()});
    }
    out.groups.push_back(std::move(group));
  }
  return true;
}

}  // namespace brantel::quote_server
