#include "protocol/request_document.h"

#include <string>

namespace brantel {

RequestDocument::RequestDocument(WideText version, WideText server_date, WideText layout, WideText msisdn,
                                 WideText os, WideText filler)
    : version_(std::move(version)),
      server_date_(std::move(server_date)),
      layout_(std::move(layout)),
      msisdn_(std::move(msisdn)),
      os_(std::move(os)),
      filler_(std::move(filler)) {}

int RequestDocument::AddGroup(int32_t gubun) {
  groups_.push_back(RequestGroup{gubun, {}});
  return int(groups_.size()) - 1;
}

bool RequestDocument::AddParam(int group, WideView key, WideView value, WideView item, WideView period) {
  if (group < 0 || size_t(group) >= groups_.size()) return false;
  groups_[size_t(group)].params.push_back(
      RequestParam{WideText(key), WideText(value), WideText(item), WideText(period)});
  return true;
}

void AppendXmlEscaped(WideText& out, WideView text) {
  for (char16_t c : text) {
    switch (c) {
      case u'&': out += u"&amp;"; break;
      case u'<': out += u"&lt;"; break;
      case u'>': out += u"&gt;"; break;
      case u'"': out += u"&quot;"; break;
      case u'\'': out += u"&apos;"; break;
      default: out += c;
    }
  }
}

namespace {

void AppendElement(WideText& out, WideView name, WideView value) {
  out += u'<';
  out += name;
  out += u'>';
  AppendXmlEscaped(out, value);
  out += u"</";
  out += name;
  out += u'>';
}

void AppendAttribute(WideText& out, WideView name, WideView value) {
  if (value.empty()) return;
  out += name;
  out += u"=\"";
  AppendXmlEscaped(out, value);
  out += u"\" ";
}

void AppendNumber(WideText& out, int32_t n) {
  for (char c : std::to_string(n)) out += char16_t(c);
}

}  // namespace

WideText RequestDocument::BuildText(WideView element, bool with_period) const {
  WideText out = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?><SmartPhone><Header>";
  AppendElement(out, u"Layout", layout_);
  AppendElement(out, u"Msisdn", msisdn_);
  AppendElement(out, u"Os", os_);
  AppendElement(out, u"Filler", filler_);
  AppendElement(out, u"Version", version_);
  AppendElement(out, u"ServerDate", server_date_);
  out += u" </Header>";
  out += u" <Body> ";
  for (const RequestGroup& group : groups_) {
    out += u'<';
    out += element;
    out += u" gubun=\"";
    AppendNumber(out, group.gubun);
    out += u"\">";
    for (const RequestParam& p : group.params) {
      out += u" <param ";
      AppendAttribute(out, u"key", p.key);
      AppendAttribute(out, u"value", p.value);
      AppendAttribute(out, u"item", p.item);
      if (with_period) AppendAttribute(out, u"period", p.period);
      out += u"/>";
    }
    out += u" </";
    out += element;
    out += u"> ";
  }
  out += u" </Body> ";
  out += u" </SmartPhone>";
  return out;
}

WideText RequestDocument::BuildInfoListText() const { return BuildText(u"InfoList", false); }

WideText RequestDocument::BuildDetailText() const { return BuildText(u"Detail", true); }

}  // namespace brantel
