#include "platform/registry/registry_types.h"

#include <cstdlib>

#include "platform/text.h"

namespace brantel {

namespace {

struct RootNames {
  RegRoot root;
  std::string_view full;
  std::string_view brief;
};

constexpr RootNames kRoots[] = {
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT", "HKCR"},
    {HKEY_CURRENT_USER, "HKEY_CURRENT_USER", "HKCU"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", "HKLM"},
    {HKEY_USERS, "HKEY_USERS", "HKU"},
};

struct TypeName {
  uint32_t type;
  std::string_view name;
};

constexpr TypeName kTypes[] = {
    {REG_NONE, "REG_NONE"},       {REG_SZ, "REG_SZ"},
    {REG_EXPAND_SZ, "REG_EXPAND_SZ"}, {REG_BINARY, "REG_BINARY"},
    {REG_DWORD, "REG_DWORD"},     {REG_DWORD_BIG_ENDIAN, "REG_DWORD_BIG_ENDIAN"},
    {REG_LINK, "REG_LINK"},       {REG_MULTI_SZ, "REG_MULTI_SZ"},
    {REG_QWORD, "REG_QWORD"},
};

}  // namespace

bool IsRegRoot(RegRoot root) { return !RegRootName(root).empty(); }

std::string_view RegRootName(RegRoot root) {
  for (const auto& r : kRoots)
    if (r.root == root) return r.full;
  return {};
}

std::optional<RegRoot> ParseRegRootName(std::string_view name) {
  for (const auto& r : kRoots)
    if (EqualsNoCaseNarrow(name, r.full) || EqualsNoCaseNarrow(name, r.brief)) return r.root;
  return std::nullopt;
}

std::optional<RegKeyName> ParseRegKeyName(std::string_view full_name) {
  full_name = TrimNarrow(full_name);
  const size_t slash = full_name.find('\\');
  auto root = ParseRegRootName(full_name.substr(0, slash));
  if (!root) return std::nullopt;
  RegKeyName out;
  out.root = *root;
  if (slash != std::string_view::npos) {
    std::string_view rest = full_name.substr(slash + 1);
    while (!rest.empty() && rest.back() == '\\') rest.remove_suffix(1);
    out.path = std::string(rest);
  }
  return out;
}

std::string RegTypeName(uint32_t type) {
  for (const auto& t : kTypes)
    if (t.type == type) return std::string(t.name);
  return std::to_string(type);
}

std::optional<uint32_t> ParseRegTypeName(std::string_view name) {
  for (const auto& t : kTypes)
    if (EqualsNoCaseNarrow(name, t.name)) return t.type;
  return std::nullopt;
}

std::string FoldRegName(std::string_view name) {
  std::string out(name);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return out;
}

}  // namespace brantel
