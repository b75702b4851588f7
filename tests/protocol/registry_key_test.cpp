#include "protocol/registry_key.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>

namespace brantel {
namespace {

class RegistryKeyTest : public ::testing::Test {
 protected:
  testing::TempDataFolder home_{"brantel-key"};
};

TEST_F(RegistryKeyTest, TextWithoutTerminatorReadsBackIntoAZeroedBuffer) {
  RegistryKey key;
  ASSERT_TRUE(key.Create(HKEY_LOCAL_MACHINE, u"SOFTWARE\\BRANTEL\\BrantelStock\\LastUpdate"));
  const WideText stamp = u"20261207";
  ASSERT_TRUE(key.SetText(u"2", stamp.data(), uint32_t(stamp.size() * 2)));
  EXPECT_EQ(key.last_type(), REG_MULTI_SZ);
  EXPECT_EQ(key.last_size(), 16u);

  RegistryKey reader;
  ASSERT_TRUE(reader.Open(HKEY_LOCAL_MACHINE, u"software\\brantel\\brantelstock\\lastupdate"));
  EXPECT_EQ(reader.key_path(), u"software\\brantel\\brantelstock\\lastupdate");
  char16_t buffer[64] = {};
  ASSERT_TRUE(reader.QueryText(u"2", buffer, sizeof buffer));
  EXPECT_EQ(reader.last_type(), REG_MULTI_SZ);
  EXPECT_EQ(reader.last_size(), 16u);
  EXPECT_EQ(WideText(buffer), stamp);

  // Too small a buffer is not overrun; the size says what is needed.
  char16_t small[4] = {u'x', u'x', u'x', u'x'};
  EXPECT_FALSE(reader.QueryText(u"2", small, sizeof small));
  EXPECT_EQ(reader.last_result(), ERROR_MORE_DATA);
  EXPECT_EQ(reader.last_size(), 16u);
  EXPECT_EQ(small[0], u'x');
}

TEST_F(RegistryKeyTest, DwordsRoundTripAndOddSizesLeaveTheDefault) {
  RegistryKey key;
  ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, u"ControlPanel\\MotionSensor"));
  ASSERT_TRUE(key.SetDword(u"AutoOrientation", 0xA1B2C3D4u));
  uint32_t v = 0;
  ASSERT_TRUE(key.QueryDword(u"autoorientation", &v));
  EXPECT_EQ(v, 0xA1B2C3D4u);
  EXPECT_EQ(key.last_type(), REG_DWORD);

  const char16_t two[] = u"ab";
  ASSERT_TRUE(key.SetText(u"short", two, 2));
  v = 77;
  EXPECT_FALSE(key.QueryDword(u"short", &v));
  EXPECT_EQ(v, 77u);
  EXPECT_FALSE(key.QueryDword(u"missing", &v));
  EXPECT_EQ(key.last_result(), ERROR_FILE_NOT_FOUND);

  // Create clears the remembered type and size.
  ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, u"ControlPanel\\MotionSensor"));
  EXPECT_EQ(key.last_type(), 0u);
  EXPECT_EQ(key.last_size(), 0u);
}

TEST_F(RegistryKeyTest, AFailedOpenNeverWritesIntoTheRoot) {
  RegistryKey key;
  EXPECT_FALSE(key.Open(HKEY_LOCAL_MACHINE, u"SYSTEM\\GDI\\ROTATION"));
  EXPECT_EQ(key.last_result(), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(key.SetDword(u"Angle", 0));
  EXPECT_EQ(key.last_result(), ERROR_INVALID_HANDLE);

  RegKeyId root = RegistryStore::RootKey(HKEY_LOCAL_MACHINE);
  std::vector<RegValue> values;
  ASSERT_EQ(RegistryStore::Shared()->EnumValues(root, &values), ERROR_SUCCESS);
  EXPECT_TRUE(values.empty());

  key.Close();
  EXPECT_FALSE(key.QueryDword(u"Angle", nullptr));
}

TEST_F(RegistryKeyTest, ProgramKeyPathMakesTheParentsAndDeleteTakesTheTree) {
  RegistryKey key;
  ASSERT_TRUE(CreateProgramKeyPath(key, HKEY_LOCAL_MACHINE, u"SOFTWARE\\BRANTEL\\BrantelStock\\Standard Currency"));
  ASSERT_TRUE(key.SetDword(u"x", 1));
  RegistryKey probe;
  EXPECT_TRUE(probe.Open(HKEY_LOCAL_MACHINE, u"SOFTWARE\\BRANTEL\\BrantelStock"));
  // Existing path: opened, not made again.
  RegistryKey again;
  ASSERT_TRUE(CreateProgramKeyPath(again, HKEY_LOCAL_MACHINE, u"SOFTWARE\\BRANTEL\\BrantelStock\\Standard Currency"));
  uint32_t v = 0;
  EXPECT_TRUE(again.QueryDword(u"x", &v));
  EXPECT_EQ(v, 1u);

  ASSERT_TRUE(probe.DeleteKey(HKEY_LOCAL_MACHINE, u"SOFTWARE\\BRANTEL"));
  EXPECT_FALSE(probe.Open(HKEY_LOCAL_MACHINE, u"SOFTWARE\\BRANTEL\\BrantelStock\\Standard Currency"));
  // The key that was open went with the tree.
  EXPECT_FALSE(again.SetDword(u"x", 2));
  EXPECT_EQ(again.last_result(), ERROR_KEY_DELETED);
}

}  // namespace
}  // namespace brantel
