#include "platform/registry/reg_command.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <istream>
#include <iterator>
#include <ostream>

#include "platform/folders.h"
#include "platform/registry/reg_file_import.h"
#include "platform/registry/reg_file_writer.h"
#include "platform/text.h"

namespace brantel {

namespace {

constexpr const char* kUsage =
    "usage: brantel-reg query KEY [NAME]\n"
    "       brantel-reg set KEY NAME TYPE VALUE\n"
    "       brantel-reg delete KEY [NAME]\n"
    "       brantel-reg export KEY FILE      (FILE - writes to standard output)\n"
    "       brantel-reg import FILE          (FILE - reads standard input)\n"
    "KEY: ROOT\\path, ROOT one of HKEY_CLASSES_ROOT HKEY_CURRENT_USER HKEY_LOCAL_MACHINE\n"
    "     HKEY_USERS (or HKCR HKCU HKLM HKU). NAME @ is the key's default value.\n"
    "TYPE: REG_SZ REG_EXPAND_SZ REG_MULTI_SZ (items separated by \\0) REG_DWORD REG_QWORD\n"
    "      (decimal or 0x hex) REG_BINARY REG_NONE (hex bytes, e.g. 00ff10 or 00,ff,10)\n"
    "The registry is registry.db in the data folder ($BRANTEL_HOME, else\n"
    "$XDG_DATA_HOME/brantel-stock, else ~/.local/share/brantel-stock).\n";

struct Io {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
};

std::string ValueName(const std::string& arg) { return arg == "@" ? std::string() : arg; }
std::string ShownName(const std::string& name) { return name.empty() ? "(Default)" : name; }

std::string StatusText(long status) {
  switch (status) {
    case ERROR_FILE_NOT_FOUND: return "not found";
    case ERROR_ACCESS_DENIED: return "a root key cannot be deleted";
    case ERROR_INVALID_PARAMETER: return "name too long or value too large";
    case ERROR_INVALID_DATA: return "a name holds a line break or a zero character and cannot be written to a script";
    case ERROR_CANTOPEN: return "cannot open the registry file " + RegistryStore::DefaultPath();
    case ERROR_CANTWRITE: return "cannot write the registry file " + RegistryStore::DefaultPath();
    default: return "registry error " + std::to_string(status);
  }
}

uint64_t LittleEndian(std::string_view bytes) {
  uint64_t n = 0;
  for (size_t i = bytes.size(); i-- > 0;) n = (n << 8) | uint8_t(bytes[i]);
  return n;
}

std::string HexBytes(std::string_view bytes) {
  std::string out;
  char buf[4];
  for (char c : bytes) {
    std::snprintf(buf, sizeof buf, "%02X", unsigned(uint8_t(c)));
    out += buf;
  }
  return out;
}

// The text of a string value without the zero units that end it.
WideText StoredText(const RegValue& v) {
  WideText w = WideFromUtf16LeBytes(v.data);
  while (!w.empty() && w.back() == 0) w.pop_back();
  return w;
}

std::string ShowData(const RegValue& v) {
  char buf[48];
  switch (v.type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
      return Narrow(StoredText(v));
    case REG_MULTI_SZ:
      return Narrow(ReplaceAll(StoredText(v), WideView(u"\0", 1), u"\\0"));
    case REG_DWORD:
      if (v.data.size() != 4) break;
      std::snprintf(buf, sizeof buf, "0x%x (%u)", unsigned(LittleEndian(v.data)), unsigned(LittleEndian(v.data)));
      return buf;
    case REG_QWORD:
      if (v.data.size() != 8) break;
      std::snprintf(buf, sizeof buf, "0x%llx", static_cast<unsigned long long>(LittleEndian(v.data)));
      return buf;
    default: break;
  }
  return HexBytes(v.data);
}

void ShowValue(const RegValue& v, std::ostream& out) {
  out << "    " << ShownName(v.name) << "    " << RegTypeName(v.type) << "    " << ShowData(v) << "\n";
}

bool ParseKeyArg(const std::string& arg, RegKeyName* key, const Io& io) {
  auto parsed = ParseRegKeyName(arg);
  if (!parsed) {
    io.err << "brantel-reg: bad key '" << arg
           << "': it must start with HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS "
              "or HKCR, HKCU, HKLM, HKU\n";
    return false;
  }
  *key = *parsed;
  return true;
}

// False, with the usage written, when the command (its verb included) has
// fewer than `min` or more than `max` arguments.
bool ArgCountFits(const std::vector<std::string>& args, size_t min, size_t max, const Io& io) {
  if (args.size() >= min && args.size() <= max) return true;
  io.err << kUsage;
  return false;
}

// The argument count checked and the KEY argument read; false once the
// reason is written.
bool ReadKeyArgs(const std::vector<std::string>& args, size_t min, size_t max, RegKeyName* key, const Io& io) {
  return ArgCountFits(args, min, max, io) && ParseKeyArg(args[1], key, io);
}

// Writes why a command failed; returns its exit status.
int Failed(const std::string& why, const Io& io) {
  io.err << "brantel-reg: " << why << "\n";
  return kRegCommandFailed;
}

std::string FullName(const RegKeyName& key) {
  std::string s(RegRootName(key.root));
  if (!key.path.empty()) s += "\\" + key.path;
  return s;
}

bool ParseNumber(const std::string& text, uint64_t max, uint64_t* out) {
  if (text.empty() || text[0] == '-' || text[0] == '+' || text[0] == ' ') return false;
  errno = 0;
  char* end = nullptr;
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const unsigned long long n = std::strtoull(hex ? text.c_str() + 2 : text.c_str(), &end, hex ? 16 : 10);
  if (errno != 0 || *end != '\0' || n > max || end == (hex ? text.c_str() + 2 : text.c_str())) return false;
  *out = n;
  return true;
}

bool ParseHexArg(const std::string& text, std::string* out) {
  std::string digits;
  for (char c : text) {
    if (c == ',' || c == ' ' || c == ':') continue;
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    digits += c;
  }
  if (digits.size() % 2 != 0) return false;
  for (size_t i = 0; i < digits.size(); i += 2) out->push_back(char(std::stoi(digits.substr(i, 2), nullptr, 16)));
  return true;
}

// The bytes of VALUE for TYPE; false with a message when VALUE does not fit.
bool EncodeValue(uint32_t type, const std::string& value, std::string* data, std::string* why) {
  uint64_t n = 0;
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
      *data = Utf16LeBytes(Widen(value));
      data->append(2, '\0');
      return true;
    case REG_MULTI_SZ: {
      for (const WideText& item : Split(Widen(value), u"\\0")) {
        *data += Utf16LeBytes(item);
        data->append(2, '\0');
      }
      data->append(2, '\0');
      return true;
    }
    case REG_DWORD:
    case REG_QWORD:
      if (!ParseNumber(value, type == REG_DWORD ? 0xFFFFFFFFull : ~0ull, &n)) {
        *why = type == REG_DWORD ? "a REG_DWORD is a number from 0 to 4294967295 (decimal or 0x hex)"
                                 : "a REG_QWORD is an unsigned 64-bit number (decimal or 0x hex)";
        return false;
      }
      for (int i = 0; i < (type == REG_DWORD ? 4 : 8); ++i) data->push_back(char((n >> (8 * i)) & 0xFF));
      return true;
    default:
      if (!ParseHexArg(value, data)) {
        *why = "binary data is pairs of hex digits, e.g. 00ff10 or 00,ff,10";
        return false;
      }
      return true;
  }
}

int Query(const std::vector<std::string>& args, const Io& io) {
  RegKeyName key;
  if (!ReadKeyArgs(args, 2, 3, &key, io)) return kRegCommandUsage;
  auto store = RegistryStore::Shared();
  RegKeyId id = 0;
  if (long r = store->OpenKey(key.root, key.path, &id); r != ERROR_SUCCESS)
    return Failed("key " + FullName(key) + ": " + StatusText(r), io);
  std::string stored;
  store->KeyPath(id, &stored);
  const RegKeyName shown{key.root, stored};
  if (args.size() == 3) {
    RegValue v;
    if (long r = store->QueryValue(id, ValueName(args[2]), &v); r != ERROR_SUCCESS)
      return Failed("value '" + args[2] + "' in " + FullName(shown) + ": " + StatusText(r), io);
    io.out << FullName(shown) << "\n";
    ShowValue(v, io.out);
    return kRegCommandOk;
  }
  std::vector<RegValue> values;
  std::vector<std::string> subkeys;
  if (long r = store->EnumValues(id, &values); r != ERROR_SUCCESS) return Failed(StatusText(r), io);
  store->EnumSubkeys(id, &subkeys);
  io.out << FullName(shown) << "\n";
  for (const auto& v : values) ShowValue(v, io.out);
  if (!subkeys.empty()) io.out << "\n";
  for (const auto& s : subkeys) io.out << FullName(shown) << "\\" << s << "\n";
  return kRegCommandOk;
}

int Set(const std::vector<std::string>& args, const Io& io) {
  RegKeyName key;
  if (!ReadKeyArgs(args, 5, 5, &key, io)) return kRegCommandUsage;
  auto type = ParseRegTypeName(args[3]);
  if (!type) {
    io.err << "brantel-reg: bad type '" << args[3]
           << "': use REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD, REG_QWORD, REG_BINARY or REG_NONE\n";
    return kRegCommandUsage;
  }
  std::string data, why;
  if (!EncodeValue(*type, args[4], &data, &why)) {
    io.err << "brantel-reg: bad value '" << args[4] << "': " << why << "\n";
    return kRegCommandUsage;
  }
  auto store = RegistryStore::Shared();
  const long r = store->Transaction([&]() -> long {
    RegKeyId id = 0;
    if (long c = store->CreateKey(key.root, key.path, &id); c != ERROR_SUCCESS) return c;
    return store->SetValue(id, ValueName(args[2]), *type, data);
  });
  if (r != ERROR_SUCCESS) return Failed("cannot set '" + args[2] + "' in " + FullName(key) + ": " + StatusText(r), io);
  return kRegCommandOk;
}

int Delete(const std::vector<std::string>& args, const Io& io) {
  RegKeyName key;
  if (!ReadKeyArgs(args, 2, 3, &key, io)) return kRegCommandUsage;
  auto store = RegistryStore::Shared();
  long r;
  if (args.size() == 3) {
    RegKeyId id = 0;
    r = store->OpenKey(key.root, key.path, &id);
    if (r == ERROR_SUCCESS) r = store->DeleteValue(id, ValueName(args[2]));
  } else {
    r = store->DeleteKey(key.root, key.path);
  }
  if (r != ERROR_SUCCESS) {
    return Failed("cannot delete " + (args.size() == 3 ? "'" + args[2] + "' in " : std::string()) + FullName(key) +
                      ": " + StatusText(r),
                  io);
  }
  return kRegCommandOk;
}

int Export(const std::vector<std::string>& args, const Io& io) {
  RegKeyName key;
  if (!ReadKeyArgs(args, 3, 3, &key, io)) return kRegCommandUsage;
  std::string text;
  if (long r = ExportRegText(*RegistryStore::Shared(), key.root, key.path, &text); r != ERROR_SUCCESS)
    return Failed("cannot export " + FullName(key) + ": " + StatusText(r), io);
  if (args[2] == "-") {
    io.out << text;
  } else if (!WriteFileAtomically(args[2], text)) {
    return Failed("cannot write " + args[2], io);
  }
  return kRegCommandOk;
}

int Import(const std::vector<std::string>& args, const Io& io) {
  if (!ArgCountFits(args, 2, 2, io)) return kRegCommandUsage;
  auto store = RegistryStore::Shared();
  RegImportResult result;
  if (args[1] == "-") {
    std::string bytes;
    char buf[65536];
    while (io.in.read(buf, sizeof buf) || io.in.gcount() > 0) {
      bytes.append(buf, size_t(io.in.gcount()));
      if (bytes.size() > kMaxRegFileBytes) break;  // the parser refuses it
    }
    result = ImportRegText(*store, bytes);
  } else {
    result = ImportRegFile(*store, args[1]);
  }
  const std::string source = args[1] == "-" ? "<stdin>" : args[1];
  if (!result.ok) {
    io.err << "brantel-reg: " << source << ": " << DescribeRegFileError(result.error) << "\n"
           << "brantel-reg: nothing was imported\n";
    return kRegCommandFailed;
  }
  io.out << "imported " << source << ": " << result.keys << " keys, " << result.values << " values, "
         << result.deleted_keys << " keys deleted, " << result.deleted_values << " values deleted\n";
  return kRegCommandOk;
}

}  // namespace

int RunRegCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
  const Io io{in, out, err};
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    (args.empty() ? err : out) << kUsage;
    return args.empty() ? kRegCommandUsage : kRegCommandOk;
  }
  const std::string& verb = args[0];
  if (verb == "query") return Query(args, io);
  if (verb == "set") return Set(args, io);
  if (verb == "delete") return Delete(args, io);
  if (verb == "export") return Export(args, io);
  if (verb == "import") return Import(args, io);
  err << "brantel-reg: unknown command '" << verb << "'\n" << kUsage;
  return kRegCommandUsage;
}

}  // namespace brantel
