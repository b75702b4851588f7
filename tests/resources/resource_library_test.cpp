// The loader against the built stock_resource.so and against small modules
// with broken tables.
#include "platform/resources/resource_library.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>
#include <vector>

namespace brantel {
namespace {

std::string LibraryPath() { return std::string(BRANTEL_BIN_DIR) + "/" + kResourceLibraryFileName; }
std::string BrokenModule(const char* variant) {
  return std::string(BRANTEL_TEST_BIN_DIR) + "/test_modules/broken_resource_" + variant + ".so";
}

void CollectCommands(const ResourceMenu& items, std::set<uint32_t>& out) {
  for (const auto& item : items) {
    if (item.command) out.insert(item.command);
    CollectCommands(item.items, out);
  }
}

std::set<uint32_t> CommandsOf(const ResourceMenu& menu) {
  std::set<uint32_t> commands;
  CollectCommands(menu, commands);
  return commands;
}

bool HasHangul(const WideText& text) {
  return std::any_of(text.begin(), text.end(), [](char16_t c) { return c >= 0xAC00 && c <= 0xD7A3; });
}

TEST(ResourceLibrary, NumberedStringsAreKoreanAndMissingOnesEmpty) {
  auto library = ResourceLibrary::Load(LibraryPath());
  ASSERT_TRUE(library) << LibraryPath();
  for (uint32_t number : {102u, 103u, 104u, 108u, 109u, 110u, 111u, 112u}) {
    WideText text = library->String(number);
    EXPECT_TRUE(HasHangul(text)) << number;
  }
  // 111 is asked as a Yes/No question.
  EXPECT_NE(library->String(111).find(u'?'), WideText::npos);
  EXPECT_NE(library->String(112).find(u"200"), WideText::npos);
  EXPECT_TRUE(library->String(101).empty());
  EXPECT_TRUE(library->String(0).empty());
}

TEST(ResourceLibrary, MenusCarryTheCommandsOfTheirScreens) {
  auto library = ResourceLibrary::Load(LibraryPath());
  ASSERT_TRUE(library);
  const std::set<uint32_t> exit_version_refresh = {40003, 40004, 40005};
  for (uint32_t number : {40010u, 40012u, 40013u, 40011u})
    EXPECT_EQ(CommandsOf(library->Menu(number)), exit_version_refresh) << number;
  EXPECT_EQ(CommandsOf(library->Menu(237)), (std::set<uint32_t>{40003, 40004, 40005, 40030, 40031, 40032}));
  EXPECT_EQ(CommandsOf(library->Menu(234)), (std::set<uint32_t>{40003, 40004, 40005, 40014, 40017}));
  EXPECT_EQ(CommandsOf(library->Menu(40016)), (std::set<uint32_t>{40003, 40004, 40009}));
  EXPECT_EQ(CommandsOf(library->Menu(40014)), (std::set<uint32_t>{40001, 40003, 40004, 40005}));
  EXPECT_EQ(CommandsOf(library->Menu(40015)), (std::set<uint32_t>{40006, 40007}));
  EXPECT_EQ(CommandsOf(library->Menu(40020)), (std::set<uint32_t>{40018}));  // the version dialog
  EXPECT_TRUE(library->Menu(40017).empty());

  // Soft-key bars: at most two top-level items, each captioned in Korean.
  for (uint32_t number : {40010u, 40011u, 40012u, 40013u, 237u, 234u, 40016u, 40014u, 40015u, 40020u}) {
    ResourceMenu menu = library->Menu(number);
    ASSERT_FALSE(menu.empty()) << number;
    EXPECT_LE(menu.size(), 2u) << number;
    for (const auto& key : menu) {
      EXPECT_TRUE(HasHangul(key.caption)) << number;
      for (const auto& item : key.items) EXPECT_TRUE(item.separator || HasHangul(item.caption)) << number;
    }
  }

  // The currency choice of the exchange list is the first pop-up of 40011
  // and starts empty: the menu bar fills it at run time.
  ResourceMenu exchange = library->Menu(40011);
  ASSERT_TRUE(exchange[0].popup);
  EXPECT_TRUE(exchange[0].items.empty());
  // The ranking items sit together in one pop-up, so one tick marks one of them.
  ResourceMenu ranking = library->Menu(237);
  ASSERT_TRUE(ranking[0].popup);
  EXPECT_EQ(CommandsOf(ranking[0].items), (std::set<uint32_t>{40030, 40031, 40032}));
}

TEST(ResourceLibrary, PicturesAnswerEitherPictureTypeAndNothingElse) {
  auto library = ResourceLibrary::Load(LibraryPath());
  ASSERT_TRUE(library);
  auto as_gif = library->Picture(kPictureTypeGif, 1057);
  auto as_png = library->Picture(kPictureTypePng, 1057);
  ASSERT_GT(as_gif.size(), 8u);
  EXPECT_EQ(as_gif.data(), as_png.data());
  EXPECT_TRUE(library->Picture(3, 1057).empty());
  EXPECT_TRUE(library->Picture(kPictureTypeGif, 1017).empty());
  EXPECT_TRUE(library->Picture(kPictureTypeGif, 501).empty());  // the updater carries its own
  auto numbers = library->PictureNumbers();
  EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end()));
  EXPECT_TRUE(std::binary_search(numbers.begin(), numbers.end(), 1098u));
}

TEST(ResourceLibrary, FilesThatAreNoResourceLibraryAreRefused) {
  EXPECT_FALSE(ResourceLibrary::Load(""));
  EXPECT_FALSE(ResourceLibrary::Load("/nonexistent/stock_resource.so"));
  // A bare name is looked for in the current folder only, never in the
  // system's library folders.
  EXPECT_FALSE(ResourceLibrary::Load("libc.so.6"));

  auto junk = std::filesystem::temp_directory_path() / "brantel_junk_resource.so";
  std::ofstream(junk) << "\x7f" "ELF but not really";
  EXPECT_FALSE(ResourceLibrary::Load(junk.string()));
  std::filesystem::remove(junk);

  EXPECT_FALSE(ResourceLibrary::Load(BrokenModule("no_table")));
  EXPECT_FALSE(ResourceLibrary::Load(BrokenModule("future_abi")));
  EXPECT_FALSE(ResourceLibrary::Load(BrokenModule("huge_count")));
}

TEST(ResourceLibrary, OddEntriesAreSkippedOneByOne) {
  auto library = ResourceLibrary::Load(BrokenModule("odd_entries"));
  ASSERT_TRUE(library);
  EXPECT_TRUE(library->Picture(kPictureTypePng, 7).empty());
  EXPECT_TRUE(library->Picture(kPictureTypePng, 9).empty());
  // An exact type match comes first; the other type finds the first entry.
  EXPECT_EQ(library->Picture(kPictureTypePng, 8)[0], 1);
  EXPECT_EQ(library->Picture(kPictureTypeGif, 8)[0], 5);
  EXPECT_EQ(library->PictureNumbers(), std::vector<uint32_t>{8});

  EXPECT_TRUE(library->String(5).empty());
  EXPECT_EQ(library->String(6), u"둘");

  EXPECT_TRUE(library->Menu(1).empty());  // depth jump
  EXPECT_TRUE(library->Menu(2).empty());  // starts below the bar
  EXPECT_TRUE(library->Menu(4).empty());  // no items

  ResourceMenu nested = library->Menu(3);
  ASSERT_EQ(nested.size(), 3u);
  EXPECT_TRUE(nested[0].popup);
  EXPECT_EQ(nested[0].command, 0u);
  ASSERT_EQ(nested[0].items.size(), 3u);
  EXPECT_EQ(nested[0].items[0].caption, u"inner");
  ASSERT_EQ(nested[0].items[0].items.size(), 1u);
  EXPECT_EQ(nested[0].items[0].items[0].command, 11u);
  EXPECT_TRUE(nested[0].items[1].separator);
  EXPECT_EQ(nested[0].items[1].command, 0u);
  EXPECT_TRUE(nested[0].items[1].caption.empty());
  EXPECT_EQ(nested[0].items[2].command, 13u);
  EXPECT_EQ(nested[1].caption, u"last");
  EXPECT_TRUE(nested[2].popup);
  EXPECT_TRUE(nested[2].items.empty());
}

TEST(ResourceLibrary, PictureBytesStayValidWhileTheirLibraryIsHeld) {
  auto first = ResourceLibrary::Load(LibraryPath());
  ASSERT_TRUE(first);
  auto bytes = first->Picture(kPictureTypeGif, 1098);
  std::vector<uint8_t> copy(bytes.begin(), bytes.end());
  {
    // A second load of the same file shares the module; letting it go must
    // not unload what the first still uses.
    auto second = ResourceLibrary::Load(LibraryPath());
    ASSERT_TRUE(second);
  }
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), copy.begin(), copy.end()));
  EXPECT_EQ(first->String(104), ResourceLibrary::Load(LibraryPath())->String(104));
}

TEST(ResourceLibrary, DecodedPicturesAreSharedAcrossThreadsAndMissingOnesNull) {
  auto library = ResourceLibrary::Load(LibraryPath());
  ASSERT_TRUE(library);
  std::vector<uint32_t> numbers = library->PictureNumbers();
  // Four painters asking at once end up with one decoded picture per number.
  std::vector<std::vector<std::shared_ptr<const Surface>>> seen(4);
  std::vector<std::thread> painters;
  for (auto& mine : seen)
    painters.emplace_back([&] {
      for (uint32_t n : numbers) mine.push_back(library->DecodedPicture(kPictureTypeGif, n));
    });
  for (auto& t : painters) t.join();
  for (size_t i = 0; i < numbers.size(); ++i) {
    ASSERT_TRUE(seen[0][i]) << numbers[i];
    EXPECT_EQ(library->DecodedPicture(kPictureTypePng, numbers[i]), library->DecodedPicture(kPictureTypeGif, numbers[i]));
  }
  auto star = library->DecodedPicture(kPictureTypeGif, 1057);
  EXPECT_EQ(star->width(), 40);
  EXPECT_EQ(star->height(), 40);
  EXPECT_FALSE(library->DecodedPicture(kPictureTypeGif, 1017));

  // Bytes that are no picture decode to nothing, and stay nothing.
  auto odd = ResourceLibrary::Load(BrokenModule("odd_entries"));
  ASSERT_TRUE(odd);
  EXPECT_FALSE(odd->DecodedPicture(kPictureTypePng, 8));
  EXPECT_FALSE(odd->DecodedPicture(kPictureTypePng, 8));

  // A decoded picture is a copy: it outlives its library.
  library.reset();
  EXPECT_EQ(star->width(), 40);
}

}  // namespace
}  // namespace brantel
