#include "tools/quote-server/answer_writer.h"

namespace brantel::quote_server {

namespace {

void AppendElement(std::string& out, const char* name, std::string_view text) {
  out += '<';
  out += name;
  out += '>';
  out += XmlEscape(text);
  out += "</";
  out += name;
  out += '>';
}

// A text field and the element it is written as.
template <typename Fields>
struct NamedField {
  const char* name;
  std::string Fields::*member;
};

template <typename Fields, size_t N>
void AppendElements(std::string& out, const Fields& fields, const NamedField<Fields> (&elements)[N]) {
  for (const NamedField<Fields>& e : elements) AppendElement(out, e.name, fields.*e.member);
}

constexpr NamedField<RowFields> kQuoteElements[] = {
    {"CodeName", &RowFields::name}, {"CurrentPrc", &RowFields::price},
    {"Daebi", &RowFields::daebi},   {"Rate", &RowFields::rate},
};

constexpr NamedField<RowFields> kWhenElements[] = {{"Date", &RowFields::date}, {"Time", &RowFields::time}};

constexpr NamedField<DetailFields> kDetailElements[] = {
    {"High", &DetailFields::high},
    {"Low", &DetailFields::low},
    {"TradeAmt", &DetailFields::trade_amount},
    {"YesterdayPrc", &DetailFields::yesterday_price},
    {"OpenPrc", &DetailFields::open_price},
    {"High52", &DetailFields::high52},
    {"High52Date", &DetailFields::high52_date},
    {"Low52", &DetailFields::low52},
    {"Low52Date", &DetailFields::low52_date},
};

constexpr NamedField<AnswerHeader> kHeaderElements[] = {
    {"Layout", &AnswerHeader::layout},         {"Msisdn", &AnswerHeader::msisdn},
    {"Os", &AnswerHeader::os},                 {"Filler", &AnswerHeader::filler},
    {"Version", &AnswerHeader::version},       {"ServerDate", &AnswerHeader::server_date},
    {"ResultCode", &AnswerHeader::result_code}, {"ResultDesc", &AnswerHeader::result_desc},
};

// The opening tag of a record element and its Code, then the quote fields.
std::string OpenRecord(const char* tag, const RowFields& row, const std::string* period) {
  // Appended piece by piece: "literal" + std::string trips -Wrestrict at -O3.
  std::string out = "<";
  out.append(tag).append(" gubun=\"").append(std::to_string(row.gubun)).append("\">");
  out.append("<Code item=\"").append(XmlEscape(row.item)).append("\"");
  if (period) out.append(" period=\"").append(XmlEscape(*period)).append("\"");
  out.append(">").append(XmlEscape(row.code)).append("</Code>");
  AppendElements(out, row, kQuoteElements);
  return out;
}

}  // namespace

std::string XmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string RowElement(const RowFields& row) {
  std::string out = OpenRecord("InfoList", row, nullptr);
  AppendElements(out, row, kWhenElements);
  return out + "</InfoList>";
}

std::string DetailElement(const DetailFields& d) {
  std::string out = OpenRecord("Detail", d.row, &d.period);
  AppendElements(out, d, kDetailElements);
  AppendElements(out, d.row, kWhenElements);
  return out + "</Detail>";
}

std::string AnswerXml(const AnswerHeader& h, std::string_view body_elements) {
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<SmartPhone><Header>";
  AppendElements(out, h, kHeaderElements);
  out += "</Header><Body>";
  out += body_elements;
  out += "</Body></SmartPhone>";
  return out;
}

std::string MultipartBody(std::string_view xml, const std::vector<AnswerFile>& files) {
  const std::string delimiter = "--" + std::string(kBoundary);
  std::string out;
  size_t size = xml.size() + 256;
  for (const AnswerFile& f : files) size += f.bytes.size() + 256;
  out.reserve(size);
  out += delimiter + "\r\nContent-Type: text/xml; charset=UTF-8\r\n\r\n";
  out += xml;
  out += "\r\n";
  for (const AnswerFile& f : files) {
    // The file name line must end right after the closing quote: the reader
    // cuts the name at the quote that is followed by the line end.
    out += delimiter + "\r\nContent-Type: " + f.content_type + "\r\n";
    out += "Content-Disposition: attachment; filename='" + f.name + "'\r\n";
    out += "Content-Length: " + std::to_string(f.bytes.size()) + "\r\n\r\n";
    out += f.bytes;
    out += "\r\n";
  }
  out += delimiter + "--\r\n";
  return out;
}

std::string MultipartContentType() { return "multipart/mixed; boundary=" + std::string(kBoundary); }

}  // namespace brantel::quote_server
