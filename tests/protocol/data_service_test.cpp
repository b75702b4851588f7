// The request routines against a loopback server that records each request
// and answers with a prepared multipart body.

#include <gtest/gtest.h>
#include <stdlib.h>

#include "platform/folders.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/window.h"
#include "protocol/app_messages.h"
#include "protocol/device_identity.h"
#include "protocol/last_update.h"
#include "protocol/market_requests.h"
#include "protocol/request_settings.h"
#include "protocol/row_key.h"
#include "protocol/standard_currency.h"
#include "tests/support/loopback_http_server.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

using testing_support::LoopbackServer;
using testing_support::OkAnswer;
using testing_support::SendText;

std::string Corpus(const std::string& name) {
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(std::string(BRANTEL_TEST_DATA_DIR) + "/multipart/" + name, bytes)) << name;
  return bytes;
}

std::string Refusal() {
  return "------B\r\nContent-Type: text/xml\r\n\r\n<?xml version=\"1.0\"?><SmartPhone><Header><Layout>L</Layout>"
         "<ServerDate>99/99/99</ServerDate><ResultCode>0</ResultCode></Header><Body/></SmartPhone>\r\n------B--\r\n";
}

// The request body the server received (behind the head).
std::string BodyOf(const std::string& request) { return request.substr(request.find("\r\n\r\n") + 4); }
std::string PathOf(const std::string& request) { return request.substr(5, request.find(' ', 5) - 5); }

const std::string kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><SmartPhone><Header><Layout>L</Layout><Msisdn>01099990000</Msisdn>"
    "<Os>WM6.1</Os><Filler></Filler><Version>1.0</Version>";

class ListWindow : public MarketListTarget {
 public:
  ListWindow(int32_t category, int32_t sub_kind, HWND owner) : category_(category), sub_kind_(sub_kind), owner_(owner) {}
  int32_t category() const override { return category_; }
  int32_t sub_kind() const override { return sub_kind_; }
  HWND owner() const override { return owner_; }
  WideText LastUpdate() const override { return stamp_; }
  void SetLastUpdate(WideView stamp) override { stamp_ = WideText(stamp); }
  void OnRequestRunning(bool running) override { busy_ = running; }
  void ReceiveRows(std::vector<StockRecord>&& rows) override {
    EXPECT_TRUE(busy_);
    rows_ = std::move(rows);
  }
  int32_t category_, sub_kind_;
  HWND owner_;
  WideText stamp_;
  bool busy_ = false;
  std::vector<StockRecord> rows_;
};

class DataService : public ::testing::Test {
 protected:
  void SetUp() override {
    SetProgramFolderForTesting(home_ + "/");
    SetDevicePhoneNumber(u"01099990000");
    server_ = std::make_unique<LoopbackServer>([this](int fd, const std::string&) { SendText(fd, OkAnswer(answer_)); });
    SetInformationServer(u"127.0.0.1", server_->port());
    window_ = std::make_unique<MessageOnlyWindow>([this](uint32_t message, WPARAM wParam, LPARAM lParam) -> LRESULT {
      // Only the data service's own messages matter here.
      if (message != WM_ENSURE_CONNECTION && message != WM_LIST_UPDATE_END) return 0;
      Message m;
      m.message = message;
      m.wParam = wParam;
      m.lParam = lParam;
      seen_.push_back(m);
      return 0;
    });
  }
  void TearDown() override {
    server_.reset();
    window_.reset();
    SetProgramFolderForTesting("");
  }

  // Messages the window got, after handling what is queued.
  std::vector<Message> Drain() {
    Message msg;
    while (PeekMessage(&msg, 0, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
    return std::exchange(seen_, {});
  }

  testing::TempDataFolder data_folder_{"brantel_service"};
  const std::string home_ = data_folder_.path();
  std::string answer_ = Corpus("list_answer.bin");
  std::unique_ptr<LoopbackServer> server_;
  std::unique_ptr<MessageOnlyWindow> window_;
  std::vector<Message> seen_;
};

TEST_F(DataService, MarketListStampCycle) {
  ListWindow indices(2, 0, window_->hwnd());
  EXPECT_EQ(FetchMarketList(indices), 1);
  EXPECT_FALSE(indices.busy_);
  EXPECT_EQ(PathOf(server_->last_request()), "/hfjs-web/wm/market/MarketList.do");
  EXPECT_EQ(BodyOf(server_->last_request()),
            kHead + "<ServerDate></ServerDate> </Header> <Body> <InfoList gubun=\"2\"> </InfoList>  </Body>  </SmartPhone>");
  ASSERT_EQ(indices.rows_.size(), 3u);
  EXPECT_EQ(indices.rows_[0].codename, u"코스피");
  EXPECT_EQ(indices.stamp_, u"2026/12/07 09:41:05");
  EXPECT_EQ(LastUpdateStamp(u"", 2, 0, true), u"2026/12/07 09:41:05");
  // No main window: the connection check goes to the owner, then the end.
  std::vector<Message> got = Drain();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].message, WM_ENSURE_CONNECTION);
  EXPECT_EQ(got[1].message, WM_LIST_UPDATE_END);
  EXPECT_EQ(got[1].wParam, 2u);
  EXPECT_EQ(got[1].lParam, 1);

  // The next request carries the stamp.
  EXPECT_EQ(FetchMarketList(indices), 1);
  EXPECT_NE(BodyOf(server_->last_request()).find("<ServerDate>2026/12/07 09:41:05</ServerDate>"), std::string::npos);

  // A refusal leaves rows and stamp as they were and reports LPARAM 0.
  answer_ = Refusal();
  indices.rows_.clear();
  Drain();
  EXPECT_EQ(FetchMarketList(indices), 0);
  EXPECT_TRUE(indices.rows_.empty());
  EXPECT_EQ(indices.stamp_, u"2026/12/07 09:41:05");
  EXPECT_EQ(LastUpdateStamp(u"", 2, 0, true), u"2026/12/07 09:41:05");
  got = Drain();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[1].lParam, 0);
}

TEST_F(DataService, ExchangeAndRankingParameters) {
  WideText code, item;
  StandardCurrency(code, item, true);  // fresh: "FX@KRW" for both, written back
  ListWindow exchange(3, 0, window_->hwnd());
  EXPECT_EQ(FetchMarketList(exchange), 1);
  EXPECT_NE(BodyOf(server_->last_request()).find("<InfoList gubun=\"3\"> <param key=\"FX@KRW\" item=\"FX@KRW\" /> </InfoList>"),
            std::string::npos);

  ListWindow value_ranking(6, 1, window_->hwnd());
  EXPECT_EQ(FetchMarketList(value_ranking), 1);
  EXPECT_NE(BodyOf(server_->last_request()).find("<InfoList gubun=\"6\"> <param item=\"1\" /> </InfoList>"),
            std::string::npos);
  EXPECT_EQ(LastUpdateStamp(u"", 6, 1, true), u"2026/12/07 09:41:05");
  EXPECT_EQ(LastUpdateStamp(u"", 6, 0, true), u"");
  Drain();
}

TEST_F(DataService, NoServerReportsTheTransportError) {
  server_.reset();  // nothing listens on the port any more
  ListWindow rates(4, 0, window_->hwnd());
  EXPECT_EQ(FetchMarketList(rates), 4001);
  EXPECT_FALSE(rates.busy_);
  const std::vector<Message> got = Drain();
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got.back().message, WM_LIST_UPDATE_END);
  EXPECT_EQ(got.back().lParam, 0);
}

TEST_F(DataService, MainWindowGetsTheConnectionCheck) {
  int checks = 0;
  MessageOnlyWindow main([&](uint32_t message, WPARAM, LPARAM) -> LRESULT {
    if (message == WM_ENSURE_CONNECTION) ++checks;
    return 0;
  });
  SetMainWindow(main.hwnd());
  ListWindow indices(2, 0, window_->hwnd());
  FetchMarketList(indices);
  SetMainWindow(0);
  EXPECT_EQ(checks, 1);
  for (const Message& m : Drain()) EXPECT_NE(m.message, WM_ENSURE_CONNECTION);
}

TEST_F(DataService, DetailRequestAndAnswer) {
  answer_ = Corpus("detail_answer_charts.bin");
  DetailAnswer out;
  EXPECT_EQ(FetchDetail(u"", 1, u"1", 2, 0, out), 0);
  EXPECT_EQ(FetchDetail(u"005930", -1, u"1", 2, 0, out), 0);
  EXPECT_EQ(server_->connections(), 0);  // no traffic for bad input

  EXPECT_EQ(FetchDetail(u"005930", 1, u"1", 2, 0, out), 1);
  EXPECT_EQ(PathOf(server_->last_request()), "/hfjs-web/wm/market/MarketDetail.do");
  std::string expected = kHead + "<ServerDate></ServerDate> </Header> <Body> <Detail gubun=\"1\"> "
                                 "<param key=\"005930\" item=\"1\" period=\"2\" /> </Detail>  </Body>  </SmartPhone>";
  expected.replace(expected.find("<Layout>L"), 9, "<Layout>D");
  EXPECT_EQ(BodyOf(server_->last_request()), expected);
  ASSERT_TRUE(out.detail.has_value());
  EXPECT_EQ(out.detail->codename, u"한빛전자");
  EXPECT_EQ(out.daily.size(), 3u);
  ASSERT_EQ(out.attachments.size(), 2u);
  EXPECT_EQ(out.attachments[0], Widen(home_ + "/TEMP/chart52.png"));
  EXPECT_TRUE(FileExists(home_ + "/TEMP/chart_2.png"));

  answer_ = Refusal();
  EXPECT_EQ(FetchDetail(u"005930", 1, u"1", 3, 0, out), 0);
  EXPECT_EQ(out.daily.size(), 3u);  // untouched
}

TEST_F(DataService, MyPageSingleCodeAndMaster) {
  const std::vector<WideText> entries = {
      BuildRowKey(u"0001", 2, u"0", u"1", u"코스피", u"▲"),
      u"broken",
      BuildRowKey(u"FX@USD", 3, u"0", u"1", u"미국 달러", u""),
  };
  std::vector<StockRecord> rows;
  WideText stamp;
  EXPECT_EQ(FetchMyPageList({}, u"", 0, &rows, stamp), 0);
  EXPECT_EQ(FetchMyPageList(entries, u"S1", 0, &rows, stamp), 1);
  EXPECT_EQ(PathOf(server_->last_request()), "/hfjs-web/wm/myPage/MyPageList.do");
  EXPECT_EQ(BodyOf(server_->last_request()),
            kHead + "<ServerDate>S1</ServerDate> </Header> <Body> <InfoList gubun=\"2\"> <param key=\"0001\" item=\"0\" />"
                    " </InfoList> <InfoList gubun=\"3\"> <param key=\"FX@USD\" item=\"FX@KRW\" /> </InfoList>  </Body>  </SmartPhone>");
  // The answer's rows of codes nobody asked for stay out.
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].code, u"0001");
  EXPECT_EQ(stamp, u"2026/12/07 09:41:05");

  SingleCodeAnswer single;
  EXPECT_EQ(RequestSingleCode(u"005930", 1, u"", u"/p", 0, single), 0);
  EXPECT_EQ(RequestSingleCode(u"005930", 1, u"0", u"/hfjs-web/wm/myPage/MyPageList.do", 0, single), 1);
  EXPECT_NE(BodyOf(server_->last_request()).find("<ServerDate></ServerDate> </Header> <Body> <InfoList gubun=\"1\"> "
                                                 "<param key=\"005930\" item=\"0\" /> </InfoList>"),
            std::string::npos);
  ASSERT_TRUE(single.first.has_value());
  EXPECT_EQ(single.first->code, u"0001");

  answer_ = Corpus("master_answer.bin");
  int32_t error = -1;
  auto master = FetchMaster(2512, u"M1", 0, &error);
  ASSERT_NE(master, nullptr);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(PathOf(server_->last_request()), "/hfjs-web/common/MasterMain.do");
  EXPECT_NE(BodyOf(server_->last_request()).find("<ServerDate>M1</ServerDate> </Header> <Body> <InfoList gubun=\"0\"> "
                                                 "<param item=\"2512\" /> </InfoList>"),
            std::string::npos);
  ASSERT_EQ(master->AttachmentCount(), 1u);
  EXPECT_EQ(master->AttachmentAt(0)->path, Widen(home_ + "/TEMP/masterinfo"));
}

}  // namespace
}  // namespace brantel
