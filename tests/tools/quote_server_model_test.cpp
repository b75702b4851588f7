// The reference server's parts on their own: market clock, price model,
// number texts, request reading, answer writing, file paths and faults.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "tests/support/temp_folder.h"
#include "tools/quote-server/answer_writer.h"
#include "tools/quote-server/http_front.h"
#include "tools/quote-server/market_clock.h"
#include "tools/quote-server/price_model.h"
#include "tools/quote-server/quote_text.h"
#include "tools/quote-server/request_reader.h"
#include "tools/quote-server/server_options.h"

using namespace brantel::quote_server;
namespace fs = std::filesystem;

namespace {

KstSeconds At(const char* text) {
  KstSeconds t = 0;
  EXPECT_TRUE(ParseClockText(text, t)) << text;
  return t;
}

TEST(MarketClock, ParsesOnlyRealMoments) {
  EXPECT_EQ(FormatStamp(At("2026-12-07 10:56:06")), "26/12/07 10:56:06");
  EXPECT_EQ(FormatStamp(At("2026-12-07T10:56")), "26/12/07 10:56:00");
  EXPECT_EQ(FormatStamp(At("2024-02-29 23:59:59")), "24/02/29 23:59:59");
  KstSeconds t = 0;
  for (const char* bad : {"2026-02-30 10:00", "2025-02-29 10:00", "2026-12-07 24:00", "2026-12-07 10:60", "2026-12-07",
                          "2026-12-07 10:00 junk", "yesterday", "", "2026-13-01 10:00", "2026-12-07_10:00"})
    EXPECT_FALSE(ParseClockText(bad, t)) << bad;
}

TEST(MarketClock, TradingDaysSkipWeekendsBothWays) {
  const int64_t monday = DaysFromCivil(2026, 12, 7);
  EXPECT_TRUE(IsTradingDay(monday));
  EXPECT_FALSE(IsTradingDay(monday - 1));  // Sunday
  EXPECT_FALSE(IsTradingDay(monday - 2));  // Saturday
  EXPECT_EQ(TradingIndex(monday) - 1, TradingIndex(monday - 3));  // Friday before
  for (int64_t day = monday - 400; day < monday + 400; ++day)
    if (IsTradingDay(day)) {
      EXPECT_EQ(DayOfTradingIndex(TradingIndex(day)), day);
    }
  // Dates far before 1970 count the same way.
  const int64_t old = DaysFromCivil(1969, 12, 29);  // a Monday
  EXPECT_TRUE(IsTradingDay(old));
  EXPECT_EQ(DayOfTradingIndex(TradingIndex(old)), old);
}

TEST(MarketClock, LatestSessionBeforeDuringAndAfterTheMarket) {
  const int64_t monday = TradingIndex(DaysFromCivil(2026, 12, 7));
  SessionPoint p = LatestSession(At("2026-12-07 08:59"));
  EXPECT_EQ(p.index, monday - 1);  // Friday's, closed
  EXPECT_EQ(p.minutes, kSessionMinutes);
  p = LatestSession(At("2026-12-07 10:30"));
  EXPECT_EQ(p.index, monday);
  EXPECT_EQ(p.minutes, 90);
  p = LatestSession(At("2026-12-07 18:00"));
  EXPECT_EQ(p.minutes, kSessionMinutes);
  p = LatestSession(At("2026-12-06 12:00"));  // Sunday
  EXPECT_EQ(p.index, monday - 1);
}

TEST(QuoteText, GroupsThousandsAndSignsOnlyFalls) {
  EXPECT_EQ(FormatNumber(71000, 0), "71,000");
  EXPECT_EQ(FormatNumber(-1500, 0), "-1,500");
  EXPECT_EQ(FormatNumber(999, 0), "999");
  EXPECT_EQ(FormatNumber(1234567.891, 2), "1,234,567.89");
  EXPECT_EQ(FormatNumber(0.000722, 6), "0.000722");
  EXPECT_EQ(FormatNumber(-0.001, 2), "0.00") << "no sign on a value shown as zero";
  EXPECT_EQ(FormatNumber(NAN, 2), "0.00");
  EXPECT_EQ(FormatRate(-0.7049), "-0.70");
}

Instrument Stock(double price) {
  Instrument in;
  in.category = kStock;
  in.code = "005930";
  in.group = "0";
  in.reference = price;
  in.volatility = 0.02;
  in.shares = 100000000;
  return in;
}

TEST(PriceModel, StockPricesMoveInTheExchangesTicks) {
  EXPECT_EQ(RoundToTick(Stock(0), 1999.4), 1999);
  EXPECT_EQ(RoundToTick(Stock(0), 4997), 4995);
  EXPECT_EQ(RoundToTick(Stock(0), 71040), 71000);
  EXPECT_EQ(RoundToTick(Stock(0), 812300), 812000);
  EXPECT_GE(RoundToTick(Stock(0), 0.2), 1) << "never a zero price";
  Instrument rate = Stock(3);
  rate.category = kInterestRate;
  EXPECT_DOUBLE_EQ(RoundToTick(rate, 3.26549), 3.265);
}

TEST(PriceModel, BarsAreConsistentAndHistoryStaysPlausible) {
  const PriceModel model(1);
  const Instrument in = Stock(50000);
  const std::vector<Bar> year = model.DailyBars(in, 14000, kSessionMinutes, 500);
  ASSERT_EQ(year.size(), 500u);
  for (size_t i = 0; i < year.size(); ++i) {
    const Bar& b = year[i];
    EXPECT_GE(b.high, std::max(b.open, b.close));
    EXPECT_LE(b.low, std::min(b.open, b.close));
    EXPECT_GT(b.volume, 0);
    EXPECT_GT(b.close, 50000 * 0.4);
    EXPECT_LT(b.close, 50000 * 2.5);
    if (i > 0) {
      EXPECT_LT(std::fabs(std::log(b.close / year[i - 1].close)), 0.2) << "no wild jumps between sessions";
    }
  }
  // It moves: a year is not flat.
  double low = year[0].close, high = low;
  for (const Bar& b : year) low = std::min(low, b.close), high = std::max(high, b.close);
  EXPECT_GT(high / low, 1.1);
  // A session in progress ends at the current price.
  EXPECT_DOUBLE_EQ(model.SessionBar(in, 14000, 90).close, model.Quoted(in, 14000, 90));
  EXPECT_EQ(model.IntradayBars(in, 14000, 90, 5).size(), 18u);
  EXPECT_EQ(model.DailyBars(in, 14000, 90, 1).back().close, model.Quoted(in, 14000, 90));
}

TEST(PriceModel, SameSeedSamePricesOtherSeedOtherPrices) {
  const Instrument in = Stock(50000);
  EXPECT_EQ(PriceModel(5).PriceAt(in, 14000, 100), PriceModel(5).PriceAt(in, 14000, 100));
  EXPECT_NE(PriceModel(5).PriceAt(in, 14000, 100), PriceModel(6).PriceAt(in, 14000, 100));
  Instrument flat = in;
  flat.volatility = 0;
  EXPECT_EQ(PriceModel(5).PriceAt(flat, 14000, 100), 50000) << "the won in won never moves";
}

TEST(RequestReader, ReadsTheViewersDocuments) {
  QuoteRequest r;
  std::string why;
  ASSERT_TRUE(ReadQuoteRequest(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><SmartPhone><Header><Layout>L</Layout><Msisdn></Msisdn><Os>WM6.1</Os>"
      "<Filler></Filler><Version>1.0</Version><ServerDate></ServerDate> </Header> <Body> <InfoList gubun=\"6\"> "
      "<param item=\"1\" /> </InfoList>  </Body>  </SmartPhone>",
      r, why))
      << why;
  EXPECT_EQ(r.layout, "L");
  EXPECT_EQ(r.os, "WM6.1");
  ASSERT_EQ(r.groups.size(), 1u);
  EXPECT_EQ(r.groups[0].gubun, 6);
  ASSERT_EQ(r.groups[0].params.size(), 1u);
  EXPECT_EQ(r.groups[0].params[0].item, "1");

  // A value of spaces is kept as written.
  ASSERT_TRUE(ReadQuoteRequest("<SmartPhone><Header><Msisdn>   </Msisdn><ServerDate> </ServerDate></Header></SmartPhone>", r, why));
  EXPECT_EQ(r.msisdn, "   ");
  EXPECT_EQ(r.server_date, " ");

  ASSERT_TRUE(ReadQuoteRequest("<SmartPhone><Header/><Body><Detail gubun=\"-1\"><param key=\"A\" period=\"2\"/></Detail>"
                               "<InfoList gubun=\"x\"/><InfoList/></Body></SmartPhone>",
                               r, why));
  ASSERT_EQ(r.groups.size(), 3u);
  EXPECT_TRUE(r.groups[0].detail);
  EXPECT_EQ(r.groups[0].gubun, -1);
  EXPECT_EQ(r.groups[0].params[0].period, "2");
  EXPECT_EQ(r.groups[1].gubun, -1) << "a category that is not a number";
  EXPECT_EQ(r.groups[2].gubun, -1) << "a missing category";
}

TEST(RequestReader, RefusesWhatIsNotARequestWithinBounds) {
  QuoteRequest r;
  std::string why;
  EXPECT_FALSE(ReadQuoteRequest("", r, why));
  EXPECT_FALSE(ReadQuoteRequest("<Other><Header/></Other>", r, why));
  EXPECT_FALSE(ReadQuoteRequest("<SmartPhone><Body/></SmartPhone>", r, why));
  EXPECT_FALSE(ReadQuoteRequest("<SmartPhone><Header/><Header/></SmartPhone>", r, why));
  EXPECT_FALSE(ReadQuoteRequest("<SmartPhone><Header>", r, why));
  std::string many = "<SmartPhone><Header/><Body>";
  for (size_t i = 0; i <= kMaxGroups; ++i) many += "<InfoList gubun=\"1\"/>";
  EXPECT_FALSE(ReadQuoteRequest(many + "</Body></SmartPhone>", r, why));
  EXPECT_NE(why.find("too many"), std::string::npos);
  // Deep nesting is read without exhausting the stack.
  std::string deep = "<SmartPhone><Header/><Body>";
  for (int i = 0; i < 200000; ++i) deep += "<a>";
  EXPECT_FALSE(ReadQuoteRequest(deep, r, why));
}

TEST(AnswerWriter, EscapesTextAndKeepsTheFileNameLineShape) {
  RowFields row;
  row.gubun = 2;
  row.item = "2";
  row.code = "SPX";
  row.name = "S&P <500>";
  EXPECT_NE(RowElement(row).find("<CodeName>S&amp;P &lt;500&gt;</CodeName>"), std::string::npos);
  EXPECT_EQ(RowElement(row).rfind("<InfoList gubun=\"2\"><Code item=\"2\">SPX</Code>", 0), 0u);

  const std::string body = MultipartBody("<?xml?><SmartPhone/>", {{"a.png", "image/png", std::string("\0\1-", 3)}});
  const std::string delimiter = "--" + std::string(kBoundary);
  EXPECT_EQ(body.rfind(delimiter + "\r\nContent-Type: text/xml", 0), 0u);
  EXPECT_EQ(body.compare(0, 6, "------"), 0);
  EXPECT_NE(body.find("filename='a.png'\r\nContent-Length: 3\r\n\r\n" + std::string("\0\1-", 3) + "\r\n" + delimiter),
            std::string::npos);
  EXPECT_EQ(body.substr(body.size() - delimiter.size() - 4), delimiter + "--\r\n");
}

TEST(FileServing, PathsStayInsideTheFolder) {
  brantel::testing::TempFolder temp("quote_server_paths");
  const fs::path root = temp.path();
  fs::create_directories(root / "pub" / "sub");
  std::ofstream(root / "pub" / "sub" / "f.txt") << "x";
  std::ofstream(root / "out.txt") << "x";
  fs::create_symlink(root / "out.txt", root / "pub" / "escape.txt");
  fs::create_symlink(root / "pub" / "sub" / "f.txt", root / "pub" / "inside.txt");
  const std::string pub = (root / "pub").string();
  std::string full;
  EXPECT_TRUE(ResolveServedFile(pub, "/sub/f.txt", full));
  EXPECT_TRUE(ResolveServedFile(pub, "//sub/./f.txt", full));
  EXPECT_TRUE(ResolveServedFile(pub, "/inside.txt", full)) << "a link that stays inside is fine";
  for (const char* bad : {"/../out.txt", "/sub/../../out.txt", "/escape.txt", "/sub", "/", "sub/f.txt", "/sub\\f.txt",
                          "/missing"})
    EXPECT_FALSE(ResolveServedFile(pub, bad, full)) << bad;
  EXPECT_FALSE(ResolveServedFile("", "/sub/f.txt", full));
}

TEST(Delivery, FaultPlans) {
  DeliveryFaults f;
  EXPECT_EQ(PlanDelivery(1000, f).announced, 1000u);
  EXPECT_EQ(PlanDelivery(1000, f).sent, 1000u);
  f.truncate = true;
  EXPECT_EQ(PlanDelivery(1000, f).announced, 500u);
  EXPECT_EQ(PlanDelivery(1000, f).sent, 500u);
  f = {};
  f.close_early = true;
  EXPECT_EQ(PlanDelivery(1000, f).announced, 1000u);
  EXPECT_EQ(PlanDelivery(1000, f).sent, 500u);
  for (size_t i = 0; i < 100000; ++i) ASSERT_NE(GarbageByte(i), '-');
}

TEST(ServerOptionsParse, ReadsEveryOptionAndRejectsBadValues) {
  ServerOptions o;
  std::string error;
  ASSERT_TRUE(ParseServerOptions({"--port", "0", "--fixed-clock", "2026-12-07 10:00", "--result-code", "0", "--delay", "5",
                                  "--drip", "--close-early", "--truncate", "--garbage", "--status", "404", "--log",
                                  "--files", "/tmp", "--seed", "9", "--ranking-rows", "0"},
                                 o, error))
      << error;
  EXPECT_EQ(o.port, 0);
  EXPECT_TRUE(o.fixed_clock);
  EXPECT_EQ(o.result_code, "0");
  EXPECT_EQ(o.faults.delay_ms, 5);
  EXPECT_TRUE(o.faults.drip && o.faults.close_early && o.faults.truncate && o.faults.garbage && o.log);
  EXPECT_EQ(o.faults.status, 404);
  EXPECT_EQ(o.files_dir, "/tmp");
  EXPECT_EQ(o.seed, 9u);
  EXPECT_EQ(o.ranking_rows, 0);
  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"--port", "70000"}, {"--port"}, {"--port", "12x"}, {"--status", "99"}, {"--what"},
        {"--delay", "-1"}, {"--fixed-clock", "soon"}})
    EXPECT_FALSE(ParseServerOptions(bad, o, error)) << bad[0];
}

}  // namespace
