// The reference server as the viewer meets it: real process, real sockets,
// answers read with this test's own multipart and XML parsing.

#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <pugixml.hpp>
#include <cmath>
#include <set>
#include <thread>

#include "tests/tools/quote_server_harness.h"

using namespace quote_server_test;

namespace {

constexpr const char* kClock = "2026-12-07 10:56:06";  // a Monday, market open
const std::string kList = "/hfjs-web/wm/market/MarketList.do";
const std::string kDetail = "/hfjs-web/wm/market/MarketDetail.do";
const std::string kMyPage = "/hfjs-web/wm/myPage/MyPageList.do";
const std::string kMaster = "/hfjs-web/common/MasterMain.do";

struct Answer {
  HttpReply reply;
  std::vector<Part> parts;
  pugi::xml_document xml;
  bool ok = false;

  std::string Header(const char* name) const { return xml.child("SmartPhone").child("Header").child_value(name); }
  std::vector<pugi::xml_node> Elements(const char* name) const {
    std::vector<pugi::xml_node> out;
    for (auto n : xml.child("SmartPhone").child("Body").children(name)) out.push_back(n);
    return out;
  }
};

// Posts a document and reads the answer; `ok` when it is a well-formed
// multipart body whose first part is the XML document.
void Post(int port, const std::string& path, const std::string& document, Answer& a) {
  a.reply = Exchange(port, ViewerPost(path, port, document));
  a.ok = a.reply.status == 200 && SplitMultipart(a.reply.body, a.parts) && !a.parts.empty() &&
         a.parts[0].headers.find("Content-Type: text/xml") != std::string::npos &&
         a.xml.load_buffer(a.parts[0].data.data(), a.parts[0].data.size());
}

double Number(const char* text) {
  std::string s;
  for (const char* p = text; *p; ++p)
    if (*p != ',') s += *p;
  return std::atof(s.c_str());
}

struct Picture {
  unsigned width = 0, height = 0;
  std::vector<uint8_t> rgb;
  bool Load(const std::string& bytes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return false;
    image.format = PNG_FORMAT_RGB;
    rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return false;
    width = image.width;
    height = image.height;
    return true;
  }
  int Count(bool (*test)(int r, int g, int b)) const {
    int n = 0;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) n += test(rgb[i], rgb[i + 1], rgb[i + 2]);
    return n;
  }
};

bool AllDigits(std::string_view s) { return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos; }

// "1.23", "-0.70": a signed number with two decimals.
bool IsRateText(std::string_view s) {
  if (!s.empty() && s[0] == '-') s.remove_prefix(1);
  const size_t dot = s.find('.');
  return dot != std::string_view::npos && AllDigits(s.substr(0, dot)) && s.size() == dot + 3 && AllDigits(s.substr(dot + 1));
}

bool IsStockCode(std::string_view s) { return s.size() == 6 && AllDigits(s); }

std::string FileName(const Part& p) {
  const size_t at = p.headers.find("filename='");
  if (at == std::string::npos) return {};
  const size_t end = p.headers.find('\'', at + 10);
  return p.headers.substr(at + 10, end - at - 10);
}

class QuoteServerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server_ = new ServerProcess({"--fixed-clock", kClock}); }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  int port() const { return server_->port(); }
  static ServerProcess* server_;
};
ServerProcess* QuoteServerTest::server_ = nullptr;

TEST_F(QuoteServerTest, StartsOnAFreePortAndAnswersAnIndexListInTheViewersFormat) {
  ASSERT_GT(port(), 0) << server_->first_line();
  Answer a;
  Post(port(), kList, Document("L", "<InfoList gubun=\"2\"> </InfoList> "), a);
  ASSERT_TRUE(a.ok) << a.reply.head << "\n" << a.reply.body.substr(0, 400);
  // Multipart as the reader splits it: the body starts with the delimiter,
  // whose boundary begins with four dashes, and the length is exact.
  EXPECT_EQ(a.reply.body.compare(0, 6, "------"), 0);
  EXPECT_EQ(size_t(a.reply.content_length), a.reply.body.size());
  EXPECT_NE(a.reply.head.find("Content-Type: multipart/"), std::string::npos);
  EXPECT_EQ(a.Header("ResultCode"), "1");
  EXPECT_FALSE(a.Header("ResultDesc").empty());
  EXPECT_EQ(a.Header("Layout"), "L");
  EXPECT_EQ(a.Header("Msisdn"), "01012345678");
  // The stamp reads "MM/DD hh:mm" from its fourth character on.
  EXPECT_EQ(a.Header("ServerDate"), "26/12/07 10:56:06");
  EXPECT_EQ(a.Header("ServerDate").substr(3, 11), "12/07 10:56");

  const auto rows = a.Elements("InfoList");
  ASSERT_EQ(rows.size(), 20u);
  std::string last_group;
  std::set<std::string> groups;
  for (const auto& r : rows) {
    EXPECT_STREQ(r.attribute("gubun").value(), "2");
    const std::string group = r.child("Code").attribute("item").value();
    EXPECT_GE(group, last_group) << "rows are grouped";
    last_group = group;
    groups.insert(group);
    EXPECT_NE(r.child_value("Code")[0], '\0');
    EXPECT_NE(r.child_value("CodeName")[0], '\0');
    EXPECT_GT(Number(r.child_value("CurrentPrc")), 0);
    EXPECT_TRUE(IsRateText(r.child_value("Rate"))) << r.child_value("Rate");
    EXPECT_EQ(std::string(r.child_value("Date")), "26/12/07");
    EXPECT_EQ(std::string(r.child_value("Time")), "10:56:06");
  }
  EXPECT_EQ(groups, (std::set<std::string>{"0", "1", "2", "3"}));
  // The change and the rate agree in sign.
  for (const auto& r : rows) {
    const double daebi = Number(r.child_value("Daebi")), rate = Number(r.child_value("Rate"));
    EXPECT_TRUE((daebi > 0) == (rate > 0) || rate == 0) << r.child_value("Code");
  }
}

TEST_F(QuoteServerTest, ExchangeRatesAreQuotedInTheRequestedStandardCurrency) {
  const auto rates = [&](const std::string& standard) {
    Answer a;
    Post(port(), kList, Document("L", "<InfoList gubun=\"3\"> <param key=\"" + standard + "\" item=\"" + standard + "\" /> </InfoList> "), a);
    EXPECT_TRUE(a.ok);
    std::map<std::string, double> out;
    for (const auto& r : a.Elements("InfoList")) {
      EXPECT_STREQ(r.attribute("gubun").value(), "3");
      out[r.child_value("Code")] = Number(r.child_value("CurrentPrc"));
    }
    return out;
  };
  auto krw = rates("FX@KRW");
  auto usd = rates("FX@USD");
  ASSERT_TRUE(krw.count("FX@USD") && krw.count("FX@EUR") && krw.count("FX@JPY"));
  EXPECT_GT(krw["FX@USD"], 800);
  EXPECT_LT(krw["FX@USD"], 2500);
  EXPECT_DOUBLE_EQ(usd["FX@USD"], 1.0);
  EXPECT_NEAR(usd["FX@EUR"], krw["FX@EUR"] / krw["FX@USD"], 0.01);
  EXPECT_NEAR(usd["FX@KRW"] * krw["FX@USD"], 1.0, 0.01);
  // An unknown standard currency falls back to the won instead of failing.
  EXPECT_EQ(rates("FX@XXX"), krw);
}

TEST_F(QuoteServerTest, RatesAndCommoditiesComeInTheirGroups) {
  Answer rates, goods;
  Post(port(), kList, Document("L", "<InfoList gubun=\"4\"> </InfoList> "), rates);
  Post(port(), kList, Document("L", "<InfoList gubun=\"5\"> </InfoList> "), goods);
  ASSERT_TRUE(rates.ok && goods.ok);
  std::set<std::string> rate_groups, goods_groups;
  for (const auto& r : rates.Elements("InfoList")) rate_groups.insert(r.child("Code").attribute("item").value());
  for (const auto& r : goods.Elements("InfoList")) goods_groups.insert(r.child("Code").attribute("item").value());
  EXPECT_EQ(rate_groups, (std::set<std::string>{"0", "1", "2", "3"}));
  EXPECT_EQ(goods_groups, (std::set<std::string>{"0", "1", "2"}));  // Energy, Metals, Agriculture
}

TEST_F(QuoteServerTest, RankingsListStocksAndDifferBySubKind) {
  std::vector<std::vector<std::string>> orders;
  for (const char* kind : {"0", "1", "2"}) {
    Answer a;
    Post(port(), kList, Document("L", std::string("<InfoList gubun=\"6\"> <param item=\"") + kind + "\" /> </InfoList> "), a);
    ASSERT_TRUE(a.ok);
    std::vector<std::string> codes;
    for (const auto& r : a.Elements("InfoList")) {
      EXPECT_STREQ(r.attribute("gubun").value(), "1");
      EXPECT_STREQ(r.child("Code").attribute("item").value(), "0");
      EXPECT_TRUE(IsStockCode(r.child_value("Code")));
      codes.push_back(r.child_value("Code"));
    }
    EXPECT_EQ(codes.size(), 100u);
    orders.push_back(codes);
  }
  EXPECT_NE(orders[0], orders[1]);
  EXPECT_NE(orders[0], orders[2]);
  // The market-capitalisation ranking is led by the largest company.
  EXPECT_EQ(orders[2][0], "005930");
}

TEST_F(QuoteServerTest, StockDetailCarriesEveryFieldDailyRowsAndTwoCharts) {
  Answer a;
  Post(port(), kDetail, Document("D", "<Detail gubun=\"1\"> <param key=\"005930\" item=\"0\" period=\"3\" /> </Detail> "), a);
  ASSERT_TRUE(a.ok);
  EXPECT_EQ(a.Header("Layout"), "D");
  EXPECT_EQ(a.Header("ResultCode"), "1");
  const auto details = a.Elements("Detail");
  ASSERT_EQ(details.size(), 1u);
  const auto d = details[0];
  EXPECT_STREQ(d.child_value("Code"), "005930");
  EXPECT_STREQ(d.child("Code").attribute("item").value(), "0");
  EXPECT_STREQ(d.child("Code").attribute("period").value(), "3");
  EXPECT_STREQ(d.child_value("CodeName"), "삼성전자");
  for (const char* field : {"CurrentPrc", "Daebi", "Rate", "High", "Low", "TradeAmt", "YesterdayPrc", "OpenPrc", "High52",
                            "High52Date", "Low52", "Low52Date", "Date", "Time"})
    EXPECT_NE(d.child_value(field)[0], '\0') << field;
  const double price = Number(d.child_value("CurrentPrc"));
  EXPECT_LE(Number(d.child_value("Low")), price);
  EXPECT_GE(Number(d.child_value("High")), price);
  EXPECT_GE(Number(d.child_value("High52")), Number(d.child_value("High")));
  EXPECT_LE(Number(d.child_value("Low52")), Number(d.child_value("Low")));
  EXPECT_DOUBLE_EQ(price - Number(d.child_value("YesterdayPrc")), Number(d.child_value("Daebi")));
  EXPECT_EQ(std::fmod(price, 100), 0) << "a price of this size moves in ticks of 100";

  // Daily rows, newest first, month and day at the fourth to eighth character.
  const auto days = a.Elements("InfoList");
  ASSERT_EQ(days.size(), 20u);
  EXPECT_EQ(std::string(days[0].child_value("Date")).substr(3, 5), "12/07");
  EXPECT_EQ(std::string(days[1].child_value("Date")).substr(3, 5), "12/04");  // the Friday before
  EXPECT_EQ(Number(days[0].child_value("CurrentPrc")), price);
  for (size_t i = 1; i < days.size(); ++i) EXPECT_LT(std::string(days[i].child_value("Date")), days[i - 1].child_value("Date"));

  // Two PNG parts after the XML: the small chart first, then the large one.
  ASSERT_EQ(a.parts.size(), 3u);
  const unsigned sizes[2][2] = {{200, 116}, {800, 398}};
  for (int i = 0; i < 2; ++i) {
    const Part& p = a.parts[size_t(i) + 1];
    EXPECT_NE(p.headers.find("Content-Type: image/png"), std::string::npos);
    EXPECT_NE(p.headers.find("'\r\nContent-Length: " + std::to_string(p.data.size())), std::string::npos)
        << "the name ends with quote and line end, then the exact length";
    EXPECT_FALSE(FileName(p).empty());
    Picture pic;
    ASSERT_TRUE(pic.Load(p.data));
    EXPECT_EQ(pic.width, sizes[i][0]);
    EXPECT_EQ(pic.height, sizes[i][1]);
    EXPECT_LT(pic.rgb[0] + pic.rgb[1] + pic.rgb[2], 60) << "dark background";
  }
  Picture large;
  ASSERT_TRUE(large.Load(a.parts[2].data));
  // Red rising and blue falling candles are both there.
  EXPECT_GT(large.Count([](int r, int g, int b) { return r > 200 && g < 90 && b < 90; }), 200);
  EXPECT_GT(large.Count([](int r, int, int b) { return b > 200 && r < 90; }), 200);
  EXPECT_NE(FileName(a.parts[1]), FileName(a.parts[2]));
}

TEST_F(QuoteServerTest, EveryPeriodRendersALargeChartAndIndicesHaveDetails) {
  for (const char* period : {"0", "1", "2", "4"}) {
    Answer a;
    Post(port(), kDetail, Document("D", std::string("<Detail gubun=\"2\"> <param key=\"KOSPI\" item=\"0\" period=\"") + period + "\" /> </Detail> "), a);
    ASSERT_TRUE(a.ok) << period;
    EXPECT_STREQ(a.Elements("Detail").at(0).child_value("CodeName"), "코스피");
    ASSERT_EQ(a.parts.size(), 3u) << period;
    Picture pic;
    ASSERT_TRUE(pic.Load(a.parts[2].data));
    EXPECT_EQ(pic.width, 800u);
  }
}

TEST_F(QuoteServerTest, UnknownDetailCodeIsRefusedWithoutFiles) {
  Answer a;
  Post(port(), kDetail, Document("D", "<Detail gubun=\"1\"> <param key=\"000000\" item=\"0\" period=\"2\" /> </Detail> "), a);
  ASSERT_TRUE(a.ok);
  EXPECT_EQ(a.Header("ResultCode"), "0");
  EXPECT_NE(a.Header("ResultDesc").find("000000"), std::string::npos);
  EXPECT_EQ(a.parts.size(), 1u);
}

TEST_F(QuoteServerTest, MyPageAnswersOneRowPerGroupInOrder) {
  Answer a;
  Post(port(), kMyPage,
       Document("L",
                "<InfoList gubun=\"2\"> <param key=\"KOSPI\" item=\"0\" /> </InfoList> "
                "<InfoList gubun=\"3\"> <param key=\"FX@USD\" item=\"FX@KRW\" /> </InfoList> "
                "<InfoList gubun=\"1\"> <param key=\"000660\" item=\"0\" /> </InfoList> "
                "<InfoList gubun=\"1\"> <param key=\"999999\" item=\"0\" /> </InfoList> ",
                "26/12/07 09:10:00"),
       a);
  ASSERT_TRUE(a.ok);
  const auto rows = a.Elements("InfoList");
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_STREQ(rows[0].child_value("Code"), "KOSPI");
  EXPECT_STREQ(rows[0].attribute("gubun").value(), "2");
  EXPECT_STREQ(rows[1].child_value("Code"), "FX@USD");
  EXPECT_GT(Number(rows[1].child_value("CurrentPrc")), 800);  // in won
  EXPECT_STREQ(rows[2].child_value("CodeName"), "SK하이닉스");
  // An unknown code keeps its place, without a quote.
  EXPECT_STREQ(rows[3].child_value("Code"), "999999");
  EXPECT_STREQ(rows[3].child_value("CurrentPrc"), "");
}

TEST_F(QuoteServerTest, MasterFileIsSentOnlyWhenTheCountDiffers) {
  Answer a;
  Post(port(), kMaster, Document("L", "<InfoList gubun=\"0\"> <param item=\"0\" /> </InfoList> "), a);
  ASSERT_TRUE(a.ok);
  ASSERT_EQ(a.Elements("InfoList").size(), 1u);
  ASSERT_EQ(a.parts.size(), 2u);
  const Part& file = a.parts[1];
  EXPECT_NE(file.headers.find("Content-Type: text/plain"), std::string::npos);
  EXPECT_NE(file.headers.find("filename='"), std::string::npos);
  std::istringstream lines(file.data);
  std::string line;
  size_t count = 0, kospi = 0, kosdaq = 0;
  std::set<std::string> codes;
  while (std::getline(lines, line)) {
    // code|name|market| with a six-digit code and a KOSPI or KOSDAQ market.
    const size_t bar1 = line.find('|'), bar2 = line.find('|', bar1 + 1), bar3 = line.find('|', bar2 + 1);
    ASSERT_TRUE(bar1 != std::string::npos && bar2 != std::string::npos && bar3 == line.size() - 1) << line;
    const std::string code = line.substr(0, bar1), name = line.substr(bar1 + 1, bar2 - bar1 - 1),
                      market = line.substr(bar2 + 1, bar3 - bar2 - 1);
    EXPECT_TRUE(IsStockCode(code)) << line;
    EXPECT_FALSE(name.empty()) << line;
    ASSERT_TRUE(market == "KOSPI" || market == "KOSDAQ") << line;
    EXPECT_TRUE(codes.insert(code).second) << "repeated code " << code;
    (market == "KOSPI" ? kospi : kosdaq)++;
    ++count;
  }
  EXPECT_GE(count, 2500u);
  EXPECT_GT(kospi, 500u);
  EXPECT_GT(kosdaq, 500u);
  EXPECT_NE(file.data.find("005930|삼성전자|KOSPI|\n"), std::string::npos);
  EXPECT_EQ(a.Elements("InfoList")[0].child_value("CurrentPrc"), std::to_string(count));

  Answer same;
  Post(port(), kMaster, Document("L", "<InfoList gubun=\"0\"> <param item=\"" + std::to_string(count) + "\" /> </InfoList> "), same);
  ASSERT_TRUE(same.ok);
  EXPECT_EQ(same.Header("ResultCode"), "1");
  EXPECT_TRUE(same.Elements("InfoList").empty());
  EXPECT_EQ(same.parts.size(), 1u);
}

TEST_F(QuoteServerTest, ManyGroupsCannotMultiplyTheAnswer) {
  // Repeated master groups answer with the master file once, not once each.
  std::string groups;
  for (int i = 0; i < 400; ++i) groups += "<InfoList gubun=\"0\"> <param item=\"0\" /> </InfoList> ";
  Answer master;
  Post(port(), kMaster, Document("L", groups), master);
  ASSERT_TRUE(master.ok);
  EXPECT_EQ(master.Header("ResultCode"), "1");
  EXPECT_EQ(master.parts.size(), 2u);

  // Whole rankings repeated beyond a sane answer size are refused, and the
  // server stays up.
  ServerProcess every_row({"--fixed-clock", kClock, "--ranking-rows", "0"});
  groups.clear();
  for (int i = 0; i < 100; ++i) groups += "<InfoList gubun=\"6\"> <param item=\"0\" /> </InfoList> ";
  Answer refused;
  Post(every_row.port(), kList, Document("L", groups), refused);
  ASSERT_TRUE(refused.ok);
  EXPECT_EQ(refused.Header("ResultCode"), "0");
  EXPECT_LT(refused.reply.body.size(), size_t(1) << 20);
  Answer one;
  Post(every_row.port(), kList, Document("L", "<InfoList gubun=\"6\"> <param item=\"0\" /> </InfoList> "), one);
  ASSERT_TRUE(one.ok);
  EXPECT_EQ(one.Header("ResultCode"), "1");
  EXPECT_GE(one.Elements("InfoList").size(), 2500u);
}

TEST_F(QuoteServerTest, UnreadableDocumentsAreRefusedAndTheServerStaysUp) {
  for (const std::string& doc : {std::string("not xml at all"), std::string("<SmartPhone><Body/></SmartPhone>"),
                                std::string("<?xml version=\"1.0\"?><SmartPhone><Header/><Header/></SmartPhone>"),
                                std::string(5000, '<')}) {
    Answer a;
    Post(port(), kList, doc, a);
    ASSERT_TRUE(a.ok) << doc.substr(0, 40);
    EXPECT_EQ(a.Header("ResultCode"), "0");
    EXPECT_FALSE(a.Header("ResultDesc").empty());
  }
  // A body beyond the bound is refused without being read into memory.
  const HttpReply big = Exchange(port(), ViewerPost(kList, port(), std::string(3 << 20, 'x')));
  EXPECT_EQ(big.status, 413);
  Answer after;
  Post(port(), kList, Document("L", "<InfoList gubun=\"2\"> </InfoList> "), after);
  EXPECT_TRUE(after.ok);
}

TEST_F(QuoteServerTest, ConcurrentRequestsAllGetWholeAnswers) {
  // Details render charts with shared fonts; rankings share the quote cache.
  const std::string detail = Document("D", "<Detail gubun=\"1\"> <param key=\"035720\" item=\"0\" period=\"4\" /> </Detail> ");
  const std::string ranking = Document("L", "<InfoList gubun=\"6\"> <param item=\"2\" /> </InfoList> ");
  std::vector<std::thread> threads;
  std::vector<int> good(12, 0);
  for (size_t i = 0; i < good.size(); ++i) {
    threads.emplace_back([&, i] {
      Answer a;
      Post(port(), i % 2 ? kDetail : kList, i % 2 ? detail : ranking, a);
      good[i] = a.ok && a.Header("ResultCode") == "1" && a.parts.size() == (i % 2 ? 3u : 1u);
    });
  }
  for (auto& t : threads) t.join();
  for (size_t i = 0; i < good.size(); ++i) EXPECT_TRUE(good[i]) << i;
}

TEST(QuoteServerClock, PricesAreDeterministicAndMoveWithTheClock) {
  const std::string doc = Document("L", "<InfoList gubun=\"6\"> <param item=\"0\" /> </InfoList> ");
  const auto body = [&](const std::vector<std::string>& args) {
    ServerProcess s(args);
    const HttpReply r = Exchange(s.port(), ViewerPost(kList, s.port(), doc));
    std::vector<Part> parts;
    EXPECT_TRUE(SplitMultipart(r.body, parts));
    return parts.empty() ? std::string() : parts[0].data;
  };
  const std::string first = body({"--fixed-clock", "2026-12-07 10:00"});
  EXPECT_EQ(first, body({"--fixed-clock", "2026-12-07 10:00"}));
  EXPECT_NE(first, body({"--fixed-clock", "2026-12-07 11:00"}));
  EXPECT_NE(first, body({"--fixed-clock", "2026-12-07 10:00", "--seed", "7"}));
}

TEST(QuoteServerOptions, BadOptionsStopWithUsage) {
  ServerProcess s({"--fixed-clock", "2026-02-30 10:00"});
  EXPECT_EQ(s.port(), 0);
  EXPECT_EQ(s.WaitExit(), 2);
  EXPECT_NE(s.Log().find("--fixed-clock"), std::string::npos);

  ServerProcess no_folder({"--files", "/nonexistent/brantel-release"});
  EXPECT_EQ(no_folder.port(), 0);
  EXPECT_EQ(no_folder.WaitExit(), 2);
}

}  // namespace
