#include <dirent.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/folders.h"
#include "protocol/download_folder.h"
#include "protocol/response_body.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

std::string Corpus(const std::string& name) {
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(std::string(BRANTEL_TEST_DATA_DIR) + "/multipart/" + name, bytes)) << name;
  return bytes;
}

class ResponseReader : public ::testing::Test {
 protected:

  std::unique_ptr<ResponseDocument> Read(std::string_view body) { return ReadResponseBody(folder_, body); }

  std::vector<std::string> FilesIn(const std::string& dir) {
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
      while (dirent* e = readdir(d))
        if (e->d_name[0] != '.') names.push_back(e->d_name);
      closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  testing::TempFolder temp_{"brantel_reader"};
  std::string root_ = temp_.path();
  std::string folder_ = root_ + "/TEMP/";  // not created: the reader makes it
};

const std::string kDelim = "------Part";
std::string XmlPart(std::string_view xml) {
  return kDelim + "\r\nContent-Type: text/xml\r\n\r\n" + std::string(xml) + "\r\n";
}
std::string FilePart(std::string_view headers, std::string_view data) {
  return kDelim + "\r\n" + std::string(headers) + "\r\n\r\n" + std::string(data) + "\r\n";
}
const std::string kEnd = kDelim + "--\r\n";
std::string Answer(std::string_view layout, std::string_view body) {
  return "<?xml version=\"1.0\"?><SmartPhone><Header><Layout>" + std::string(layout) +
         "</Layout><ResultCode>1</ResultCode></Header><Body>" + std::string(body) + "</Body></SmartPhone>";
}

TEST_F(ResponseReader, ListAnswerRowsInDocumentOrder) {
  auto response = Read(Corpus("list_answer.bin"));
  ASSERT_NE(response, nullptr);
  auto* list = dynamic_cast<ListResponse*>(response.get());
  ASSERT_NE(list, nullptr);
  const ResponseHeader& h = list->header();
  EXPECT_EQ(h.layout, u"L");
  EXPECT_EQ(h.msisdn, u"01012345678");
  EXPECT_EQ(h.os, u"WM6.1");
  EXPECT_EQ(h.filler, u"");
  EXPECT_EQ(h.version, u"1.0");
  EXPECT_EQ(h.server_date, u"2026/12/07 09:41:05");
  EXPECT_EQ(h.result_code, u"1");
  EXPECT_EQ(h.result_desc, u"정상 처리되었습니다");
  EXPECT_EQ(*list->HeaderText(u"ResultCode"), u"1");
  EXPECT_EQ(list->HeaderText(u"resultcode"), nullptr);

  ASSERT_EQ(list->ItemCount(), 3u);
  const StockRecord& first = *list->ItemAt(0);
  EXPECT_EQ(first.gubun, 2);
  EXPECT_EQ(first.code, u"0001");
  EXPECT_EQ(first.item, u"1");
  EXPECT_EQ(first.codename, u"코스피");
  EXPECT_EQ(first.current_price, u"2,481.52");
  EXPECT_EQ(first.daebi, u"12.34");
  EXPECT_EQ(first.rate, u"0.50");
  EXPECT_EQ(first.date, u"2026/12/07");
  EXPECT_EQ(first.time, u"09:41:05");
  EXPECT_EQ(list->ItemAt(1)->codename, u"코스닥");
  EXPECT_EQ(list->ItemAt(2)->gubun, 0);  // "6" is not a category text
  EXPECT_EQ(list->ItemAt(3), nullptr);
  EXPECT_EQ(list->AttachmentCount(), 0u);
  EXPECT_EQ(list->AttachmentAt(0), nullptr);
}

TEST_F(ResponseReader, DetailAnswerStoresItsCharts) {
  auto response = Read(Corpus("detail_answer_charts.bin"));
  auto* detail = dynamic_cast<DetailResponse*>(response.get());
  ASSERT_NE(detail, nullptr);
  ASSERT_EQ(detail->ItemCount(), 1u);
  const StockDetailRecord& d = *detail->ItemAt(0);
  EXPECT_EQ(d.gubun, 1);
  EXPECT_EQ(d.code, u"005930");
  EXPECT_EQ(d.item, u"1");
  EXPECT_EQ(d.period, u"2");
  EXPECT_EQ(d.codename, u"한빛전자");
  EXPECT_EQ(d.current_price, u"71,500");
  EXPECT_EQ(d.daebi, u"-500");
  EXPECT_EQ(d.high, u"72,300");
  EXPECT_EQ(d.low, u"71,100");
  EXPECT_EQ(d.trade_amount, u"12,345,678");
  EXPECT_EQ(d.yesterday_price, u"72,000");
  EXPECT_EQ(d.open_price, u"72,100");
  EXPECT_EQ(d.high52, u"88,800");
  EXPECT_EQ(d.low52, u"55,400");
  EXPECT_EQ(d.high52_date, u"2026/03/14");
  EXPECT_EQ(d.low52_date, u"2026/10/02");
  ASSERT_EQ(detail->related().size(), 3u);
  EXPECT_EQ(detail->related()[1].current_price, u"72,000");
  EXPECT_EQ(detail->related()[1].date, u"2026/12/04");

  ASSERT_EQ(detail->AttachmentCount(), 2u);
  EXPECT_EQ(detail->AttachmentAt(0)->path, Widen(folder_ + "chart52.png"));
  EXPECT_EQ(detail->AttachmentAt(1)->path, Widen(folder_ + "chart_2.png"));
  EXPECT_TRUE(detail->AttachmentAt(0)->extra.empty());
  std::string png;
  ASSERT_TRUE(ReadWholeFile(folder_ + "chart52.png", png));
  EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
  EXPECT_EQ(png.substr(png.size() - 8, 4), "IEND");
}

TEST_F(ResponseReader, MasterTextFileAndPartOrder) {
  auto master = Read(Corpus("master_answer.bin"));
  ASSERT_NE(master, nullptr);
  EXPECT_EQ(master->ItemCount(), 0u);
  ASSERT_EQ(master->AttachmentCount(), 1u);
  std::string text;
  ASSERT_TRUE(ReadWholeFile(folder_ + "masterinfo", text));
  EXPECT_EQ(text, "005930|한빛전자|KOSPI|\r\n035720|누리소프트|KOSDAQ|\r\n");

  // A file part before the XML part is dropped, the same part after it kept.
  auto ordered = Read(Corpus("file_before_xml.bin"));
  ASSERT_NE(ordered, nullptr);
  EXPECT_EQ(ordered->ItemCount(), 3u);
  ASSERT_EQ(ordered->AttachmentCount(), 1u);
  EXPECT_EQ(ordered->AttachmentAt(0)->path, Widen(folder_ + "late.png"));
  EXPECT_FALSE(FileExists(folder_ + "early.png"));
}

TEST_F(ResponseReader, UnnamedFileGetsAGeneratedName) {
  auto response = Read(Corpus("file_without_filename.bin"));
  ASSERT_NE(response, nullptr);
  ASSERT_EQ(response->AttachmentCount(), 1u);
  const std::string path = Narrow(response->AttachmentAt(0)->path);
  const std::string name = path.substr(folder_.size());
  EXPECT_EQ(name.size(), 15u);
  EXPECT_EQ(name.find_first_not_of("0123456789"), std::string::npos) << name;

  // Two unnamed parts in one answer keep two files.
  const std::string two = XmlPart(Answer("L", "")) + FilePart("Content-Type: image/gif", "first") +
                          FilePart("Content-Type: image/gif", "second") + kEnd;
  auto both = Read(two);
  ASSERT_NE(both, nullptr);
  ASSERT_EQ(both->AttachmentCount(), 2u);
  EXPECT_NE(both->AttachmentAt(0)->path, both->AttachmentAt(1)->path);
}

// One answer of many file parts keeps only the first few; files left from
// earlier runs are removed, fresh ones and sub-folders stay.
TEST_F(ResponseReader, FilesPerAnswerAreBoundedAndStaleOnesRemoved) {
  std::string body = XmlPart(Answer("L", ""));
  for (int i = 0; i < 1000; ++i)
    body += FilePart("Content-Type: x/y\r\nfilename='f" + std::to_string(i) + "'", "data");
  auto response = Read(body + kEnd);
  ASSERT_NE(response, nullptr);
  EXPECT_EQ(response->AttachmentCount(), kMaxFilesPerAnswer);
  EXPECT_EQ(FilesIn(folder_).size(), kMaxFilesPerAnswer);

  const auto two_days_ago = std::filesystem::file_time_type::clock::now() - std::chrono::hours(48);
  for (int i = 0; i < 3; ++i) std::filesystem::last_write_time(folder_ + "f" + std::to_string(i), two_days_ago);
  std::filesystem::create_directory(folder_ + "sub");
  std::filesystem::last_write_time(folder_ + "sub", two_days_ago);
  EXPECT_EQ(RemoveStaleDownloads(folder_), 3);
  EXPECT_EQ(FilesIn(folder_).size(), kMaxFilesPerAnswer - 3 + 1);
  EXPECT_TRUE(FileExists(folder_ + "f3"));
  EXPECT_EQ(RemoveStaleDownloads(folder_, std::chrono::seconds(0)), int(kMaxFilesPerAnswer) - 3);
  EXPECT_EQ(FilesIn(folder_), std::vector<std::string>{"sub"});
  EXPECT_EQ(RemoveStaleDownloads(root_ + "/missing/"), 0);
}

TEST_F(ResponseReader, HostileFilePartStaysInsideTheFolder) {
  auto response = Read(Corpus("hostile_file_part.bin"));
  ASSERT_NE(response, nullptr);
  ASSERT_EQ(response->AttachmentCount(), 1u);
  EXPECT_EQ(response->AttachmentAt(0)->path, Widen(folder_ + "escape.txt"));
  std::string data;
  ASSERT_TRUE(ReadWholeFile(folder_ + "escape.txt", data));
  EXPECT_EQ(data, "secret\r\n");  // a length beyond the part is cut to the part
  EXPECT_EQ(FilesIn(root_), std::vector<std::string>{"TEMP"});

  for (const char* name : {"..", ".", "a/..", "/", "..\\..\\"}) {
    const std::string body = XmlPart(Answer("L", "")) +
                             FilePart(std::string("Content-Type: x/y\r\nfilename='") + name + "'", "z") + kEnd;
    auto r = Read(body);
    ASSERT_NE(r, nullptr);
    ASSERT_EQ(r->AttachmentCount(), 1u) << name;
    EXPECT_EQ(Narrow(r->AttachmentAt(0)->path).size(), folder_.size() + 15) << name;
  }
  EXPECT_EQ(FilesIn(root_), std::vector<std::string>{"TEMP"});

  const std::string backslashes = XmlPart(Answer("L", "")) +
                                  FilePart("Content-Type: x/y\r\nfilename='..\\..\\차트.png'\r\nContent-Length: 2", "ab") + kEnd;
  auto r = Read(backslashes);
  ASSERT_EQ(r->AttachmentCount(), 1u);
  EXPECT_EQ(r->AttachmentAt(0)->path, Widen(folder_ + "차트.png"));
}

TEST_F(ResponseReader, BodiesThatYieldNothing) {
  const std::string xml = Answer("L", "<InfoList gubun=\"2\"><Code>1</Code></InfoList>");
  EXPECT_EQ(Read(""), nullptr);
  EXPECT_EQ(Read("-"), nullptr);
  EXPECT_EQ(Read(xml), nullptr);                           // no "------" at all
  EXPECT_EQ(Read("------Part"), nullptr);                  // no line end after the boundary
  EXPECT_EQ(Read(Corpus("header_missing.bin")), nullptr);
  EXPECT_EQ(Read(Corpus("header_doubled.bin")), nullptr);
  EXPECT_EQ(Read(XmlPart(xml)), nullptr);                  // no delimiter closes the part
  EXPECT_EQ(Read(kDelim + "\r\nContent-Type: text/xml\r\n" + xml + "\r\n" + kEnd), nullptr);  // no blank line
  EXPECT_EQ(Read(XmlPart("<SmartPhone><Header/></SmartPhone>") + kEnd), nullptr);      // no "<?xml"
  EXPECT_EQ(Read(XmlPart("<?xml version=\"1.0\"?><Phone><Header/></Phone>") + kEnd), nullptr);
  EXPECT_EQ(Read(XmlPart("<?xml version=\"1.0\"?><SmartPhone><Header></SmartPhone>") + kEnd), nullptr);
  // Only a file part and no XML part: nothing to attach it to.
  EXPECT_EQ(Read(FilePart("Content-Type: x/y\r\nfilename='a'", "1") + kEnd), nullptr);
  EXPECT_TRUE(FilesIn(folder_).empty());
}

TEST_F(ResponseReader, BodyShapesThatAreRead) {
  // The header is read whatever surrounds the XML declaration and the body.
  const std::string xml = Answer("L", "<InfoList gubun=\"3\"><Code item=\"1\">005930</Code></InfoList>");
  auto one = Read(XmlPart("junk before " + xml) + kEnd + "trailing text never read");
  ASSERT_NE(one, nullptr);
  ASSERT_EQ(one->ItemCount(), 1u);
  auto* list = static_cast<ListResponse*>(one.get());
  EXPECT_EQ(list->ItemAt(0)->gubun, 3);
  EXPECT_EQ(list->ItemAt(0)->code, u"005930");
  EXPECT_EQ(list->ItemAt(0)->item, u"1");

  // A second XML part replaces the first.
  auto second = Read(XmlPart(xml) + XmlPart(Answer("D", "<Detail gubun=\"2\"/><Detail/><InfoList/>")) + kEnd);
  auto* detail = dynamic_cast<DetailResponse*>(second.get());
  ASSERT_NE(detail, nullptr);
  EXPECT_EQ(detail->ItemCount(), 2u);
  EXPECT_EQ(detail->ItemAt(0)->gubun, 2);
  EXPECT_EQ(detail->related().size(), 1u);

  // Without a single Body the header is still there, with no rows.
  auto no_body = Read(XmlPart("<?xml version=\"1.0\"?><SmartPhone><Header><ResultCode>0</ResultCode>"
                              "</Header></SmartPhone>") + kEnd);
  ASSERT_NE(no_body, nullptr);
  EXPECT_EQ(no_body->header().result_code, u"0");
  EXPECT_EQ(no_body->ItemCount(), 0u);

  // Names match exactly; repeated fields keep the last text; prefixes are
  // not part of the local name; unknown children are ignored.
  auto fields = Read(XmlPart(Answer("L", "<InfoList gubun=\"1\"><code>x</code><Code>a</Code><Code>b</Code>"
                                         "<p:Rate>1.5</p:Rate><Other>z</Other><Date><![CDATA[12/07]]></Date>"
                                         "<Time>09:<b>41</b></Time></InfoList>")) + kEnd);
  ASSERT_NE(fields, nullptr);
  const StockRecord& r = *static_cast<ListResponse*>(fields.get())->ItemAt(0);
  EXPECT_EQ(r.code, u"b");
  EXPECT_EQ(r.rate, u"1.5");
  EXPECT_EQ(r.date, u"12/07");
  EXPECT_EQ(r.time, u"09:41");
  EXPECT_EQ(r.item, u"");
}

TEST_F(ResponseReader, TextDecodesByTheWireRules) {
  // Character references reach the record as the characters they name.
  auto refs = Read(XmlPart(Answer("L", "<InfoList><CodeName>&#xAC00;&amp;&#x1F600;</CodeName></InfoList>")) + kEnd);
  ASSERT_NE(refs, nullptr);
  EXPECT_EQ(static_cast<ListResponse*>(refs.get())->ItemAt(0)->codename, u"\uAC00&\U0001F600");

  // Bytes that are not UTF-8 decode as the wire reads them: a raw four-byte
  // sequence is a three-byte unit plus a stray byte that swallows the next.
  auto raw = Read(XmlPart(Answer("L", "<InfoList><CodeName>\xEA\xB0\x80\xF0\x9F\x98\x80</CodeName></InfoList>")) + kEnd);
  ASSERT_NE(raw, nullptr);
  EXPECT_EQ(static_cast<ListResponse*>(raw.get())->ItemAt(0)->codename, WideText(u"\uAC00") + char16_t(0x07D8));
}

TEST_F(ResponseReader, WideXmlEntryPoint) {
  auto r = ReadResponseXml(u"<?xml version=\"1.0\"?><SmartPhone><Header><Layout>D</Layout></Header><Body>"
                           u"<Detail gubun=\"5\"><Code period=\"3\">CL</Code><CodeName>원유</CodeName></Detail>"
                           u"</Body></SmartPhone>");
  auto* detail = dynamic_cast<DetailResponse*>(r.get());
  ASSERT_NE(detail, nullptr);
  EXPECT_EQ(detail->ItemAt(0)->gubun, 5);
  EXPECT_EQ(detail->ItemAt(0)->period, u"3");
  EXPECT_EQ(detail->ItemAt(0)->codename, u"원유");
  EXPECT_EQ(ReadResponseXml(u"<SmartPhone>"), nullptr);
  EXPECT_EQ(CategoryFromText("5"), 5);
  EXPECT_EQ(CategoryFromText("05"), 0);
  EXPECT_EQ(CategoryFromText("-1"), 0);
  EXPECT_EQ(CategoryFromText(""), 0);
}

}  // namespace
}  // namespace brantel
