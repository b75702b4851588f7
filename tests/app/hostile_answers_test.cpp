// Answers a hostile or broken information server may send, seen through the
// real market screen: far more rows than any list has, and texts of
// megabytes. The screen keeps the first rows and short texts, and the test
// process (the screen, its list and its cache save) stays within the
// viewer's memory bound. The figure is printed.

#include <fstream>
#include <sstream>

#include "protocol/answer_limits.h"
#include "tests/app/market_test_support.h"
#include "tests/support/loopback_http_server.h"

namespace brantel::testing {
namespace {

using testing_support::LoopbackServer;
using testing_support::OkAnswer;
using testing_support::SendText;

// Resident memory of this process in MB.
double ResidentMegabytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  return 0;
}

// A list answer of `rows` ranked stocks, each text field `field` long.
std::string ListAnswer(size_t rows, const std::string& field) {
  std::ostringstream body;
  body << "------B\r\nContent-Type: text/xml\r\n\r\n<?xml version=\"1.0\" encoding=\"UTF-8\"?><SmartPhone><Header>"
          "<Layout>L</Layout><ServerDate>2026/12/07 10:00:00</ServerDate><ResultCode>1</ResultCode></Header><Body>";
  for (size_t i = 0; i < rows; ++i)
    body << "<InfoList gubun=\"1\"><Code item=\"0\">" << 100000 + i << "</Code><CodeName>" << field
         << "</CodeName><CurrentPrc>" << field << "</CurrentPrc><Daebi>" << field << "</Daebi><Rate>" << field
         << "</Rate><Date>" << field << "</Date><Time>" << field << "</Time></InfoList>";
  body << "</Body></SmartPhone>\r\n------B--\r\n";
  return body.str();
}

class HostileAnswers : public MarketTest {
 protected:
  // The test's own copy of the answer is no part of the viewer's memory.
  void ForgetAnswer() { std::string().swap(answer_); }
  void Serve(std::string answer) {
    answer_ = OkAnswer(answer);
    server_.reset();
    hostile_ = std::make_unique<LoopbackServer>([this](int fd, const std::string&) { SendText(fd, answer_); });
    SetInformationServer(u"127.0.0.1", hostile_->port());
  }
  std::string answer_;
  std::unique_ptr<LoopbackServer> hostile_;
};

TEST_F(HostileAnswers, TooManyRowsAndHugeTextsKeepTheFirstRowsShortTextsAndBoundedMemory) {
  // 200,000 short rows (about 40 MB of answer), then 6,000 rows whose every
  // text is 300 Korean syllables (each field cut, the rows cut too).
  MessageBoxWatcher boxes;
  const double before = ResidentMegabytes();
  Serve(ListAnswer(200000, "KT&amp;G"));
  CMarketInfoDlg& screen = Open();
  CMarketStockItemWnd& ranking = screen.ranking();
  ASSERT_TRUE(WaitLoaded(ranking));
  EXPECT_EQ(RowCodes(ranking).size(), kMaxAnswerRows + 1);  // with the caption row
  ForgetAnswer();
  const double after_rows = ResidentMegabytes();

  std::string syllables;
  for (int i = 0; i < 300; ++i) syllables += "가";
  Serve(ListAnswer(6000, syllables));
  screen_->Destroy();  // the next run of the screen: cached rows, then the answer
  screen_.reset();
  CMarketStockItemWnd& again = Open().ranking();
  ASSERT_TRUE(RunUntil([&] { return again.LoadedFromNetwork() > 0 && !again.IsBusy(); }, 60000));
  EXPECT_EQ(RowCodes(again).size(), kMaxAnswerRows + 1);
  EXPECT_EQ(Cell(again, 1, 0).size(), kMaxFieldChars);
  ForgetAnswer();
  const double after_texts = ResidentMegabytes();
  std::printf("resident: %.1f MB at start, %.1f MB after 200,000 rows, %.1f MB after 6,000 rows of 300-syllable texts\n",
              before, after_rows, after_texts);
  EXPECT_TRUE(boxes.texts().empty());
#if !defined(__SANITIZE_ADDRESS__)
  // AddressSanitizer keeps freed memory in quarantine: the figure means
  // nothing there.
  EXPECT_LT(after_rows, 120.0);
  EXPECT_LT(after_texts, 120.0);
#endif
}

}  // namespace
}  // namespace brantel::testing
