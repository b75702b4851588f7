// A resource module with a deliberately odd table; the variant is chosen by
// a compile definition (see CMakeLists.txt).
#include "platform/resources/resource_abi.h"

#define EXPORT extern "C" __attribute__((visibility("default")))

#ifdef BROKEN_NO_TABLE
EXPORT int not_a_resource_table(void) { return 0; }
#else

namespace {
const unsigned char kFirst[] = {1, 2, 3, 4};
const unsigned char kSecond[] = {5, 6, 7, 8};

const BrantelPictureEntry kPictures[] = {
    {BRANTEL_PICTURE_PNG, 7, nullptr, 10},   // no bytes: skipped
    {BRANTEL_PICTURE_PNG, 8, kFirst, 4},
    {BRANTEL_PICTURE_GIF, 8, kSecond, 4},   // same number, other type
    {BRANTEL_PICTURE_PNG, 9, kFirst, 0},     // empty: skipped
};
const BrantelStringEntry kStrings[] = {
    {5, nullptr},
    {6, "둘"},
    {6, "shadowed"},
};
const BrantelMenuItemEntry kDepthJump[] = {
    {0, 0, 1, "a"},
    {1, 0, 2, "b"},  // deeper without a pop-up before it
};
const BrantelMenuItemEntry kStartsDeep[] = {
    {1, 0, 1, "a"},
};
const BrantelMenuItemEntry kNested[] = {
    {0, BRANTEL_MENU_ITEM_POPUP, 99, "top"},  // a pop-up's command is ignored
    {1, BRANTEL_MENU_ITEM_POPUP, 0, "inner"},
    {2, 0, 11, "deep"},
    {1, BRANTEL_MENU_ITEM_SEPARATOR, 12, "ignored"},
    {1, 0, 13, nullptr},
    {0, 0, 14, "last"},
    {0, BRANTEL_MENU_ITEM_POPUP, 0, "empty"},
};
const BrantelMenuEntry kMenus[] = {
    {1, kDepthJump, 2},
    {2, kStartsDeep, 1},
    {3, kNested, 7},
    {3, kDepthJump, 2},  // a later entry of the same number is ignored
    {4, nullptr, 3},     // items missing
};
}  // namespace

EXPORT const BrantelResourceTable* brantel_resource_table(void) {
  static const BrantelResourceTable table = {
#ifdef BROKEN_FUTURE_ABI
      BRANTEL_RESOURCE_ABI_VERSION + 1,
#else
      BRANTEL_RESOURCE_ABI_VERSION,
#endif
      sizeof(BrantelResourceTable),
      kPictures,
#ifdef BROKEN_HUGE_COUNT
      1u << 30,
#else
      sizeof kPictures / sizeof kPictures[0],
#endif
      kStrings,
      sizeof kStrings / sizeof kStrings[0],
      kMenus,
      sizeof kMenus / sizeof kMenus[0],
  };
  return &table;
}
#endif
