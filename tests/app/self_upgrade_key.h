#pragma once
// The self-upgrade key as the updater (or a release's registry script)
// leaves it for the viewer's next start: the downloaded file and the file it
// replaces, as REG_MULTI_SZ texts without a terminator.

#include <gtest/gtest.h>

#include <string>

#include "app/startup/self_upgrade.h"
#include "platform/text.h"
#include "protocol/registry_key.h"

namespace brantel::testing {

inline void LeaveSelfUpgradeKey(const std::string& exist, const std::string& target) {
  RegistryKey key;
  ASSERT_TRUE(key.Create(HKEY_LOCAL_MACHINE, kSelfUpgradeKey));
  const WideText a = Widen(exist), b = Widen(target);
  ASSERT_TRUE(key.SetText(u"ExistFilePath", a.data(), uint32_t(a.size() * 2)));
  ASSERT_TRUE(key.SetText(u"NewFilePath", b.data(), uint32_t(b.size() * 2)));
}

}  // namespace brantel::testing
