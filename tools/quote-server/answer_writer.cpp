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

std::string CodeElement(const RowFields& row, const std::string* period) {
  std::string out = "<Code item=\"" + XmlEscape(row.item) + "\"";
  if (period) out += " period=\"" + XmlEscape(*period) + "\"";
  return out + ">" + XmlEscape(row.code) + "</Code>";
}

void AppendQuote(std::string& out, const RowFields& row) {
  AppendElement(out, "CodeName", row.name);
  AppendElement(out, "CurrentPrc", row.price);
  AppendElement(out, "Daebi", row.daebi);
  AppendElement(out, "Rate", row.rate);
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
  std::string out = "<InfoList gubun=\"" + std::to_string(row.gubun) + "\">";
  out += CodeElement(row, nullptr);
  AppendQuote(out, row);
  AppendElement(out, "Date", row.date);
  AppendElement(out, "Time", row.time);
  return out + "</InfoList>";
}

std::string DetailElement(const DetailFields& d) {
  std::string out = "<Detail gubun=\"" + std::to_string(d.row.gubun) + "\">";
  out += CodeElement(d.row, &d.period);
  AppendQuote(out, d.row);
  AppendElement(out, "High", d.high);
  AppendElement(out, "Low", d.low);
  AppendElement(out, "TradeAmt", d.trade_amount);
  AppendElement(out, "YesterdayPrc", d.yesterday_price);
  AppendElement(out, "OpenPrc", d.open_price);
  AppendElement(out, "High52", d.high52);
  AppendElement(out, "High52Date", d.high52_date);
  AppendElement(out, "Low52", d.low52);
  AppendElement(out, "Low52Date", d.low52_date);
  AppendElement(out, "Date", d.row.date);
  AppendElement(out, "Time", d.row.time);
  return out + "</Detail>";
}

std::string AnswerXml(const AnswerHeader& h, std::string_view body_elements) {
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<SmartPhone><Header>";
  AppendElement(out, "Layout", h.layout);
  AppendElement(out, "Msisdn", h.msisdn);
  AppendElement(out, "Os", h.os);
  AppendElement(out, "Filler", h.filler);
  AppendElement(out, "Version", h.version);
  AppendElement(out, "ServerDate", h.server_date);
  AppendElement(out, "ResultCode", h.result_code);
  AppendElement(out, "ResultDesc", h.result_desc);
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
