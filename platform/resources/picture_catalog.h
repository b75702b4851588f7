#pragma once
// Every picture number the viewer's screens and controls draw, with the size
// of the rectangle they draw it in, and the updater's own pictures. The
// resource library is built to match: each picture is rendered at exactly
// this size, so drawing it at its own size and stretching it into its
// rectangle give the same result. Pictures the screens stretch into
// rectangles of varying size are plain along the stretched direction.

#include <cstdint>
#include <span>

namespace brantel {

enum class PictureFit : uint8_t {
  kOwnSize,        // drawn at its own size (or into a rectangle of that size)
  kStretchWidth,   // stretched to varying widths: every row is one colour
  kStretchHeight,  // stretched to varying heights: every column is one colour
  kStretchBoth,    // stretched both ways: one colour
  kTiled,          // repeated across the width
};

struct PictureInfo {
  uint32_t number;
  int width;
  int height;
  PictureFit fit;
  const char* what;
};

// clang-format off
inline constexpr PictureInfo kViewerPictures[] = {
  // MyPage editor buttons: up (1004 normal, 1003 pressed, 1031 disabled),
  // down (1002 normal, 1001 pressed, 1032 disabled).
  {1001, 122, 40, PictureFit::kOwnSize, "down button, pressed"},
  {1002, 122, 40, PictureFit::kOwnSize, "down button"},
  {1003, 122, 40, PictureFit::kOwnSize, "up button, pressed"},
  {1004, 122, 40, PictureFit::kOwnSize, "up button"},
  {1031, 122, 40, PictureFit::kOwnSize, "up button, disabled"},
  {1032, 122, 40, PictureFit::kOwnSize, "down button, disabled"},
  // Search button: normal, selected, pressed.
  {1005, 62, 62, PictureFit::kOwnSize, "search button"},
  {1006, 62, 62, PictureFit::kOwnSize, "search button, selected"},
  {1007, 62, 62, PictureFit::kOwnSize, "search button, pressed"},
  // Main tab bar: 130 x 88 cells, icons in a 66 x 66 box.
  {1009, 130, 88, PictureFit::kOwnSize, "main tab highlight"},
  {1010, 480, 88, PictureFit::kTiled, "main tab bar background"},
  {1011, 66, 66, PictureFit::kOwnSize, "MyPage tab icon"},
  {1012, 66, 66, PictureFit::kOwnSize, "MyPage tab icon, selected"},
  {1013, 66, 66, PictureFit::kOwnSize, "search tab icon"},
  {1014, 66, 66, PictureFit::kOwnSize, "search tab icon, selected"},
  {1015, 66, 66, PictureFit::kOwnSize, "market tab icon, selected"},
  {1016, 66, 66, PictureFit::kOwnSize, "market tab icon"},
  // Bands and rows.
  {1018, 480, 42, PictureFit::kStretchWidth, "section row band"},
  {1019, 480, 40, PictureFit::kStretchWidth, "footer and update bar band"},
  {1022, 480, 70, PictureFit::kStretchWidth, "list row background"},
  {1023, 480, 70, PictureFit::kOwnSize, "list row selection"},
  {1025, 40, 40, PictureFit::kOwnSize, "MyPage row arrow"},
  // Scroll thumb: 15 wide, caps 8 high, body stretched between them.
  {1026, 15, 8, PictureFit::kOwnSize, "scroll thumb top cap"},
  {1027, 15, 8, PictureFit::kOwnSize, "scroll thumb bottom cap"},
  {1028, 15, 16, PictureFit::kStretchHeight, "scroll thumb body"},
  // Market sub-screen tab strip: 95 x 60 cells.
  {1029, 95, 60, PictureFit::kOwnSize, "market tab, selected"},
  {1030, 95, 60, PictureFit::kTiled, "market tab and strip background"},
  {1097, 95, 60, PictureFit::kOwnSize, "market tab, last"},
  {1033, 480, 40, PictureFit::kStretchWidth, "MyPage editor button strip"},
  {1034, 480, 75, PictureFit::kStretchWidth, "title band"},
  // Update bar and detail loading animation.
  {1035, 30, 30, PictureFit::kOwnSize, "spinner frame 1"},
  {1036, 30, 30, PictureFit::kOwnSize, "spinner frame 2"},
  {1037, 30, 30, PictureFit::kOwnSize, "spinner frame 3"},
  {1038, 30, 30, PictureFit::kOwnSize, "spinner frame 4"},
  {1039, 30, 30, PictureFit::kOwnSize, "spinner frame 5"},
  {1040, 30, 30, PictureFit::kOwnSize, "spinner frame 6"},
  {1041, 30, 30, PictureFit::kOwnSize, "spinner frame 7"},
  {1042, 30, 30, PictureFit::kOwnSize, "spinner frame 8"},
  // Stock detail.
  {1043, 800, 42, PictureFit::kStretchWidth, "landscape header band"},
  {1044, 217, 110, PictureFit::kOwnSize, "price box"},
  {1045, 480, 170, PictureFit::kOwnSize, "52-week frame"},
  {1046, 216, 152, PictureFit::kOwnSize, "small chart frame"},
  {1047, 64, 64, PictureFit::kOwnSize, "period menu button"},
  {1048, 64, 64, PictureFit::kOwnSize, "period menu button, pressed"},
  {1049, 64, 64, PictureFit::kOwnSize, "refresh button"},
  {1050, 64, 64, PictureFit::kOwnSize, "refresh button, pressed"},
  {1051, 800, 480, PictureFit::kOwnSize, "landscape background"},
  {1096, 480, 60, PictureFit::kStretchWidth, "daily row band"},
  {1098, 220, 40, PictureFit::kOwnSize, "logo"},
  // The window icon (big and small), also the installed application icon.
  {110, 48, 48, PictureFit::kOwnSize, "window icon"},
  // Search bar: band, then the field's left cap, body and right cap.
  {1052, 480, 86, PictureFit::kStretchWidth, "search bar band"},
  {1053, 12, 62, PictureFit::kOwnSize, "search field left cap"},
  {1054, 12, 62, PictureFit::kOwnSize, "search field right cap"},
  {1055, 364, 62, PictureFit::kStretchWidth, "search field body"},
  // MyPage star and editor mark.
  {1056, 40, 40, PictureFit::kOwnSize, "star off"},
  {1057, 40, 40, PictureFit::kOwnSize, "star on"},
  // Period menu frame, nine pieces of 16 x 16: corners own size, edges and
  // centre stretched.
  {1058, 16, 16, PictureFit::kStretchWidth, "period menu bottom edge"},
  {1059, 16, 16, PictureFit::kStretchBoth, "period menu centre"},
  {1060, 16, 16, PictureFit::kStretchWidth, "period menu top edge"},
  {1061, 16, 16, PictureFit::kOwnSize, "period menu bottom-left corner"},
  {1062, 16, 16, PictureFit::kStretchHeight, "period menu left edge"},
  {1063, 16, 16, PictureFit::kOwnSize, "period menu top-left corner"},
  {1064, 16, 16, PictureFit::kOwnSize, "period menu bottom-right corner"},
  {1065, 16, 16, PictureFit::kStretchHeight, "period menu right edge"},
  {1066, 16, 16, PictureFit::kOwnSize, "period menu top-right corner"},
  // Period menu highlight: left cap, body, right cap, one item high.
  {1067, 16, 65, PictureFit::kStretchWidth, "period highlight body"},
  {1068, 6, 65, PictureFit::kOwnSize, "period highlight left cap"},
  {1069, 6, 65, PictureFit::kOwnSize, "period highlight right cap"},
  // Message box: top, middle (stretched to the text), bottom; buttons.
  {1070, 445, 65, PictureFit::kOwnSize, "message box top"},
  {1071, 445, 48, PictureFit::kStretchHeight, "message box middle"},
  {1072, 445, 20, PictureFit::kOwnSize, "message box bottom"},
  // Dialog buttons: 196 wide, also stretched to 403 for a lone button;
  // their corners are small enough to stretch.
  {1075, 196, 62, PictureFit::kOwnSize, "dialog button"},
  {1076, 196, 62, PictureFit::kOwnSize, "dialog button, pressed"},
  // Loading dialog: panel and eight frames.
  {1078, 400, 390, PictureFit::kOwnSize, "loading panel"},
  {1081, 50, 50, PictureFit::kOwnSize, "loading frame 1"},
  {1082, 50, 50, PictureFit::kOwnSize, "loading frame 2"},
  {1083, 50, 50, PictureFit::kOwnSize, "loading frame 3"},
  {1084, 50, 50, PictureFit::kOwnSize, "loading frame 4"},
  {1085, 50, 50, PictureFit::kOwnSize, "loading frame 5"},
  {1086, 50, 50, PictureFit::kOwnSize, "loading frame 6"},
  {1087, 50, 50, PictureFit::kOwnSize, "loading frame 7"},
  {1088, 50, 50, PictureFit::kOwnSize, "loading frame 8"},
  // Help dialog: panel top, middle, bottom; tick box; heading bullet.
  {1089, 445, 20, PictureFit::kOwnSize, "help panel top"},
  {1090, 445, 40, PictureFit::kStretchHeight, "help panel middle"},
  {1091, 445, 20, PictureFit::kOwnSize, "help panel bottom"},
  {1092, 52, 52, PictureFit::kOwnSize, "tick box, ticked"},
  {1093, 52, 52, PictureFit::kOwnSize, "tick box, not ticked"},
  {1094, 30, 30, PictureFit::kOwnSize, "help heading bullet"},
};

inline constexpr PictureInfo kUpdaterPictures[] = {
  {501, 108, 38, PictureFit::kOwnSize, "button face"},
  {502, 108, 38, PictureFit::kOwnSize, "button face, pressed"},
  {503, 108, 38, PictureFit::kOwnSize, "button face, disabled"},
  {504, 108, 38, PictureFit::kOwnSize, "button face, selected"},
  {505, 8, 15, PictureFit::kTiled, "progress fill"},
  {506, 254, 29, PictureFit::kOwnSize, "overall bar frame"},
  {507, 322, 360, PictureFit::kOwnSize, "panel background"},
  {508, 78, 22, PictureFit::kOwnSize, "file bar label"},
  {509, 78, 22, PictureFit::kOwnSize, "overall bar label"},
  {510, 254, 29, PictureFit::kOwnSize, "file bar frame"},
};
// clang-format on

// The entry of a number, or null.
inline const PictureInfo* FindViewerPicture(uint32_t number) {
  for (const PictureInfo& info : kViewerPictures)
    if (info.number == number) return &info;
  return nullptr;
}

}  // namespace brantel
