// The request routines against the project's reference information server
// on 127.0.0.1, with its clock pinned so every answer is the same.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>

#include "platform/folders.h"
#include "protocol/categories.h"
#include "protocol/device_identity.h"
#include "protocol/market_requests.h"
#include "protocol/request_settings.h"
#include "tests/support/quote_server_process.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

class List : public MarketListTarget {
 public:
  List(int32_t category, int32_t sub_kind) : category_(category), sub_kind_(sub_kind) {}
  int32_t category() const override { return category_; }
  int32_t sub_kind() const override { return sub_kind_; }
  HWND owner() const override { return 0; }
  WideText LastUpdate() const override { return stamp_; }
  void SetLastUpdate(WideView stamp) override { stamp_ = WideText(stamp); }
  void OnRequestRunning(bool running) override { busy_ = running; }
  void ReceiveRows(std::vector<StockRecord>&& rows) override { rows_ = std::move(rows); }
  int32_t category_, sub_kind_;
  WideText stamp_;
  bool busy_ = false;
  std::vector<StockRecord> rows_;
};

class ReferenceServer : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!FileExists(testing::BinDir() + "/brantel-quote-server")) return;
    server_ = new testing::QuoteServerProcess({"--fixed-clock", "2026-12-07 10:56"});
  }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  void SetUp() override {
    if (!server_ || server_->port() <= 0) GTEST_SKIP() << "brantel-quote-server is not built";
    home_.emplace("brantel_reference");
    ASSERT_FALSE(home_->path().empty());
    SetProgramFolderForTesting(home_->path() + "/");
    SetDevicePhoneNumber(u"");
    SetInformationServer(u"127.0.0.1", server_->port());
  }
  void TearDown() override {
    SetProgramFolderForTesting("");
    home_.reset();
  }

  static testing::QuoteServerProcess* server_;
  std::optional<testing::TempDataFolder> home_;
};
testing::QuoteServerProcess* ReferenceServer::server_ = nullptr;

TEST_F(ReferenceServer, EveryMarketList) {
  for (int32_t category : {2, 3, 4, 5}) {
    List list(category, 0);
    ASSERT_EQ(FetchMarketList(list), 1) << category;
    ASSERT_FALSE(list.rows_.empty()) << category;
    EXPECT_EQ(list.stamp_.substr(3, 11), u"12/07 10:56") << category;
    for (const StockRecord& r : list.rows_) {
      EXPECT_EQ(r.gubun, category);
      EXPECT_FALSE(GroupName(category, r.item).empty()) << Narrow(r.code);
      EXPECT_FALSE(r.codename.empty());
    }
  }
  List ranking(6, 2);
  ASSERT_EQ(FetchMarketList(ranking), 1);
  ASSERT_EQ(ranking.rows_.size(), 100u);
  EXPECT_EQ(ranking.rows_[0].gubun, 1);
}

TEST_F(ReferenceServer, DetailWithChartsMyPageAndMaster) {
  DetailAnswer detail;
  ASSERT_EQ(FetchDetail(u"005930", 1, u"0", 4, 0, detail), 1);
  ASSERT_TRUE(detail.detail.has_value());
  EXPECT_EQ(detail.detail->code, u"005930");
  EXPECT_FALSE(detail.detail->high52.empty());
  EXPECT_EQ(detail.daily.size(), 20u);
  ASSERT_EQ(detail.attachments.size(), 2u);
  for (const WideText& path : detail.attachments) {
    std::string png;
    ASSERT_TRUE(ReadWholeFile(Narrow(path), png));
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(Narrow(path).rfind(home_->path() + "/TEMP/", 0), 0u);
  }

  std::vector<StockRecord> rows;
  WideText stamp;
  ASSERT_EQ(FetchMyPageList({u"005930^1^0^1^x^", u"FX@USD^3^0^1^y^"}, u"", 0, &rows, stamp), 1);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].code, u"FX@USD");

  int32_t error = -1;
  auto master = FetchMaster(0, u"", 0, &error);
  ASSERT_NE(master, nullptr);
  ASSERT_EQ(master->AttachmentCount(), 1u);
  std::string lines;
  ASSERT_TRUE(ReadWholeFile(Narrow(master->AttachmentAt(0)->path), lines));
  const size_t count = size_t(std::count(lines.begin(), lines.end(), '\n'));
  EXPECT_GE(count, 2500u);
  auto same = FetchMaster(int(count), u"", 0, &error);
  ASSERT_NE(same, nullptr);
  EXPECT_EQ(same->ItemCount(), 0u);
  EXPECT_EQ(same->AttachmentCount(), 0u);
}

}  // namespace
}  // namespace brantel
