#include "protocol/response_body.h"

#include <cstring>
#include <vector>

#include "platform/folders.h"
#include "protocol/attachment_name.h"
#include "protocol/byte_search.h"
#include "protocol/wire_text.h"

namespace brantel {

namespace {

constexpr size_t kMaxBoundary = 199;
constexpr size_t kMaxTypeText = 259;
constexpr size_t kMaxFileNameBytes = 259;
constexpr size_t kMaxLengthText = 20;

// The bytes up to the first zero byte: what the header searches read.
std::string_view AsText(std::string_view bytes) {
  if (bytes.empty()) return bytes;
  const void* zero = std::memchr(bytes.data(), 0, bytes.size());
  return zero ? bytes.substr(0, size_t(static_cast<const char*>(zero) - bytes.data())) : bytes;
}

// Searches `bytes` as the zero-terminated text they start with: a match that
// a zero byte precedes does not count. Cheaper than cutting the text first,
// since the markers stand near the start of a large body.
size_t FindInText(std::string_view bytes, std::string_view needle, size_t from = 0) {
  const size_t at = FindBytes(bytes, needle, from);
  if (at == std::string_view::npos || std::memchr(bytes.data(), 0, at + needle.size())) return std::string_view::npos;
  return at;
}

// Up to `limit` bytes of `text` behind the first `marker`, cut at `stop`;
// empty when the marker does not occur.
std::string_view FieldBehind(std::string_view text, std::string_view marker, size_t limit, std::string_view stop) {
  const size_t at = FindBytes(text, marker);
  if (at == std::string_view::npos) return {};
  std::string_view field = text.substr(at + marker.size(), limit);
  const size_t cut = FindBytes(field, stop);
  return cut == std::string_view::npos ? field : field.substr(0, cut);
}

// The decimal number a header field holds; anything unreadable, negative or
// absent is 0.
size_t ParseLength(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i < text.size() && text[i] == '+') ++i;
  size_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (value > (SIZE_MAX - 9) / 10) return SIZE_MAX;  // larger than any body
    value = value * 10 + size_t(text[i] - '0');
  }
  return value;
}

// Whether `text` contains `tag`; searched from the end, where an answer's
// closing tag stands.
bool ContainsFromEnd(std::string_view text, std::string_view tag) {
  for (size_t end = text.size(); end >= tag.size();) {
    const void* gt = memrchr(text.data(), tag.back(), end);
    if (!gt) return false;
    end = size_t(static_cast<const char*>(gt) - text.data()) + 1;
    if (end >= tag.size() && text.substr(end - tag.size(), tag.size()) == tag) return true;
    --end;
  }
  return false;
}

std::unique_ptr<ResponseDocument> ReadXmlPart(std::string& copy, std::string_view bytes) {
  const size_t separator = FindInText(bytes, "\r\n\r\n");
  if (separator == std::string_view::npos) return nullptr;
  // The part already ends where the next delimiter begins. A zero byte in the
  // XML fails the plain check below, and the wire decoding stops at it.
  const std::string_view xml = bytes.substr(separator + 4);

  if (IsPlainUtf8(xml)) {
    // Wire decoding equals UTF-8 here: parse the bytes where they lie.
    const size_t start = FindBytes(xml, "<?xml");
    if (start == std::string_view::npos || !ContainsFromEnd(xml, "</SmartPhone>")) return nullptr;
    char* begin = copy.data() + (xml.data() - copy.data()) + start;  // same bytes, writable
    return ReadResponseXmlInPlace(begin, xml.size() - start);
  }
  const WideText wide = Utf8ToUtf16(xml);
  const size_t start = wide.find(u"<?xml");
  if (start == WideText::npos || wide.find(u"</SmartPhone>") == WideText::npos) return nullptr;
  return ReadResponseXml(WideView(wide).substr(start));
}

void StoreFilePart(std::string_view part, std::string_view text, std::string_view type,
                   const std::string& download_folder, ResponseDocument& response) {
  if (response.AttachmentCount() >= kMaxFilesPerAnswer) return;
  const std::string_view name_bytes = FieldBehind(text, "filename='", kMaxFileNameBytes, "'\r\n");
  WideText name = Utf8ToUtf16(name_bytes);
  if (name.empty()) name = Widen(AsText(name_bytes));
  name = SafeAttachmentName(name);

  const size_t declared = ParseLength(FieldBehind(text, "Content-Length:", kMaxLengthText, "\r\n"));
  const size_t separator = FindBytes(part, "\r\n\r\n");
  if (separator == std::string_view::npos) return;  // no data in this part
  std::string_view data = part.substr(separator + 4);
  data = data.substr(0, std::min(declared, data.size()));

  if (!CreateFoldersAlong(download_folder)) return;
  if (name.empty()) {
    // Two unnamed files of one answer must not share a name.
    for (int attempt = 0; attempt < 100; ++attempt) {
      name = GeneratedAttachmentName();
      const WideText candidate = Widen(JoinPath(download_folder, Narrow(name)));
      bool taken = false;
      for (const Attachment& a : response.attachments()) taken = taken || a.path == candidate;
      if (!taken) break;
    }
  }
  const std::string path = JoinPath(download_folder, Narrow(name));

  bool written;
  if (FindBytes(type, "text/plain") != std::string_view::npos) {
    written = WriteFileAtomically(path, Narrow(Utf8ToUtf16(data)));
  } else {
    written = WriteFileAtomically(path, data);
  }
  if (written) response.AddAttachment(Attachment{Widen(path), {}});
}

// Reads one part (without its leading delimiter). Returns the response object
// an XML part holds; a file part is stored into `found` and returns nullptr.
std::unique_ptr<ResponseDocument> ReadPart(std::string_view part,
                                           const std::string& download_folder, ResponseDocument* found) {
  if (part.empty()) return nullptr;
  // Our own copy: the XML is parsed in place inside it.
  std::string copy(part);
  const std::string_view bytes(copy);

  std::string_view type;
  const size_t at = FindInText(bytes, "Content-Type:");
  if (at != std::string_view::npos) type = AsText(bytes.substr(at, kMaxTypeText));

  if (FindBytes(type, "text/xml") != std::string_view::npos) return ReadXmlPart(copy, bytes);
  if (found) StoreFilePart(bytes, AsText(bytes), type, download_folder, *found);
  return nullptr;
}

}  // namespace

std::unique_ptr<ResponseDocument> ReadResponseBody(const std::string& download_folder, std::string_view body,
                                                   std::string_view boundary) {
  if (body.empty()) return nullptr;

  std::string_view found_boundary;
  if (!boundary.empty()) {
    found_boundary = boundary.substr(0, kMaxBoundary);
  } else {
    const size_t dashes = FindInText(body, "------");
    if (dashes == std::string_view::npos) return nullptr;
    const size_t start = dashes + 2;
    const size_t end = FindInText(body, "\r\n", start);
    if (end == std::string_view::npos) return nullptr;
    found_boundary = body.substr(start, std::min(end - start, kMaxBoundary));
  }
  if (found_boundary.empty()) return nullptr;

  std::string delimiter = "--";
  delimiter += found_boundary;
  if (body.size() == 1 || FindInText(body, delimiter) == std::string_view::npos) return nullptr;

  std::unique_ptr<ResponseDocument> response;
  size_t previous = std::string_view::npos;
  size_t offset = 0;
  while (offset + 1 < body.size()) {
    const size_t at = FindBytes(body, delimiter, offset);
    if (at == std::string_view::npos) break;
    if (previous != std::string_view::npos) {
      const size_t begin = previous + delimiter.size();
      if (auto part = ReadPart(body.substr(begin, at - begin), download_folder, response.get()))
        response = std::move(part);
    }
    previous = at;
    offset = at + delimiter.size();
  }
  return response;
}

}  // namespace brantel
