#include "protocol/standard_currency.h"

#include <mutex>

#include "protocol/registry_key.h"
#include "protocol/stored_text.h"

namespace brantel {

namespace {

std::mutex g_mutex;
WideText g_code = kDefaultStandardCurrency;
WideText g_item = kDefaultStandardCurrency;

void ReadOne(RegistryKey& key, WideView name, WideText& value, WideText& copy) {
  value = QueryStoredText(key, name);
  if (value.empty()) {
    value = copy;
    SetStoredText(key, name, value);
  } else {
    copy = value;
  }
}

}  // namespace

void StandardCurrency(WideText& code, WideText& item, bool read) {
  std::lock_guard<std::mutex> hold(g_mutex);
  RegistryKey key;
  const bool open = CreateProgramKeyPath(key, HKEY_LOCAL_MACHINE, kStandardCurrencyKeyPath);
  if (!read) {
    g_code = code;
    g_item = item;
    if (open) {
      SetStoredText(key, u"code", code);
      SetStoredText(key, u"item", item);
    }
    return;
  }
  if (!open) {
    code = g_code;
    item = g_item;
    return;
  }
  ReadOne(key, u"code", code, g_code);
  ReadOne(key, u"item", item, g_item);
}

WideText StandardCurrencyCode() {
  std::lock_guard<std::mutex> hold(g_mutex);
  return g_code;
}

WideText StandardCurrencyItem() {
  std::lock_guard<std::mutex> hold(g_mutex);
  return g_item;
}

}  // namespace brantel
