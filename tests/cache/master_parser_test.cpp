// The master list parser and its prefix search.
#include <gtest/gtest.h>

#include <fstream>

#include "cache/master_parser.h"
#include "cache_test_support.h"
#include "tests/support/reference_master.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

CParseMaster Parsed(std::string_view text) {
  CParseMaster p;
  p.ParseText(text);
  return p;
}

TEST(MasterParserTest, LinesGiveEntriesByTheFieldRules) {
  CParseMaster p = Parsed(
      "123456|Alpha|KOSPI\n"
      "223456|Beta|KOSDAQ 150\n"
      "323456|Gamma|KONEX\n"
      "423456|Delta\n"
      "\n"
      "ab\n"
      "||A\n"
      "||523456|||Epsilon|kospi|extra\n"
      "623456|Zeta|KOSPI\r\n");
  ASSERT_EQ(p.GetEntryCount(), 6);
  EXPECT_EQ(p.LookupMarket(u"123456"), 0);
  EXPECT_EQ(p.LookupMarket(u"223456"), 0);
  EXPECT_EQ(p.LookupMarket(u"323456"), 1);
  EXPECT_EQ(p.LookupMarket(u"423456"), 1);
  EXPECT_EQ(p.LookupMarket(u"523456"), 1);  // the market text is case-sensitive
  EXPECT_EQ(p.LookupMarket(u"999999"), -1);

  ASSERT_EQ(p.FindByPrefix(u"423456", 6), 1);
  EXPECT_EQ(p.GetResult(0)->name, u"Delta\n");  // the line end stays with the last field
  ASSERT_EQ(p.FindByPrefix(u"1234", 4), 1);
  EXPECT_EQ(p.GetResult(0)->name, u"Alpha");
  ASSERT_EQ(p.FindByPrefix(u"523456", 6), 1);
  EXPECT_EQ(p.GetResult(0)->name, u"Epsilon");
  ASSERT_EQ(p.FindByPrefix(u"623456", 6), 1);
  EXPECT_EQ(p.GetResult(0)->name, u"Zeta");  // read as text: CR LF is a line end
  EXPECT_EQ(p.GetResult(1), nullptr);
  EXPECT_EQ(p.GetResult(-1), nullptr);
}

TEST(MasterParserTest, FindByPrefixIgnoresCaseAndStopsAtThirty) {
  std::string text = "AB01|Zulu|KOSPI\nZZ99|Abacus|KOSPI\nX1|ab|KOSPI\nX2|Échelle|KOSDAQ\n";
  for (int i = 0; i < 40; ++i) text.append("S").append(std::to_string(100 + i)).append("|삼성테스트").append(std::to_string(i)).append("|KOSPI\n");
  CParseMaster p = Parsed(text);

  ASSERT_EQ(p.FindByPrefix(u"ab", 2), 3);
  EXPECT_EQ(p.GetResult(0)->code, u"AB01");  // file order
  EXPECT_EQ(p.GetResult(1)->name, u"Abacus");
  EXPECT_EQ(p.GetResult(2)->code, u"X1");
  EXPECT_EQ(p.FindByPrefix(u"aba", 3), 1);  // only Abacus: "ab" is shorter than the text
  EXPECT_EQ(p.GetResult(0)->name, u"Abacus");
  EXPECT_EQ(p.FindByPrefix(u"éch", 3), 1);  // Latin-1 letters fold too
  EXPECT_EQ(p.FindByPrefix(u"삼성", 2), 30);
  EXPECT_EQ(p.GetResult(29)->code, u"S129");
  EXPECT_EQ(p.FindByPrefix(u"nothing", 7), 0);
  EXPECT_EQ(p.GetResult(0), nullptr);  // results replaced by the last search
  EXPECT_EQ(p.FindByPrefix(u"ab", 1), 0);  // a cut shorter than the text never equals it
  EXPECT_EQ(p.FindByPrefix(u"", 0), 30);
}

TEST(MasterParserTest, LongLinesAreTakenInPiecesWithoutOverflow) {
  // 1,023 characters make the first piece; the rest of the line is a piece
  // of its own and becomes an entry when it has two fields.
  std::string first = "LONG1|" + std::string(1023 - 6, 'n');
  std::string line = first + "TAIL|tailname|KOSPI\n";
  std::string korean_line = "K1|" + std::string() ;
  for (int i = 0; i < 3000; ++i) korean_line += "가";  // 3 bytes each, 1 character
  korean_line += "|KOSPI\n";
  CParseMaster p = Parsed(line + korean_line + std::string(100000, 'x') + "\nEND|last|KOSDAQ\n");
  ASSERT_EQ(p.FindByPrefix(u"LONG1", 5), 1);
  EXPECT_EQ(p.GetResult(0)->name.size(), 1023u - 6u);
  EXPECT_EQ(p.LookupMarket(u"TAIL"), 0);
  ASSERT_EQ(p.FindByPrefix(u"K1", 2), 1);
  EXPECT_EQ(p.GetResult(0)->name.size(), 1023u - 3u);  // cut by characters, not bytes
  EXPECT_EQ(p.LookupMarket(u"END"), 0);
}

TEST(MasterParserTest, ParseReadsFilesAppendsAndReportsMissingOnes) {
  testing::TempDataFolder home;
  testing::DebugCapture capture;
  CParseMaster p;
  EXPECT_FALSE(p.Parse(home.File("missing")));
  EXPECT_NE(capture.Output().find("<<CParseMaster::Parse>> 파일 open 실패\r\n"), std::string::npos);
  EXPECT_FALSE(p.Parse(home.Path()));  // a folder is not a master file

  { std::ofstream(home.File("empty")); }
  EXPECT_TRUE(p.Parse(home.File("empty")));
  EXPECT_EQ(p.GetEntryCount(), 0);

  const std::string text = testing::ReferenceMasterText();
  ASSERT_FALSE(text.empty()) << "the reference server's stock data was not found";
  { std::ofstream(home.File("masterinfo"), std::ios::binary) << text; }
  ASSERT_TRUE(p.Parse(home.File("masterinfo")));
  EXPECT_EQ(p.GetEntryCount(), 3000);
  EXPECT_EQ(p.LookupMarket(u"005930"), 0);
  ASSERT_GE(p.FindByPrefix(u"삼성", 2), 1);
  EXPECT_EQ(p.GetResult(0)->name, u"삼성전자");
  ASSERT_TRUE(p.Parse(home.File("masterinfo")));
  EXPECT_EQ(p.GetEntryCount(), 6000);  // a second parse appends
}

TEST(MasterParserTest, ProcessWideParserIsOneObject) { EXPECT_EQ(&GetMasterParser(), &GetMasterParser()); }

}  // namespace
}  // namespace brantel
