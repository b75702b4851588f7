// Category names, group captions, row keys, stamps and the standard currency.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>

#include "protocol/categories.h"
#include "protocol/last_update.h"
#include "protocol/registry_key.h"
#include "protocol/row_key.h"
#include "protocol/standard_currency.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

TEST(Categories, KindAndGroupNames) {
  EXPECT_EQ(CategoryKindName(0), u"master");
  EXPECT_EQ(CategoryKindName(3), u"exchange");
  EXPECT_EQ(CategoryKindName(6, 0), u"tradeamount");
  EXPECT_EQ(CategoryKindName(6, 1), u"trademoney");
  EXPECT_EQ(CategoryKindName(6, 2), u"marketcapital");
  EXPECT_EQ(CategoryKindName(6, 5), u"tradeamount");
  EXPECT_EQ(CategoryKindName(8), u"search");
  EXPECT_EQ(CategoryKindName(9), u"");
  EXPECT_EQ(CategoryKindName(-1), u"");

  EXPECT_EQ(GroupName(4, u"3"), u"Asia");
  EXPECT_EQ(GroupName(2, u"0"), u"국내지수");
  EXPECT_EQ(GroupName(5, u"2"), u"Agriculture");
  EXPECT_EQ(GroupName(4, u"9"), u"");
  EXPECT_EQ(GroupName(1, u"7"), u"");
  EXPECT_EQ(GroupName(3, u"3"), u"");
  EXPECT_EQ(GroupName(6, u"0"), u"");
  EXPECT_EQ(GroupName(2, u"01"), u"");
}

TEST(RowKeys, BuildAndParse) {
  EXPECT_EQ(BuildRowKey(u"0001", 2, u"0", u"0", u"코스피", u"▲"), u"0001^2^0^0^코스피^▲");
  EXPECT_EQ(BuildRowKey(u"0001", 0, u"0", u"0", u"x", u""), u"");
  EXPECT_EQ(BuildRowKey(u"", 2, u"0", u"0", u"x", u""), u"");
  EXPECT_EQ(BuildRowKey(u"1", 2, u"", u"0", u"x", u""), u"");
  EXPECT_EQ(BuildRowKey(u"1", 2, u"0", u"", u"x", u""), u"");

  RowKey key;
  ASSERT_TRUE(ParseRowKey(BuildRowKey(u"FX@USD", 3, u"0", u"1", u"미국 달러", u""), key));
  EXPECT_EQ(key.code, u"FX@USD");
  EXPECT_EQ(key.category, 3);
  EXPECT_EQ(key.group, u"0");
  EXPECT_EQ(key.mypage_flag, u"1");
  EXPECT_EQ(key.name, u"미국 달러");
  EXPECT_EQ(key.sign, u"");

  // A "^" in the name moves its remainder into the sign.
  ASSERT_TRUE(ParseRowKey(BuildRowKey(u"1", 1, u"0", u"0", u"a^b", u"▼"), key));
  EXPECT_EQ(key.name, u"a");
  EXPECT_EQ(key.sign, u"b^▼");

  EXPECT_FALSE(ParseRowKey(u"", key));
  EXPECT_FALSE(ParseRowKey(u"1^2^3^4", key));
}

class Stamps : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    home_.emplace("brantel_stamps");
  }
  static void TearDownTestSuite() { home_.reset(); }
  static std::optional<testing::TempDataFolder> home_;

  static WideText StoredText(WideView key_path, WideView name, uint32_t* size = nullptr) {
    RegistryKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, key_path)) return u"<no key>";
    char16_t buffer[300] = {};
    if (!key.QueryText(name, buffer, sizeof buffer - 2)) return u"<no value>";
    if (size) *size = key.last_size();
    EXPECT_EQ(key.last_type(), 7u);
    return buffer;
  }
};
std::optional<testing::TempDataFolder> Stamps::home_;

TEST_F(Stamps, WrittenByKindNameAndReadBack) {
  EXPECT_EQ(LastUpdateStamp(u"", 2, 0, true), u"");  // fresh: creates the key, nothing stored
  EXPECT_EQ(StoredText(kLastUpdateKeyPath, u"stockindex"), u"<no value>");

  EXPECT_EQ(LastUpdateStamp(u"26/12/07 10:56:06", 2, 0, false), u"26/12/07 10:56:06");
  uint32_t size = 0;
  EXPECT_EQ(StoredText(kLastUpdateKeyPath, u"stockindex", &size), u"26/12/07 10:56:06");
  EXPECT_EQ(size, 34u);  // two bytes a character, no terminator
  LastUpdateStamp(u"A", 6, 1, false);
  LastUpdateStamp(u"B", 6, 5, false);
  EXPECT_EQ(StoredText(kLastUpdateKeyPath, u"trademoney"), u"A");
  EXPECT_EQ(StoredText(kLastUpdateKeyPath, u"tradeamount"), u"B");

  // An empty value to write and a kind above 8 keep the copy.
  EXPECT_EQ(LastUpdateStamp(u"", 3, 0, false), u"B");
  EXPECT_EQ(LastUpdateStamp(u"zzz", 9, 0, false), u"B");
  EXPECT_EQ(LastUpdateStamp(u"", 2, 0, true), u"26/12/07 10:56:06");

  // Stamps are cut to 255 characters.
  const WideText long_stamp(300, u'7');
  EXPECT_EQ(LastUpdateStamp(long_stamp, 4, 0, false).size(), 255u);
  EXPECT_EQ(LastUpdateStamp(u"", 4, 0, true).size(), 255u);
}

TEST_F(Stamps, StandardCurrencyDefaultsAndWrites) {
  WideText code, item;
  StandardCurrency(code, item, true);
  EXPECT_EQ(code, u"FX@KRW");
  EXPECT_EQ(item, u"FX@KRW");
  EXPECT_EQ(StoredText(kStandardCurrencyKeyPath, u"code"), u"FX@KRW");
  EXPECT_EQ(StoredText(kStandardCurrencyKeyPath, u"item"), u"FX@KRW");

  code = u"FX@USD";
  item = u"FX@USD";
  StandardCurrency(code, item, false);
  EXPECT_EQ(StandardCurrencyCode(), u"FX@USD");
  WideText read_code, read_item;
  StandardCurrency(read_code, read_item, true);
  EXPECT_EQ(read_code, u"FX@USD");
  EXPECT_EQ(read_item, u"FX@USD");

  // Back to the default for the other tests of this process.
  code = item = u"FX@KRW";
  StandardCurrency(code, item, false);
}

}  // namespace
}  // namespace brantel
