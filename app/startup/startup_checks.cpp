#include "app/startup/startup_checks.h"

#include "protocol/registry_key.h"

namespace brantel {

bool IsDeviceCradled() {
  RegistryKey key;
  uint32_t cradled = 0;
  return key.Open(HKEY_LOCAL_MACHINE, u"System\\State\\Hardware") && key.QueryDword(u"Cradled", &cradled) &&
         cradled != 0;
}

bool ShouldShowHelp() {
  RegistryKey key;
  uint32_t shown = 0;
  if (!key.Open(HKEY_LOCAL_MACHINE, u"SOFTWARE\\BRANTEL\\BrantelStock")) return true;
  if (!key.QueryDword(u"display_info", &shown)) return true;
  return int32_t(shown) < 1;
}

}  // namespace brantel
