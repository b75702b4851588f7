#include "app/server_selection.h"

#include <cstdio>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/folders.h"
#include "platform/module_info.h"
#include "protocol/request_settings.h"

namespace brantel {

namespace {

// The file is small; anything beyond this is not a selection file.
constexpr size_t kMaxFileBytes = 1 << 20;
// The device's line reader takes at most this many characters per read; a
// longer line is read as several.
constexpr size_t kMaxLineChars = 1023;

std::vector<WideText> ReadLines(std::string_view bytes) {
  WideText text;
  if (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xFE) {
    text = WideFromUtf16LeBytes(bytes.substr(2));
  } else {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    text = Widen(bytes);
  }
  std::vector<WideText> lines;
  WideText line;
  for (char16_t c : text) {
    line.push_back(c);
    if (c == u'\n' || line.size() == kMaxLineChars) lines.push_back(std::move(line)), line.clear();
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

bool IsSectionHeader(WideView line) { return line.find(u'[') != WideView::npos && line.find(u']') != WideView::npos; }

WideText SectionName(WideView line) {
  WideText name;
  for (char16_t c : line)
    if (c != u'[' && c != u']') name.push_back(c);
  const size_t first = name.find_first_not_of(u' ');
  if (first == WideText::npos) return {};
  return name.substr(first, name.find_last_not_of(u' ') - first + 1);
}

// Index of the line after the first header whose name begins with `wanted`.
size_t FindSection(const std::vector<WideText>& lines, WideView wanted) {
  for (size_t i = 0; i < lines.size(); ++i)
    if (IsSectionHeader(lines[i]) && WideView(SectionName(lines[i])).substr(0, wanted.size()) == wanted) return i + 1;
  return lines.size() + 1;
}

// A line that begins with `key` and holds "=": its value, the text after
// the first "=" without leading spaces and trailing spaces, CR and LF.
bool KeyValue(WideView line, WideView key, WideText* value) {
  if (line.substr(0, key.size()) != key) return false;
  const size_t eq = line.find(u'=');
  if (eq == WideView::npos) return false;
  WideView v = line.substr(eq + 1);
  while (!v.empty() && v.front() == u' ') v.remove_prefix(1);
  while (!v.empty() && (v.back() == u' ' || v.back() == u'\r' || v.back() == u'\n')) v.remove_suffix(1);
  *value = WideText(v);
  return true;
}

// Reads two keys from `start` on until both have non-empty values; the
// search runs to the end of the file, across later section headers.
void ReadPair(const std::vector<WideText>& lines, size_t start, WideView key1, WideText* value1, WideView key2,
              WideText* value2) {
  for (size_t i = start; i < lines.size(); ++i) {
    if (!value1->empty() && !value2->empty()) break;
    WideText v;
    if (KeyValue(lines[i], key1, &v)) *value1 = v;
    else if (KeyValue(lines[i], key2, &v)) *value2 = v;
  }
}

// A port text as a port number: nothing for empty text or a number that
// is not a port.
std::optional<int> PortValue(const WideText& text) {
  if (text.empty()) return std::nullopt;
  const long n = ParseLeadingLong(text);
  if (n < 1 || n > 65535) return std::nullopt;
  return int(n);
}

std::mutex g_selection_mutex;
ServerSelection g_selection;

}  // namespace

bool ReadServerSelectionFile(const std::string& path, ServerSelection* out) {
  *out = ServerSelection();
  std::string bytes;
  if (!FileExists(path) || !ReadWholeFile(path, bytes, kMaxFileBytes)) return false;
  const std::vector<WideText> lines = ReadLines(bytes);

  size_t start = FindSection(lines, u"SELECT_SERVER");
  for (size_t i = start; i < lines.size(); ++i) {
    WideText type_text;
    if (!KeyValue(lines[i], u"server_type", &type_text)) continue;
    if (!type_text.empty()) out->server_type = int(ParseLeadingLong(type_text));
    break;
  }

  WideText address, port_text;
  start = FindSection(lines, FormatText(u"SERVER_%d", out->server_type));
  ReadPair(lines, start, u"server_ip", &address, u"server_port", &port_text);
  out->server_address = address;
  if (auto port = PortValue(port_text)) {
    out->server_port = *port;
    out->port_from_file = true;
  }

  WideText uri, update_port_text;
  start = FindSection(lines, u"UPDATE");
  if (start <= lines.size()) {
    ReadPair(lines, start, u"uri", &uri, u"port", &update_port_text);
    // Without a host or a path there is no usable address: the default
    // manifest takes its place.
    if (!out->server_address.empty() && !uri.empty()) {
      const int port = PortValue(update_port_text).value_or(80);
      out->manifest_address = port == 80 ? FormatText(u"http://%s%s%s", out->server_address, uri, kManifestFileName)
                                         : FormatText(u"http://%s:%d%s%s", out->server_address, port, uri,
                                                      kManifestFileName);
    }
  }
  return true;
}

bool ReadServerSelection(ServerSelection* out) {
  return ReadServerSelectionFile(JoinPath(ProgramFolder(), Narrow(kServerSelectionFileName)), out);
}

void ApplyBuiltInDefaults(ServerSelection* selection) {
  if (selection->server_address.empty()) {
    selection->server_address = kDefaultServerAddress;
    if (!selection->port_from_file) selection->server_port = kDefaultServerPort;
  }
  if (selection->manifest_address.empty()) selection->manifest_address = kDefaultManifestAddress;
}

ServerSelection CurrentServerSelection() {
  std::lock_guard lock(g_selection_mutex);
  return g_selection;
}

void SetCurrentServerSelection(const ServerSelection& selection) {
  std::lock_guard lock(g_selection_mutex);
  g_selection = selection;
  SetInformationServer(selection.server_address, selection.server_port);
}

WideText DevelopmentTitle(const ServerSelection& selection, WideView normal_title) {
  return selection.server_type != 0 ? FormatText(u"DEV-%s", normal_title) : WideText(normal_title);
}

WideText CommandLineFromArguments(int argc, const char* const* argv) {
  WideText line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += u' ';
    line += Widen(argv[i] ? argv[i] : "");
  }
  return line;
}

bool ShouldStartUpdater(WideView own_command_line) {
  const WideView line = own_command_line.substr(0, kMaxLineChars);
  return line.find(kAutoUpdateMarker) == WideView::npos && line.find(kUserCancelMarker) == WideView::npos;
}

WideText UpdaterCommandLine(WideView manifest_address) {
  return FormatText(u"%s|%s", GetModuleDirectory(), manifest_address);
}

StartedProgram StartUpdater(WideView own_command_line, const ServerSelection& selection) {
  if (!ShouldStartUpdater(own_command_line)) return {};
  if (!FileExists(ProgramPathInFolder(kUpdaterProgram))) return {};
  // Installed by a package, the program folder is the package manager's to update.
  if (!FolderWritableByUser(ProgramFolder())) {
    std::fprintf(stderr, "BrantelStock: %s is not writable: the updater is not started (the package manager updates "
                 "the viewer)\n", ProgramFolder().c_str());
    return {};
  }
  return StartProgramFromFolder(kUpdaterProgram, UpdaterCommandLine(selection.manifest_address), false);
}

}  // namespace brantel
