#include "platform/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <thread>
#include <vector>

#include "platform/folders.h"

namespace brantel {
namespace {

TEST(TextTest, CodePageRoundTripsEveryWideText) {
  const WideText samples[] = {u"abc", u"삼성전자", u"\u00e9\u0416", u"\U0001F600 smile", WideText(1, char16_t(0xD800))};
  for (const auto& w : samples) {
    const std::string n = Narrow(w);
    if (w.size() == 1 && w[0] == 0xD800) {
      EXPECT_EQ(n, "\xEF\xBF\xBD");  // a lone surrogate cannot be kept
      continue;
    }
    EXPECT_EQ(Widen(n), w);
  }
  EXPECT_EQ(Narrow(u"\U0001F600"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(Widen("\xC0\xAF" "A"), WideText(u"\uFFFD\uFFFDA"));  // overlong form refused
  EXPECT_EQ(Widen("\xE2\x82"), WideText(u"\uFFFD\uFFFD"));       // truncated sequence
}

TEST(TextTest, FormatsTheConversionsTheSystemUses) {
  EXPECT_EQ(FormatText(u"%s|%s", u"/opt/x/", std::string("http://h/u.xml")), u"/opt/x/|http://h/u.xml");
  EXPECT_EQ(FormatText(u"%d %u %x %02d %04x", -5, 7u, 255, 3, 0x409), u"-5 7 ff 03 0409");
  EXPECT_EQ(FormatText(u"%.1f%%", 12.345), u"12.3%");
  EXPECT_EQ(FormatText(u"[%-4s][%4s]", u"ab", u"한"), u"[ab  ][   한]");
  EXPECT_EQ(FormatText(u"%d"), u"0");  // a missing argument formats as zero, never reads garbage
}

TEST(TextTest, LeadingNumbersFollowStrtolAndStrtod) {
  size_t used = 0;
  EXPECT_EQ(ParseLeadingLong(u"  42abc", 10, &used), 42);
  EXPECT_EQ(used, 4u);
  EXPECT_EQ(ParseLeadingLong(u"abc", 10, &used), 0);
  EXPECT_EQ(used, 0u);
  EXPECT_DOUBLE_EQ(ParseLeadingDouble(u"-1,234"), -1.0);
  EXPECT_DOUBLE_EQ(ParseLeadingDouble(u"0.00"), 0.0);
  EXPECT_DOUBLE_EQ(ParseLeadingDouble(u"3.5한"), 3.5);
  EXPECT_EQ(ParseLeadingLong(u"ff", 16), 255);
}

TEST(TextTest, CaseInsensitiveOverAsciiAndLatin1) {
  EXPECT_TRUE(EqualsNoCase(u"Software\\BRANTEL", u"SOFTWARE\\brantel"));
  EXPECT_TRUE(EqualsNoCase(u"\u00c9t\u00c9", u"\u00e9t\u00e9"));
  EXPECT_FALSE(EqualsNoCase(u"\u00d7", u"\u00f7"));  // multiplication and division signs are not a pair
  EXPECT_LT(CompareNoCase(u"abc", u"ABD"), 0);
  EXPECT_TRUE(StartsWithNoCase(u"Samsung", u"sAM"));
  EXPECT_EQ(FindNoCase(u"xxHeLLo", u"hello"), 2u);
}

TEST(TextTest, ReplaceTrimSplit) {
  EXPECT_EQ(ReplaceAll(u"a-b-c", u"-", u""), u"abc");
  EXPECT_EQ(ReplaceAll(u"aaa", u"a", u"aa"), u"aaaaaa");
  EXPECT_EQ(Trim(u" \t x y \r\n"), u"x y");
  EXPECT_EQ(Split(u"a^b^^c", u"^"), (std::vector<WideText>{u"a", u"b", u"", u"c"}));
  EXPECT_EQ(Split(u"", u"^"), (std::vector<WideText>{u""}));
}

TEST(TextTest, Utf16LeBytesRoundTrip) {
  const WideText text = u"A\uAC00\U0001F600";
  const std::string bytes = Utf16LeBytes(text);
  EXPECT_EQ(bytes, std::string("A\0\x00\xAC\x3D\xD8\x00\xDE", 8));
  EXPECT_EQ(WideFromUtf16LeBytes(bytes), text);
  EXPECT_EQ(WideFromUtf16LeBytes(bytes + "x"), text);  // a final odd byte is no character
  EXPECT_EQ(WideFromUtf16LeBytes(std::string("\0\0", 2)), WideText(1, u'\0'));
}

TEST(FoldersTest, JoinsAndCreatesPaths) {
  EXPECT_EQ(JoinPath("/a/", "/b"), "/a/b");
  EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
  EXPECT_EQ(DevicePathToLinux("\\Program Files\\x\\a.txt"), "/Program Files/x/a.txt");
  char tmpl[] = "/tmp/brantel-folders-XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  const std::string deep = JoinPath(tmpl, "one/two/three");
  EXPECT_TRUE(CreateFoldersAlong(deep));
  EXPECT_TRUE(DirectoryExists(deep));
  const std::string file = JoinPath(deep, "f.txt");
  ASSERT_TRUE(WriteFileAtomically(file, "hello"));
  std::string back;
  ASSERT_TRUE(ReadWholeFile(file, back));
  EXPECT_EQ(back, "hello");
  EXPECT_FALSE(ReadWholeFile(file, back, 2));  // bounded read refuses a larger file
  EXPECT_EQ(system((std::string("rm -rf ") + tmpl).c_str()), 0);
}

// Threads of one process replacing the same file: every write must succeed
// and the file must always hold one whole version, never a mix or a part.
TEST(FoldersTest, ConcurrentAtomicWritesOfOneFileNeverMix) {
  char tmpl[] = "/tmp/brantel-folders-XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  const std::string file = JoinPath(tmpl, "shared.bin");
  constexpr int kWriters = 4, kRounds = 150;
  std::vector<std::string> versions;
  for (int w = 0; w < kWriters; ++w) versions.push_back(std::string(size_t(64 << 10) + size_t(w) * 1000, char('a' + w)));
  ASSERT_TRUE(WriteFileAtomically(file, versions[0]));
  std::atomic<int> failed_writes{0}, bad_reads{0};
  std::atomic<bool> done{false};
  std::vector<std::thread> writers;
  for (int w = 0; w < kWriters; ++w)
    writers.emplace_back([&, w] {
      for (int r = 0; r < kRounds; ++r)
        if (!WriteFileAtomically(file, versions[size_t(w)])) failed_writes.fetch_add(1);
    });
  std::thread reader([&] {
    std::string got;
    while (!done.load()) {
      if (!ReadWholeFile(file, got)) continue;
      if (std::find(versions.begin(), versions.end(), got) == versions.end()) bad_reads.fetch_add(1);
    }
  });
  for (auto& t : writers) t.join();
  done = true;
  reader.join();
  EXPECT_EQ(failed_writes.load(), 0);
  EXPECT_EQ(bad_reads.load(), 0);
  std::string last;
  ASSERT_TRUE(ReadWholeFile(file, last));
  EXPECT_NE(std::find(versions.begin(), versions.end(), last), versions.end());
  // No temporary sibling is left behind.
  int entries = 0;
  for (const auto& e : std::filesystem::directory_iterator(tmpl)) entries += e.is_regular_file() ? 1 : 0;
  EXPECT_EQ(entries, 1);
  EXPECT_EQ(system((std::string("rm -rf ") + tmpl).c_str()), 0);
}

}  // namespace
}  // namespace brantel
