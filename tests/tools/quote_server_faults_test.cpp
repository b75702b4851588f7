// The reference server's fault options (what the viewer's transport and the
// updater are tested against), its request log and its file serving.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "tests/support/temp_folder.h"
#include "tests/tools/quote_server_harness.h"

using namespace quote_server_test;
namespace fs = std::filesystem;

namespace {

const std::string kList = "/hfjs-web/wm/market/MarketList.do";
const std::string kIndexList = Document("L", "<InfoList gubun=\"2\"> </InfoList> ");

HttpReply AskIndices(const ServerProcess& s) { return Exchange(s.port(), ViewerPost(kList, s.port(), kIndexList)); }

TEST(QuoteServerFaults, ResultCodeOptionRefusesEveryRequest) {
  ServerProcess s({"--result-code", "0"});
  const HttpReply r = AskIndices(s);
  ASSERT_EQ(r.status, 200);
  EXPECT_NE(r.body.find("<ResultCode>0</ResultCode>"), std::string::npos);
  EXPECT_EQ(r.body.find("<InfoList"), std::string::npos);
  EXPECT_NE(r.body.find("<ServerDate>"), std::string::npos);
}

TEST(QuoteServerFaults, StatusOptionAnswersWithThatStatus) {
  ServerProcess s({"--status", "404"});
  const HttpReply r = AskIndices(s);
  EXPECT_EQ(r.status, 404);
  EXPECT_EQ(r.head.rfind("HTTP/1.1 404", 0), 0u);
}

TEST(QuoteServerFaults, TruncateSendsHalfWithAMatchingLength) {
  ServerProcess whole({"--fixed-clock", "2026-12-07 10:00"});
  ServerProcess cut({"--fixed-clock", "2026-12-07 10:00", "--truncate"});
  const HttpReply a = AskIndices(whole), b = AskIndices(cut);
  ASSERT_GT(a.body.size(), 1000u);
  EXPECT_EQ(b.body.size(), a.body.size() / 2);
  EXPECT_EQ(size_t(b.content_length), b.body.size());
  EXPECT_EQ(a.body.substr(0, b.body.size()), b.body);
  std::vector<Part> parts;
  EXPECT_FALSE(SplitMultipart(b.body, parts)) << "the closing delimiter is gone";
}

TEST(QuoteServerFaults, CloseEarlyAnnouncesMoreThanItSends) {
  ServerProcess s({"--close-early"});
  const HttpReply r = AskIndices(s);
  ASSERT_EQ(r.status, 200);
  ASSERT_GT(r.content_length, 1000);
  EXPECT_EQ(r.body.size(), size_t(r.content_length) / 2);
}

TEST(QuoteServerFaults, GarbageKeepsTheLengthButNoDelimiter) {
  ServerProcess s({"--garbage"});
  const HttpReply r = AskIndices(s);
  ASSERT_EQ(r.status, 200);
  EXPECT_EQ(size_t(r.content_length), r.body.size());
  EXPECT_GT(r.body.size(), 1000u);
  EXPECT_EQ(r.body.find("------"), std::string::npos);
  EXPECT_EQ(r.body.find("<?xml"), std::string::npos);
}

TEST(QuoteServerFaults, DelayAndDripSlowTheAnswerButDeliverItWhole) {
  ServerProcess delayed({"--delay", "400"});
  const HttpReply d = AskIndices(delayed);
  EXPECT_GE(d.elapsed_ms, 390);
  EXPECT_EQ(size_t(d.content_length), d.body.size());

  ServerProcess drip({"--drip-bytes", "512", "--drip-ms", "20"});
  const HttpReply r = AskIndices(drip);
  ASSERT_EQ(size_t(r.content_length), r.body.size());
  const double pieces = double(r.body.size()) / 512;
  EXPECT_GE(r.elapsed_ms, (pieces - 1) * 20);
  // Pieces may merge when this test is slow to read; most arrive apart.
  EXPECT_GE(r.reads, int(pieces / 2)) << "arrives in many small pieces";
  std::vector<Part> parts;
  EXPECT_TRUE(SplitMultipart(r.body, parts));
}

TEST(QuoteServerFaults, LogShowsMethodPathAndDocument) {
  ServerProcess s({"--log"});
  AskIndices(s);
  const std::string log = s.Log();
  EXPECT_NE(log.find("POST " + kList), std::string::npos) << log;
  EXPECT_NE(log.find("<InfoList gubun=\"2\">"), std::string::npos) << log;
}

class QuoteServerFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(root_ / "pub" / "update");
    std::ofstream(root_ / "pub" / "update" / "q_stock_update.xml") << "<manifest/>";
    std::ofstream(root_ / "secret.txt") << "outside";
    big_.resize(3 << 20);
    for (size_t i = 0; i < big_.size(); ++i) big_[i] = char(i * 131 + (i >> 9));
    std::ofstream(root_ / "pub" / "big.bin", std::ios::binary).write(big_.data(), std::streamsize(big_.size()));
    fs::create_symlink(root_ / "secret.txt", root_ / "pub" / "link.txt");
  }
  std::string Get(const ServerProcess& s, const std::string& path, int* status = nullptr) {
    const HttpReply r = Exchange(s.port(), "GET " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    if (status) *status = r.status;
    return r.body;
  }
  brantel::testing::TempFolder temp_{"quote_server_files"};
  fs::path root_ = temp_.path();
  std::string big_;
};

TEST_F(QuoteServerFiles, ServesFilesForGetAndPost) {
  ServerProcess s({"--files", (root_ / "pub").string()});
  int status = 0;
  EXPECT_EQ(Get(s, "/update/q_stock_update.xml", &status), "<manifest/>");
  EXPECT_EQ(status, 200);
  // The updater asks with an HTTP/1.0 POST.
  const HttpReply post = Exchange(s.port(),
                                  "POST /update/q_stock_update.xml HTTP/1.0\r\nAccept: */*\r\nContent-Length: 0\r\n\r\n");
  EXPECT_EQ(post.status, 200);
  EXPECT_EQ(post.body, "<manifest/>");
  EXPECT_EQ(Get(s, "/big.bin"), big_) << "large files arrive intact";
}

TEST_F(QuoteServerFiles, AnswersTheUpdatersBodilessPost) {
  // HTTP/1.0, no body and no Content-Length, keep-alive asked for.
  ServerProcess s({"--files", (root_ / "pub").string()});
  const HttpReply r = Exchange(s.port(),
                               "POST /update/q_stock_update.xml HTTP/1.0\r\nAccept: */*\r\nAccept-Language: ko-KR\r\n"
                               "User-Agent: Mozilla/4.0 (compatible)\r\nHost: 127.0.0.1\r\nPragma: no-cache\r\n"
                               "Connection: Keep-Alive\r\n\r\n",
                               3000);
  EXPECT_EQ(r.status, 200) << r.head;
  EXPECT_EQ(r.body, "<manifest/>");
  EXPECT_EQ(r.content_length, 11);
  EXPECT_LT(r.elapsed_ms, 2500) << "the connection closes after the answer";
}

TEST_F(QuoteServerFiles, NeverServesAnythingOutsideTheFolder) {
  ServerProcess s({"--files", (root_ / "pub").string()});
  for (const char* path : {"/../secret.txt", "/update/../../secret.txt", "/%2e%2e/secret.txt", "/link.txt", "/update",
                           "/missing.txt", "/..%2fsecret.txt"}) {
    int status = 0;
    const std::string body = Get(s, path, &status);
    EXPECT_NE(status, 200) << path;
    EXPECT_EQ(body.find("outside"), std::string::npos) << path;
  }
}

TEST_F(QuoteServerFiles, FaultsApplyToFilesToo) {
  ServerProcess s({"--files", (root_ / "pub").string(), "--close-early"});
  const HttpReply r = Exchange(s.port(), "GET /big.bin HTTP/1.0\r\n\r\n");
  EXPECT_EQ(size_t(r.content_length), big_.size());
  EXPECT_EQ(r.body.size(), big_.size() / 2);
  EXPECT_EQ(r.body, big_.substr(0, big_.size() / 2));
}

}  // namespace
