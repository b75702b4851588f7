#include "updater/manifest.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <pugixml.hpp>

#include "platform/folders.h"

namespace brantel {

namespace lim = manifest_limits;

namespace {

WideText Attr(const pugi::xml_node& node, const char* name, size_t limit) {
  return KeepLength(Widen(node.attribute(name).value()), limit);
}

bool Flag(const pugi::xml_node& node, const char* name) { return ReadManifestFlag(Widen(node.attribute(name).value())); }

long Number(const pugi::xml_node& node, const char* name) {
  return long(ReadManifestNumber(Widen(node.attribute(name).value())));
}

// Lower-cases ASCII letters (the option switches are ASCII).
WideText LowerAscii(WideText text) {
  for (char16_t& c : text)
    if (c >= u'A' && c <= u'Z') c = char16_t(c + 32);
  return text;
}

void ReadHead(const pugi::xml_node& head, ManifestHead& out) {
  out.client_type = Attr(head, "client_type", lim::kClientType);
  out.update_date = Attr(head, "update_date", lim::kUpdateDate);
  out.wmail_ver = Attr(head, "wmail_ver", lim::kWmailVer);
  out.update_option = LowerAscii(Attr(head, "update_option", lim::kUpdateOption));
  out.kill_process = Attr(head, "kill_process", lim::kKillProcess);
  out.alert = Attr(head, "alert", lim::kAlert);
}

UpdateFileEntry ReadUpdateFile(const pugi::xml_node& node) {
  UpdateFileEntry e;
  e.name = Attr(node, "name", lim::kEntryName);
  const pugi::xml_node info = node.child("file_Info");
  e.real_name = Attr(info, "real_name", lim::kRealName);
  e.down_url = Attr(info, "down_url", lim::kPath);
  e.local_path = Attr(info, "local_path", lim::kPath);
  e.file_size = ReadManifestFileSize(Widen(info.attribute("file_size").value()));
  e.file_version = Number(info, "file_version");
  e.update_date = Attr(info, "update_date", lim::kFileDate);
  e.is_auto_register = Flag(info, "is_auto_register");
  e.is_auto_exec = Flag(info, "is_auto_exec");
  e.is_setup_file = Flag(info, "is_setup_file");
  e.is_self_update = Flag(info, "is_self_update");
  e.is_reg_file = Flag(info, "is_reg_file");
  e.sha256 = Attr(info, "sha256", 64);
  const pugi::xml_node kill = node.child("process_kill");
  e.is_kill = Flag(kill, "is_kill");
  e.wnd_class = Attr(kill, "wnd_class", lim::kWindowText);
  e.wnd_name = Attr(kill, "wnd_name", lim::kWindowText);
  e.close_msg = uint32_t(Number(kill, "close_msg"));
  e.exec_path = Attr(kill, "exec_path", lim::kPath);
  e.exec_parameter = Attr(kill, "exec_parameter", lim::kPath);
  return e;
}

RegEdit ReadRegEdit(const pugi::xml_node& node) {
  RegEdit r;
  r.reg_edit_type = Number(node, "reg_edit_type");
  r.hkey = Number(node, "hKey");
  r.is_key = Flag(node, "is_key");
  r.key = Attr(node, "key", lim::kRegKey);
  r.value_name = Attr(node, "value_name", lim::kRegValueName);
  r.value_type = Number(node, "value_type");
  r.value = Attr(node, "value", lim::kRegValue);
  r.update_date = Attr(node, "update_date", lim::kEditDate);
  r.process_kill = Flag(node, "process_kill");
  return r;
}

FileEdit ReadFileEdit(const pugi::xml_node& node) {
  FileEdit f;
  f.file_edit_type = Number(node, "file_edit_type");
  f.path_1 = Attr(node, "path_1", lim::kPath);
  f.path_2 = Attr(node, "path_2", lim::kPath);
  f.update_date = Attr(node, "update_date", lim::kEditDate);
  f.process_kill = Flag(node, "process_kill");
  return f;
}

void FillError(std::string_view text, const pugi::xml_parse_result& result, ManifestLoadError* error) {
  if (!error) return;
  error->code = int(result.status);
  error->reason = result.description();
  const size_t offset = result.offset < 0 ? 0 : std::min(size_t(result.offset), text.size());
  error->line = 1;
  size_t line_start = 0;
  for (size_t i = 0; i < offset; ++i)
    if (text[i] == '\n') {
      ++error->line;
      line_start = i + 1;
    }
  error->position = long(offset - line_start) + 1;
}

}  // namespace

WideText KeepLength(WideView text, size_t limit) {
  if (text.size() <= limit) return WideText(text);
  size_t n = limit;
  if (n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;  // keep pairs whole
  return WideText(text.substr(0, n));
}

bool ReadManifestFlag(WideView value) { return value.size() == 1 && (value[0] == u'Y' || value[0] == u'y'); }

int64_t ReadManifestNumber(WideView value) { return ParseLeadingLong(value, 10); }

int64_t ReadManifestFileSize(WideView value) {
  WideText digits;
  for (char16_t c : value)
    if (c != u',' && c != u' ') digits += c;
  return ParseLeadingLong(digits, 10);
}

int LoadManifestBytes(std::string_view bytes, bool take_reg_edits, bool take_file_edits, Manifest& out,
                      ManifestLoadError* error) {
  out = Manifest{};
  if (bytes.empty()) return kManifestEmpty;
  if (bytes.size() > lim::kFileBytes) return kManifestTooLarge;
  // Decode from the device code page: invalid bytes become U+FFFD, so the
  // parser and every attribute see well-formed text.
  const std::string text = Narrow(Widen(bytes));
  pugi::xml_document doc;
  const pugi::xml_parse_result parsed = doc.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
  if (!parsed) {
    FillError(text, parsed, error);
    return kManifestXmlError;
  }
  const pugi::xml_node root = doc.document_element();
  ReadHead(root.child("head"), out.head);
  // Count first: a manifest is taken whole or not at all.
  size_t files = 0, reg_edits = 0, file_edits = 0;
  for (const pugi::xml_node& node : root.child("body").children()) {
    const std::string_view name = node.type() == pugi::node_element ? node.name() : "";
    files += name == "update_file";
    reg_edits += take_reg_edits && name == "reg_edit";
    file_edits += take_file_edits && name == "file_edit";
  }
  if (files > lim::kEntries || reg_edits > lim::kEntries || file_edits > lim::kEntries) return kManifestTooManyEntries;
  for (const pugi::xml_node& node : root.child("body").children()) {
    if (node.type() != pugi::node_element) continue;
    const std::string_view name = node.name();
    if (name == "update_file") {
      out.files.push_back(ReadUpdateFile(node));
    } else if (name == "reg_edit") {
      if (take_reg_edits) out.reg_edits.push_back(ReadRegEdit(node));
    } else if (name == "file_edit") {
      if (take_file_edits) out.file_edits.push_back(ReadFileEdit(node));
    }
  }
  return kManifestOk;
}

int LoadManifest(const std::string& path, bool take_reg_edits, bool take_file_edits, Manifest& out,
                 ManifestLoadError* error) {
  out = Manifest{};
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return kManifestCannotOpen;
  if (st.st_size == 0) return kManifestEmpty;
  if (size_t(st.st_size) > lim::kFileBytes) return kManifestTooLarge;
  std::string bytes;
  if (!ReadWholeFile(path, bytes, lim::kFileBytes)) return kManifestCannotOpen;
  return LoadManifestBytes(bytes, take_reg_edits, take_file_edits, out, error);
}

}  // namespace brantel
