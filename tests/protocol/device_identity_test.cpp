#include "protocol/device_identity.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "platform/device/telephony.h"
#include "platform/registry/registry_store.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

class DeviceIdentityTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SetLineDevicesForTesting(std::nullopt);
    SetTelephonyAvailableForTesting(true);
  }
  testing::TempDataFolder home_{"brantel-phone"};
};

TEST_F(DeviceIdentityTest, FindsTheCellularLineAmongSeveral) {
  SetLineDevicesForTesting(std::vector<LineDevice>{
      {u"Refuses", u"000", 0, 0, true},
      {u"Modem", u"0211112222", 0, 0, false},
      {u"Cellular Line", u"+82-10-1234-5678", 0, 0, false},
  });
  WideText number;
  EXPECT_EQ(ReadPhoneNumber(number), 0u);
  EXPECT_EQ(number, u"+82-10-1234-5678");  // exactly as reported
}

TEST_F(DeviceIdentityTest, CutsLongNumbersAndGrowsTheRecordOnce) {
  SetLineDevicesForTesting(std::vector<LineDevice>{
      {u"Cellular Line", u"0123456789012345678901234", 2000, 2000, false},
  });
  WideText number;
  EXPECT_EQ(ReadPhoneNumber(number), 0u);
  EXPECT_EQ(number, u"012345678901234567890");
}

TEST_F(DeviceIdentityTest, FailuresLeaveTheNumberAsItWas) {
  WideText number = u"kept";
  SetLineDevicesForTesting(std::vector<LineDevice>{});
  EXPECT_EQ(ReadPhoneNumber(number), kPhoneNumberFailed);
  SetLineDevicesForTesting(std::vector<LineDevice>{{u"Cellular Line", u"", 0, 0, false}});
  EXPECT_EQ(ReadPhoneNumber(number), kPhoneNumberFailed);
  SetLineDevicesForTesting(std::vector<LineDevice>{{u"Cellular line", u"010", 0, 0, false}});  // name differs in case
  EXPECT_EQ(ReadPhoneNumber(number), kPhoneNumberFailed);
  SetLineDevicesForTesting(std::vector<LineDevice>{{u"Cellular Line", u"010", 0, 0, false}});
  SetTelephonyAvailableForTesting(false);
  EXPECT_EQ(ReadPhoneNumber(number), kPhoneNumberFailed);
  SetTelephonyAvailableForTesting(true);
  // A record size no device needs is refused, not allocated.
  SetLineDevicesForTesting(std::vector<LineDevice>{{u"Cellular Line", u"010", 0xFFFFFFF0u, 0, false}});
  EXPECT_EQ(ReadPhoneNumber(number), kPhoneNumberOutOfMemory);
  SetLineDevicesForTesting(std::vector<LineDevice>{{u"Cellular Line", u"010", 0, 0xFFFFFFF0u, false}});
  EXPECT_EQ(ReadPhoneNumber(number), kPhoneNumberOutOfMemory);
  EXPECT_EQ(number, u"kept");
}

TEST_F(DeviceIdentityTest, TheUserSetsTheNumberInTheRegistry) {
  WideText number;
  EXPECT_EQ(ReadPhoneNumber(number), kPhoneNumberFailed);  // empty by default
  auto store = RegistryStore::Shared();
  RegKeyId key = 0;
  ASSERT_EQ(store->CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\BRANTEL\\Device", &key), ERROR_SUCCESS);
  ASSERT_EQ(store->SetValue(key, "CellularNumber", REG_SZ, std::string("0\0" "1\0" "0\0" "9\0\0\0", 10)), ERROR_SUCCESS);
  EXPECT_EQ(ReadPhoneNumber(number), 0u);
  EXPECT_EQ(number, u"0109");

  SetDevicePhoneNumber(number);
  EXPECT_EQ(DevicePhoneNumber(), u"0109");
}

}  // namespace
}  // namespace brantel
