#pragma once
// Writes answers the way the viewer reads them: an XML response document
// (Header with ResultCode, ResultDesc and ServerDate; Body with InfoList and
// Detail elements) inside a multipart body, followed by any file parts.

#include <string>
#include <string_view>
#include <vector>

namespace brantel::quote_server {

// Every part starts with "--" and this boundary, which itself begins with
// four dashes: the viewer finds the boundary by looking for six dashes.
inline constexpr std::string_view kBoundary = "----BrantelQuoteServerPart7d3a9c";

struct AnswerHeader {
  std::string layout = "L", msisdn, os, filler, version = "1.0", server_date;
  std::string result_code = "1";
  std::string result_desc = "OK";
};

struct RowFields {
  int gubun = 0;
  std::string item, code, name, price, daebi, rate, date, time;
};

struct DetailFields {
  RowFields row;
  std::string period, high, low, trade_amount, yesterday_price, open_price;
  std::string high52, high52_date, low52, low52_date;
};

struct AnswerFile {
  std::string name;          // sent as filename='NAME'; letters, digits, '_', '.', '@', '-'
  std::string content_type;  // "image/png", "text/plain; charset=UTF-8"
  std::string bytes;
};

std::string XmlEscape(std::string_view text);

// <InfoList gubun="N"><Code item="…">…</Code>…</InfoList>
std::string RowElement(const RowFields& row);
// <Detail gubun="N"><Code item="…" period="…">…</Code>…</Detail>
std::string DetailElement(const DetailFields& detail);

std::string AnswerXml(const AnswerHeader& header, std::string_view body_elements);

// The whole HTTP body: the XML part, then each file part, then the closing
// delimiter.
std::string MultipartBody(std::string_view xml, const std::vector<AnswerFile>& files);
std::string MultipartContentType();

}  // namespace brantel::quote_server
