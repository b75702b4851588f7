#include "protocol/last_update.h"

#include <array>
#include <mutex>

#include "protocol/categories.h"
#include "protocol/registry_key.h"
#include "protocol/stored_text.h"

namespace brantel {

namespace {

std::mutex g_mutex;
WideText g_copy;

}  // namespace

WideText LastUpdateStamp(WideView value, int32_t kind, int32_t sub_kind, bool read) {
  std::lock_guard<std::mutex> hold(g_mutex);
  if (kind > kCategorySearch) return g_copy;
  const WideText name = CategoryKindName(kind, sub_kind);
  if (name.empty() || (value.empty() && !read)) return g_copy;

  RegistryKey key;
  if (!CreateProgramKeyPath(key, HKEY_LOCAL_MACHINE, kLastUpdateKeyPath)) {
    if (read) g_copy.clear();
    return g_copy;
  }
  if (read) {
    g_copy = QueryStoredText(key, name);
  } else {
    g_copy = WideText(value.substr(0, kMaxStampChars));
    SetStoredText(key, name, g_copy);
  }
  key.Close();
  return g_copy;
}

}  // namespace brantel
