// Building menu trees from flat runs, at the edges the built library never
// reaches: flag combinations and the nesting limit.
#include "platform/resources/resource_menu_builder.h"

#include <gtest/gtest.h>

#include <vector>

namespace brantel {
namespace {

constexpr uint32_t kPopup = BRANTEL_MENU_ITEM_POPUP;
constexpr uint32_t kSeparator = BRANTEL_MENU_ITEM_SEPARATOR;

ResourceMenu OneItem(const char16_t* caption) {
  ResourceMenuItem item;
  item.caption = caption;
  return {item};
}

TEST(ResourceMenuBuilder, ASeparatorFlaggedAsPopupDropsItsItemsButNotTheRest) {
  const BrantelMenuItemEntry items[] = {
      {0, kSeparator | kPopup, 0, "odd"},
      {1, 0, 7, "under the separator"},
      {0, 0, 9, "after"},
  };
  ResourceMenu menu;
  ASSERT_TRUE(BuildResourceMenu(items, menu));
  ASSERT_EQ(menu.size(), 2u);
  EXPECT_TRUE(menu[0].separator);
  EXPECT_FALSE(menu[0].popup);
  EXPECT_TRUE(menu[0].items.empty());
  EXPECT_EQ(menu[1].command, 9u);
}

TEST(ResourceMenuBuilder, NestingUpToTheLimitIsKeptAndDeeperRefused) {
  std::vector<BrantelMenuItemEntry> items;
  for (uint32_t depth = 0; depth < kMaxResourceMenuDepth; ++depth) items.push_back({depth, kPopup, 0, "level"});
  items.push_back({kMaxResourceMenuDepth, 0, 42, "deepest"});
  ResourceMenu menu;
  ASSERT_TRUE(BuildResourceMenu(items, menu));
  const ResourceMenu* level = &menu;
  for (uint32_t depth = 0; depth < kMaxResourceMenuDepth; ++depth) {
    ASSERT_EQ(level->size(), 1u);
    level = &(*level)[0].items;
  }
  ASSERT_EQ(level->size(), 1u);
  EXPECT_EQ((*level)[0].command, 42u);

  items.back().flags = kPopup;
  items.push_back({kMaxResourceMenuDepth + 1, 0, 43, "too deep"});
  ResourceMenu untouched = OneItem(u"kept");
  EXPECT_FALSE(BuildResourceMenu(items, untouched));
  ASSERT_EQ(untouched.size(), 1u);
  EXPECT_EQ(untouched[0].caption, u"kept");
}

TEST(ResourceMenuBuilder, AnEmptyRunIsAnEmptyMenu) {
  ResourceMenu menu = OneItem(u"old");
  EXPECT_TRUE(BuildResourceMenu({}, menu));
  EXPECT_TRUE(menu.empty());
}

}  // namespace
}  // namespace brantel
