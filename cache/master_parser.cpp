#include "cache/master_parser.h"

#include <sys/stat.h>

#include <cstdio>
#include <memory>

#include "platform/debug.h"

namespace brantel {

namespace {

// The fields of a piece, split as the standard wide-string tokenizer does:
// leading separators are skipped and consecutive ones count as one.
size_t SplitFields(WideView piece, WideView* fields, size_t max_fields) {
  size_t count = 0;
  size_t pos = 0;
  while (count < max_fields) {
    while (pos < piece.size() && piece[pos] == u'|') ++pos;
    if (pos >= piece.size()) break;
    size_t end = piece.find(u'|', pos);
    if (end == WideView::npos) end = piece.size();
    fields[count++] = piece.substr(pos, end - pos);
    pos = end;
  }
  return count;
}

inline char16_t Fold(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
  return FoldCase(c);
}

// Whether `entry_text` cut to `length` characters equals `text` ignoring case.
inline bool CutEqualsNoCase(const WideText& entry_text, WideView text, size_t length) {
  size_t cut = entry_text.size() < length ? entry_text.size() : length;
  if (cut != text.size()) return false;
  for (size_t i = 0; i < cut; ++i)
    if (entry_text[i] != text[i] && Fold(entry_text[i]) != Fold(text[i])) return false;
  return true;
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

bool CParseMaster::Parse(const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  struct stat st {};
  if (!file || fstat(fileno(file.get()), &st) != 0 || !S_ISREG(st.st_mode)) {
    DebugOutput(WideView(u"<<CParseMaster::Parse>> 파일 open 실패\r\n"));
    return false;
  }
  if (size_t(st.st_size) > kMaxMasterFileBytes) {
    DebugOutput(std::string_view("<<CParseMaster::Parse>> master file too large, refused\r\n"));
    return false;
  }
  std::string bytes(size_t(st.st_size), '\0');
  size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
  bytes.resize(got);
  ParseText(bytes);
  return true;
}

void CParseMaster::ParseText(std::string_view bytes) {
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find('\n', pos);
    size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
    // Read as text: a CR before the LF is dropped, the LF stays with the line.
    std::string line(bytes.substr(pos, next - pos));
    if (line.size() >= 2 && line[line.size() - 1] == '\n' && line[line.size() - 2] == '\r')
      line.erase(line.size() - 2, 1);
    WideText wide = Widen(line);
    // A long line is taken in pieces of 1023 characters, each piece a line.
    for (size_t at = 0; at < wide.size(); at += kMasterPieceChars)
      AddPiece(WideView(wide).substr(at, kMasterPieceChars));
    pos = next;
  }
}

void CParseMaster::AddPiece(WideView piece) {
  if (piece.size() <= 2) return;
  WideView fields[3];
  size_t count = SplitFields(piece, fields, 3);
  if (count < 2) return;
  MasterEntry entry;
  entry.code = WideText(fields[0]);
  entry.name = WideText(fields[1]);
  entry.market = 1;
  if (count >= 3 && (fields[2].starts_with(u"KOSPI") || fields[2].starts_with(u"KOSDAQ"))) entry.market = 0;
  first_chars_.push_back({Fold(entry.code[0]), Fold(entry.name[0])});
  entries_.push_back(std::move(entry));
}

int CParseMaster::FindByPrefix(WideView text, size_t length) {
  results_.clear();
  if (text.empty() || length == 0) {
    // An empty cut equals only an empty text; then every entry matches.
    if (text.empty() && length == 0)
      for (size_t i = 0; i < entries_.size() && results_.size() < size_t(kMaxMasterResults); ++i)
        results_.push_back(&entries_[i]);
    return int(results_.size());
  }
  const char16_t first = Fold(text[0]);
  for (size_t i = 0; i < first_chars_.size(); ++i) {
    const FirstChars keys = first_chars_[i];
    if (keys.code != first && keys.name != first) continue;
    const MasterEntry& entry = entries_[i];
    if (CutEqualsNoCase(entry.code, text, length) || CutEqualsNoCase(entry.name, text, length)) {
      results_.push_back(&entry);
      if (int(results_.size()) >= kMaxMasterResults) break;
    }
  }
  return int(results_.size());
}

const MasterEntry* CParseMaster::GetResult(int index) const {
  if (index < 0 || size_t(index) >= results_.size()) return nullptr;
  return results_[size_t(index)];
}

int CParseMaster::LookupMarket(WideView code) const {
  for (const MasterEntry& entry : entries_)
    if (entry.code == code) return entry.market;
  return -1;
}

CParseMaster& GetMasterParser() {
  static CParseMaster parser;
  return parser;
}

}  // namespace brantel
