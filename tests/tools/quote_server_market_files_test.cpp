// A market read from the exchange's daily files, checked part by part:
// decoding and CSV reading, file names, the market built from several days,
// and the 52-week chart marks.

#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "platform/folders.h"
#include "tools/quote-server/chart_renderer.h"
#include "tools/quote-server/exchange_csv.h"
#include "tools/quote-server/file_market.h"
#include "tools/quote-server/market_folder.h"

using namespace brantel::quote_server;
namespace fs = std::filesystem;

namespace {

// Mean column of the pixels of one colour inside the plot rows of a chart.
double MeanColumnOf(const std::string& png, int r, int g, int b, int top, int bottom) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return -1;
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return -1;
  double sum = 0;
  int count = 0;
  for (int y = top; y < bottom; ++y)
    for (unsigned x = 0; x < image.width; ++x) {
      const uint8_t* p = &rgb[(size_t(y) * image.width + x) * 3];
      if (p[0] == r && p[1] == g && p[2] == b) {
        sum += x;
        ++count;
      }
    }
  return count ? sum / count : -1;
}

TEST(SmallChart, MarksTheHighestHighAndLowestLowLikeTheSummary) {
  // Falling closes (a blue line); the highest high is on bar 3, not on the
  // highest close (bar 0), so a chart marking closes puts its red mark
  // elsewhere.
  std::vector<Bar> bars;
  for (int i = 0; i < 10; ++i) {
    Bar b;
    b.index = 1000 + i;
    b.open = b.close = 100 - i;
    b.high = b.close + 1;
    b.low = b.close - 1;
    bars.push_back(b);
  }
  bars[3].high = 130;
  const std::string png = RenderSmallChart(bars, 0);
  const double expected_x = 4 + std::lround(3.0 * (kSmallChartWidth - 8 - 1) / 9.0);
  EXPECT_NEAR(MeanColumnOf(png, 238, 56, 56, 18, kSmallChartHeight - 17), expected_x, 1.0);
}

TEST(ExchangeCsv, QuotedFieldsAndSignedNumbers) {
  std::string scratch;
  const auto f = SplitCsvLine(R"("060310","3S, Inc" , plain ,"say ""hi""",)", scratch);
  ASSERT_EQ(f.size(), 5u);
  EXPECT_EQ(f[0], "060310");
  EXPECT_EQ(f[1], "3S, Inc");
  EXPECT_EQ(f[2], "plain");
  EXPECT_EQ(f[3], "say \"hi\"");
  EXPECT_EQ(f[4], "");
  EXPECT_EQ(ReadCsvNumber("-10"), -10);
  EXPECT_EQ(ReadCsvNumber("-0.41"), -0.41);
  EXPECT_EQ(ReadCsvNumber("+1,234.5"), 1234.5);
  for (const char* none : {"", "-", "abc", "12abc", "1e5", "--1", "."}) EXPECT_FALSE(ReadCsvNumber(none)) << none;
}

TEST(ExchangeCsv, FileNamesGiveTheTradingDayAndSnapshotTime) {
  const auto day = [](const char* name) { return MomentFromFileName(name); };
  EXPECT_EQ(day("data_20261203_stocks.csv")->day, DaysFromCivil(2026, 12, 3));
  EXPECT_FALSE(day("data_20261203_stocks.csv")->minute);
  EXPECT_EQ(day("전종목시세_20261204_1030.csv")->minute, 10 * 60 + 30);
  EXPECT_EQ(day("x202612040915.csv")->minute, 9 * 60 + 15);
  EXPECT_FALSE(day("s_20261204_10305.csv")->minute);  // five digits: no time
  EXPECT_EQ(day("v2_19991399_20261201.csv")->day, DaysFromCivil(2026, 12, 1));  // the first real date
  for (const char* none : {"stocks.csv", "123456789.csv", "s_20260230.csv", ""}) EXPECT_FALSE(day(none)) << none;
}

TEST(ExchangeFile, ReadsEveryEncodingAndSkipsBrokenRowsWithOneLine) {
  const std::string dir = std::string(BRANTEL_TEST_DATA_DIR) + "/market/";
  std::vector<std::string> log;
  const auto read = [&](const std::string& name, ExchangeFile& file) {
    std::string bytes, why;
    EXPECT_TRUE(brantel::ReadWholeFile(dir + name, bytes));
    return ParseExchangeFile(bytes, name, file, [&](const std::string& line) { log.push_back(line); }, why);
  };
  ExchangeFile plain, cp949, marked;
  ASSERT_TRUE(read("stocks_20261201.csv", plain));
  ASSERT_TRUE(read("전종목시세_20261202.csv", cp949));
  ASSERT_TRUE(read("data_20261203_stocks.csv", marked));
  for (const ExchangeFile* f : {&plain, &cp949, &marked}) {
    EXPECT_EQ(f->kind, FileKind::kStocks);
    ASSERT_FALSE(f->rows.empty());
    EXPECT_EQ(f->rows[0].code, "005930");
    EXPECT_EQ(f->rows[0].name, "삼성전자");
  }
  EXPECT_EQ(cp949.rows[1].change, -2500);
  EXPECT_EQ(*cp949.rows[1].rate, -1.40);
  EXPECT_EQ(marked.rows.size(), 3u);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].rfind("data_20261203_stocks.csv:4: ", 0), 0u) << log[0];

  ExchangeFile other;
  std::string why;
  EXPECT_FALSE(ParseExchangeFile("\xFF\xFE\xFF", "x_20261201.csv", other, nullptr, why));
  EXPECT_FALSE(ParseExchangeFile("a,b\n1,2\n", "x_20261201.csv", other, nullptr, why));

  // A folder that cannot be listed gives no market, so the served one stays.
  const MarketData sample;
  EXPECT_EQ(LoadMarketFolder(dir + "no-such-folder", sample, nullptr), nullptr);
  EXPECT_EQ(LoadMarketFolder(dir, sample, nullptr)->Market().MasterCount(), 3u);
}

// A stocks file of one row, built in memory.
ExchangeFile StockFile(int64_t day, std::optional<int> minute, double close, double volume) {
  ExchangeFile f;
  f.moment.day = day;
  f.moment.minute = minute;
  FileRow r;
  r.category = kStock;
  r.code = "005930";
  r.name = "삼성전자";
  r.market = "KOSPI";
  r.close = r.open = r.high = r.low = close;
  r.change = 100;
  r.volume = volume;
  f.rows.push_back(r);
  return f;
}

TEST(FileMarket, SnapshotsMakeTheDaysChartAndTheYearEndsAfterFiftyTwoWeeks) {
  const int64_t today = DaysFromCivil(2026, 12, 4);
  const MarketData sample;
  FileMarketBuilder builder(sample);
  builder.Add(StockFile(today - 365, std::nullopt, 90000, 10));  // older than 52 weeks
  builder.Add(StockFile(today - 1, std::nullopt, 70000, 10));
  builder.Add(StockFile(today, 10 * 60 + 30, 71000, 1000));
  builder.Add(StockFile(today, 11 * 60, 70500, 1500));
  const auto market = builder.Finish();
  EXPECT_EQ(FormatStamp(market->Moment(0)), "26/12/04 11:00:00");
  const Instrument* in = market->Market().Find(kStock, "005930");
  ASSERT_TRUE(in);
  const Snapshot s = market->Quote(*in, 0);
  EXPECT_EQ(s.current, 70500);
  EXPECT_EQ(s.time, "11:00:00");
  EXPECT_EQ(market->YearBars(*in, 0).size(), 2u);
  EXPECT_EQ(market->DailyQuotes(*in, 0, 20).size(), 3u);

  LargeChart chart;
  market->IntradayChart(*in, 0, 0, chart);
  ASSERT_EQ(chart.bars.size(), 2u);
  EXPECT_EQ(chart.bars[1].open, 71000);
  EXPECT_EQ(chart.bars[1].close, 70500);
  EXPECT_EQ(chart.bars[1].volume, 500);
  EXPECT_EQ(chart.bars[1].minute, 2 * 60);
}

}  // namespace
