#include "protocol/change_mark.h"

#include <gtest/gtest.h>

namespace brantel {
namespace {

TEST(ChangeMark, SignMarkerAndColourFollowTheLeadingNumber) {
  WideText change = u"-1,234", sign, marker;
  uint32_t colour = 0;
  FormatChangeMark(change, sign, marker, colour);
  EXPECT_EQ(change, u"1,234");
  EXPECT_EQ(sign, u"▼");
  EXPECT_EQ(marker, u"▼^▼^ ");
  EXPECT_EQ(colour, 0xFF5A00u);

  change = u"12.5";
  FormatChangeMark(change, sign, marker, colour);
  EXPECT_EQ(change, u"12.5");
  EXPECT_EQ(sign, u"▲");
  EXPECT_EQ(marker, u"▲^▲^ ");
  EXPECT_EQ(colour, 0x0000FFu);

  for (const char16_t* flat : {u"0.00", u"abc", u"", u"-0"}) {
    change = flat;
    sign = u"old";
    marker = u"old";
    FormatChangeMark(change, sign, marker, colour);
    EXPECT_EQ(change, flat);
    EXPECT_TRUE(sign.empty()) << Narrow(flat);
    EXPECT_TRUE(marker.empty());
    EXPECT_EQ(colour, 0xFFFFFFu);
  }
}

}  // namespace
}  // namespace brantel
