#include "protocol/request_document.h"

#include <gtest/gtest.h>

namespace brantel {
namespace {

RequestDocument ListDocument(WideText server_date = {}) {
  return RequestDocument(u"1.0", std::move(server_date), u"L", u"", u"WM6.1", u"");
}

constexpr char16_t kHead[] =
    u"<?xml version=\"1.0\" encoding=\"UTF-8\"?><SmartPhone><Header><Layout>L</Layout><Msisdn></Msisdn>"
    u"<Os>WM6.1</Os><Filler></Filler><Version>1.0</Version><ServerDate></ServerDate> </Header>";

TEST(RequestDocument, WorkedExampleByteForByte) {
  RequestDocument doc = ListDocument();
  const int g = doc.AddGroup(6);
  EXPECT_EQ(g, 0);
  EXPECT_TRUE(doc.AddParam(g, u"", u"", u"1"));
  EXPECT_EQ(doc.BuildInfoListText(),
            u"<?xml version=\"1.0\" encoding=\"UTF-8\"?><SmartPhone><Header><Layout>L</Layout><Msisdn></Msisdn>"
            u"<Os>WM6.1</Os><Filler></Filler><Version>1.0</Version><ServerDate></ServerDate> </Header> <Body> "
            u"<InfoList gubun=\"6\"> <param item=\"1\" /> </InfoList>  </Body>  </SmartPhone>");
}

TEST(RequestDocument, GroupsParamsAndAttributeOrder) {
  RequestDocument empty = ListDocument();
  EXPECT_EQ(empty.BuildInfoListText(), WideText(kHead) + u" <Body>  </Body>  </SmartPhone>");

  RequestDocument doc = ListDocument();
  EXPECT_EQ(doc.AddGroup(2), 0);
  EXPECT_EQ(doc.AddGroup(-1), 1);
  EXPECT_TRUE(doc.AddParam(1, u"", u"", u""));
  // Filled in any order, attributes come out key, value, item.
  EXPECT_TRUE(doc.AddParam(1, u"K", u"V", u"I", u"3"));
  EXPECT_FALSE(doc.AddParam(2, u"x", u"", u""));
  EXPECT_FALSE(doc.AddParam(-1, u"x", u"", u""));
  EXPECT_EQ(doc.BuildInfoListText(),
            WideText(kHead) + u" <Body> <InfoList gubun=\"2\"> </InfoList> <InfoList gubun=\"-1\"> <param />"
                              u" <param key=\"K\" value=\"V\" item=\"I\" /> </InfoList>  </Body>  </SmartPhone>");
}

TEST(RequestDocument, DetailCarriesThePeriod) {
  RequestDocument doc(u"1.0", u"2026/12/07 09:41:05", u"D", u"01012345678", u"WM6.1", u"");
  doc.AddParam(doc.AddGroup(2), u"0001", u"", u"1", u"2");
  EXPECT_EQ(doc.BuildDetailText(),
            u"<?xml version=\"1.0\" encoding=\"UTF-8\"?><SmartPhone><Header><Layout>D</Layout>"
            u"<Msisdn>01012345678</Msisdn><Os>WM6.1</Os><Filler></Filler><Version>1.0</Version>"
            u"<ServerDate>2026/12/07 09:41:05</ServerDate> </Header> <Body> <Detail gubun=\"2\">"
            u" <param key=\"0001\" item=\"1\" period=\"2\" /> </Detail>  </Body>  </SmartPhone>");
}

TEST(RequestDocument, ValuesCannotChangeTheStructure) {
  RequestDocument doc(u"1.0", u"<x>", u"L", u"a&b", u"WM6.1", u"");
  doc.AddParam(doc.AddGroup(7), u"\"/><evil a='1", u"<", u">");
  const WideText text = doc.BuildInfoListText();
  EXPECT_NE(text.find(u"<ServerDate>&lt;x&gt;</ServerDate>"), WideText::npos);
  EXPECT_NE(text.find(u"<Msisdn>a&amp;b</Msisdn>"), WideText::npos);
  EXPECT_NE(text.find(u" <param key=\"&quot;/&gt;&lt;evil a=&apos;1\" value=\"&lt;\" item=\"&gt;\" />"),
            WideText::npos);
  EXPECT_EQ(text.find(u"<evil"), WideText::npos);
}

}  // namespace
}  // namespace brantel
