#include "protocol/response_document.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <type_traits>

#include "platform/debug.h"
#include "platform/memory_release.h"
#include "protocol/answer_limits.h"
#include "protocol/byte_search.h"
#include "protocol/wire_text.h"

namespace brantel {

namespace {

using Name = std::string_view;

// The element name without a namespace prefix, compared exactly. Text nodes
// have an empty name and so match no field.
Name LocalName(const pugi::xml_node& node) {
  Name name = node.name();
  const size_t colon = name.rfind(':');
  return colon == Name::npos ? name : name.substr(colon + 1);
}

// Decodes one field by the wire rules. The parsed buffer holds only wire
// sequences of up to three bytes, so a four-byte sequence can only come from
// a character reference the parser expanded; it becomes its surrogate pair,
// as a DOM working on wide text would give it.
// An answer with more rows than a screen may hold keeps its first rows; the
// log says so.
void NoteRowsDropped() {
  DebugOutput(FormatText(u"answer: more than %u rows, the first %u kept\n", unsigned(kMaxAnswerRows),
                         unsigned(kMaxAnswerRows)));
}

// A field keeps at most kMaxFieldChars units; no wire sequence is longer
// than four bytes, so that many units never need more bytes than this.
constexpr size_t kMaxFieldBytes = kMaxFieldChars * 4;

void DecodeField(const char* s, WideText& out) {
  const auto* p = reinterpret_cast<const uint8_t*>(s);
  const auto* end = p + strnlen(s, kMaxFieldBytes);
  // Most fields are short ASCII: widen them in one pass.
  const uint8_t* ascii = p;
  while (ascii < end && *ascii < 0x80) ++ascii;
  const size_t ascii_size = std::min(size_t(ascii - p), kMaxFieldChars);
  out.resize(ascii_size);
  char16_t* w = out.data();
  for (size_t i = 0; i < ascii_size; ++i) w[i] = p[i];
  if (ascii == end || ascii_size == kMaxFieldChars) return;
  p = ascii;
  while (p < end && out.size() < kMaxFieldChars) {
    const uint8_t b = *p;
    if (b >= 0xF0 && b <= 0xF4 && end - p >= 4 && (p[1] & 0xC0) == 0x80 && (p[2] & 0xC0) == 0x80 &&
        (p[3] & 0xC0) == 0x80) {
      uint32_t cp = (uint32_t(b & 0x07) << 18) | (uint32_t(p[1] & 0x3F) << 12) | (uint32_t(p[2] & 0x3F) << 6) |
                    uint32_t(p[3] & 0x3F);
      p += 4;
      if (cp >= 0x10000 && cp <= 0x10FFFF) {
        cp -= 0x10000;
        out += char16_t(0xD800 + (cp >> 10));
        out += char16_t(0xDC00 + (cp & 0x3FF));
      } else {
        out += char16_t(0xFFFD);
      }
      continue;
    }
    ++p;
    if (b < 0x80) {
      out += char16_t(b);
      continue;
    }
    const uint8_t n1 = p < end ? *p++ : 0;
    if (b < 0xE0) {
      out += char16_t(((b & 0x1F) << 6) | (n1 & 0x3F));
      continue;
    }
    const uint8_t n2 = p < end ? *p++ : 0;
    out += char16_t(((b & 0x0F) << 12) | ((n1 & 0x3F) << 6) | (n2 & 0x3F));
  }
  if (out.size() > kMaxFieldChars) out.resize(kMaxFieldChars - ((out[kMaxFieldChars - 1] & 0xFC00) == 0xD800 ? 1 : 0));
}

// The text of a node: its own value for text nodes, else every text below it
// in document order.
void AppendNodeText(const pugi::xml_node& node, std::string& out) {
  for (pugi::xml_node child = node.first_child(); child && out.size() < kMaxFieldBytes; child = child.next_sibling()) {
    const pugi::xml_node_type type = child.type();
    if (type == pugi::node_pcdata || type == pugi::node_cdata) out += child.value();
    else if (type == pugi::node_element) AppendNodeText(child, out);
  }
}

void ReadNodeText(const pugi::xml_node& node, WideText& out) {
  const pugi::xml_node first = node.first_child();
  if (!first) return out.clear();
  // Nearly every field holds exactly one text node. An element or an empty
  // value there takes the general road below.
  if (!first.next_sibling()) {
    const char* value = first.value();
    if (*value) return DecodeField(value, out);
  }
  std::string text;
  AppendNodeText(node, text);
  DecodeField(text.c_str(), out);
}

// Descendants of `root` (not `root` itself) named exactly `name`: how many
// (counting stops at `limit`), and the first of them.
size_t FindDescendants(const pugi::xml_node& root, const char* name, pugi::xml_node* first, size_t limit) {
  size_t count = 0;
  pugi::xml_node node = root.first_child();
  while (node) {
    if (std::strcmp(node.name(), name) == 0) {
      if (count++ == 0 && first) *first = node;
      if (count >= limit) break;
    }
    if (pugi::xml_node child = node.first_child()) {
      node = child;
      continue;
    }
    while (node && node != root && !node.next_sibling()) node = node.parent();
    if (!node || node == root) break;
    node = node.next_sibling();
  }
  return count;
}

// Element names never come from entities, so a name that occurs at most once
// as "<name" in the raw text names at most one element, and the search may
// stop at the first; otherwise the whole tree is walked.
size_t SearchLimit(std::string_view raw, std::string_view open_tag) {
  const size_t first = FindBytes(raw, open_tag);
  if (first == std::string_view::npos) return 1;
  return FindBytes(raw, open_tag, first + 1) == std::string_view::npos ? 1 : 2;
}

int32_t CategoryOf(const pugi::xml_node& node) {
  return CategoryFromText(node.attribute("gubun").value());
}

// A text field of a record and the element name it is read from.
template <typename Record>
struct NamedField {
  Name name;
  WideText Record::*member;
};

constexpr NamedField<ResponseHeader> kHeaderFields[] = {
    {"Layout", &ResponseHeader::layout},         {"Msisdn", &ResponseHeader::msisdn},
    {"Os", &ResponseHeader::os},                 {"Filler", &ResponseHeader::filler},
    {"Version", &ResponseHeader::version},       {"ServerDate", &ResponseHeader::server_date},
    {"ResultCode", &ResponseHeader::result_code}, {"ResultDesc", &ResponseHeader::result_desc},
};

// Code (with its attributes) is read apart from these.
constexpr NamedField<StockRecord> kStockFields[] = {
    {"CodeName", &StockRecord::codename}, {"CurrentPrc", &StockRecord::current_price},
    {"Daebi", &StockRecord::daebi},       {"Rate", &StockRecord::rate},
    {"Date", &StockRecord::date},         {"Time", &StockRecord::time},
};

constexpr NamedField<StockDetailRecord> kDetailFields[] = {
    {"CodeName", &StockDetailRecord::codename},
    {"CurrentPrc", &StockDetailRecord::current_price},
    {"Daebi", &StockDetailRecord::daebi},
    {"Rate", &StockDetailRecord::rate},
    {"High", &StockDetailRecord::high},
    {"Low", &StockDetailRecord::low},
    {"TradeAmt", &StockDetailRecord::trade_amount},
    {"YesterdayPrc", &StockDetailRecord::yesterday_price},
    {"OpenPrc", &StockDetailRecord::open_price},
    {"High52", &StockDetailRecord::high52},
    {"Low52", &StockDetailRecord::low52},
    {"High52Date", &StockDetailRecord::high52_date},
    {"Low52Date", &StockDetailRecord::low52_date},
    {"Date", &StockDetailRecord::date},
    {"Time", &StockDetailRecord::time},
};

// The field of `record` that `name` (narrow or wide, compared exactly)
// selects; nullptr for any other name.
template <typename Record, size_t N, typename NameText>
auto FieldNamed(Record& record, const NamedField<std::remove_const_t<Record>> (&fields)[N], NameText name)
    -> decltype(&(record.*fields[0].member)) {
  for (const auto& field : fields)
    if (std::ranges::equal(field.name, name)) return &(record.*field.member);
  return nullptr;
}

// A quote record (InfoList or Detail element); a Detail's Code also carries
// the period.
template <typename Record, size_t N>
Record ReadQuoteRecord(const pugi::xml_node& element, const NamedField<Record> (&fields)[N]) {
  Record r;
  r.gubun = CategoryOf(element);
  for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
    const Name name = LocalName(child);
    if (name == "Code") {
      ReadNodeText(child, r.code);
      DecodeField(child.attribute("item").value(), r.item);
      if constexpr (requires { r.period; }) DecodeField(child.attribute("period").value(), r.period);
      continue;
    }
    if (WideText* field = FieldNamed(r, fields, name)) ReadNodeText(child, *field);
  }
  return r;
}

StockRecord ReadStockRecord(const pugi::xml_node& element) { return ReadQuoteRecord(element, kStockFields); }

StockDetailRecord ReadStockDetailRecord(const pugi::xml_node& element) {
  return ReadQuoteRecord(element, kDetailFields);
}

std::unique_ptr<ResponseDocument> ReadLoadedDocument(const pugi::xml_document& doc, size_t header_limit,
                                                      size_t body_limit) {
  const pugi::xml_node root = doc.document_element();
  if (!root) return nullptr;
  pugi::xml_node header_node;
  if (FindDescendants(root, "Header", &header_node, header_limit) != 1) return nullptr;

  ResponseHeader header;
  for (pugi::xml_node child = header_node.first_child(); child; child = child.next_sibling()) {
    if (child.type() != pugi::node_element) continue;
    if (WideText* field = FieldNamed(header, kHeaderFields, LocalName(child))) ReadNodeText(child, *field);
  }

  std::unique_ptr<ResponseDocument> response;
  if (header.layout == u"D") response = std::make_unique<DetailResponse>();
  else response = std::make_unique<ListResponse>();
  response->set_header(std::move(header));
  response->set_body_search_limit(body_limit);
  // A body that cannot be read leaves the answer without items; the header
  // still tells the caller what happened.
  response->ReadBody(root);
  return response;
}

constexpr unsigned kParseOptions = pugi::parse_default;
constexpr size_t kTrimAfterAnswerBytes = size_t(4) << 20;

}  // namespace

const WideText* ResponseDocument::HeaderText(WideView name) const {
  return FieldNamed(header_, kHeaderFields, name);
}

bool ResponseDocument::FindSingleBody(const pugi::xml_node& document_element, pugi::xml_node& body) const {
  return FindDescendants(document_element, "Body", &body, body_search_limit_) == 1;
}

bool ListResponse::ReadBody(const pugi::xml_node& document_element) {
  pugi::xml_node body;
  if (!FindSingleBody(document_element, body)) return false;
  size_t count = 0;
  for (pugi::xml_node child = body.first_child(); child; child = child.next_sibling()) ++count;
  items_.reserve(items_.size() + std::min(count, kMaxAnswerRows));
  pugi::xml_node child = body.first_child();
  for (; child && items_.size() < kMaxAnswerRows; child = child.next_sibling()) items_.push_back(ReadStockRecord(child));
  if (child) NoteRowsDropped();
  return true;
}

bool DetailResponse::ReadBody(const pugi::xml_node& document_element) {
  pugi::xml_node body;
  if (!FindSingleBody(document_element, body)) return false;
  bool dropped = false;
  for (pugi::xml_node child = body.first_child(); child; child = child.next_sibling()) {
    if (child.type() != pugi::node_element) continue;
    const Name name = child.name();
    if (name == "Detail" && items_.size() < kMaxAnswerRows) items_.push_back(ReadStockDetailRecord(child));
    else if (name == "InfoList" && related_.size() < kMaxAnswerRows) related_.push_back(ReadStockRecord(child));
    else if (name == "Detail" || name == "InfoList") dropped = true;
  }
  if (dropped) NoteRowsDropped();
  return true;
}

int32_t CategoryFromText(std::string_view text) {
  if (text.size() == 1 && text[0] >= '0' && text[0] <= '5') return text[0] - '0';
  return 0;
}

bool IsPlainUtf8(std::string_view bytes) {
  const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
  const auto* end = p + bytes.size();
  while (p < end) {
    // Skip ASCII eight bytes at a time.
    while (end - p >= 8) {
      uint64_t word;
      std::memcpy(&word, p, 8);
      if (word & 0x8080808080808080ull) break;
      // A zero byte inside the word ends the document text early.
      if ((word - 0x0101010101010101ull) & ~word & 0x8080808080808080ull) return false;
      p += 8;
    }
    if (p >= end) break;
    const uint8_t b = *p;
    if (b < 0x80) {
      if (b == 0) return false;
      ++p;
      continue;
    }
    if (b >= 0xC2 && b <= 0xDF) {
      if (end - p < 2 || (p[1] & 0xC0) != 0x80) return false;
      p += 2;
      continue;
    }
    if (b >= 0xE0 && b <= 0xEF) {
      if (end - p < 3 || (p[1] & 0xC0) != 0x80 || (p[2] & 0xC0) != 0x80) return false;
      if (b == 0xE0 && p[1] < 0xA0) return false;  // overlong
      p += 3;
      continue;
    }
    return false;
  }
  return true;
}

std::unique_ptr<ResponseDocument> ReadResponseXmlInPlace(char* xml, size_t size) {
  const std::string_view raw(xml, size);
  const size_t header_limit = SearchLimit(raw, "<Header");
  const size_t body_limit = SearchLimit(raw, "<Body");
  std::unique_ptr<ResponseDocument> response;
  {
    pugi::xml_document doc;
    if (doc.load_buffer_inplace(xml, size, kParseOptions, pugi::encoding_utf8))
      response = ReadLoadedDocument(doc, header_limit, body_limit);
  }
  // The tree of a large answer lay in many small pieces of the heap; give
  // them back, so one hostile answer does not keep the viewer large.
  if (size >= kTrimAfterAnswerBytes) ReturnFreedMemory();
  return response;
}

std::unique_ptr<ResponseDocument> ReadResponseXml(WideView xml) {
  // The parser works on bytes; the wire encoding of each unit decodes back to
  // exactly the same unit when the fields are read.
  std::string bytes = Utf16ToUtf8(xml);
  return ReadResponseXmlInPlace(bytes.data(), bytes.size());
}

}  // namespace brantel
