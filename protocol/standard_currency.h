#pragma once
// The standard currency in which the exchange list is quoted: "code" and
// "item" under HKEY_LOCAL_MACHINE
// "SOFTWARE\BRANTEL\BrantelStock\Standard Currency", with process-wide
// copies that start as "FX@KRW".

#include "platform/text.h"

namespace brantel {

inline constexpr char16_t kStandardCurrencyKeyPath[] = u"SOFTWARE\\BRANTEL\\BrantelStock\\Standard Currency";
inline constexpr char16_t kDefaultStandardCurrency[] = u"FX@KRW";

// Write (read false): `code` and `item` become the copies and are stored.
// Read: both are read into `code` and `item`; an empty one is replaced by the
// copy, which is written back.
void StandardCurrency(WideText& code, WideText& item, bool read);

// The process-wide copies (what the exchange request sends).
WideText StandardCurrencyCode();
WideText StandardCurrencyItem();

}  // namespace brantel
