#pragma once
// The command identifiers the screens' menus carry (and the dialogs post on
// to their owners), one name each wherever they are handled.

#include <cstdint>

namespace brantel {

inline constexpr uint32_t kCmdMyPageEdit = 40001;    // MyPage: open the editor
inline constexpr uint32_t kCmdExit = 40003;          // every screen: end the viewer
inline constexpr uint32_t kCmdVersion = 40004;       // every screen: the version dialog
inline constexpr uint32_t kCmdRefresh = 40005;       // lists and detail: ask the server again
inline constexpr uint32_t kCmdEditSave = 40006;      // MyPage editor
inline constexpr uint32_t kCmdEditCancel = 40007;    // MyPage editor
inline constexpr uint32_t kCmdSearchClear = 40009;   // search: empty the edit
inline constexpr uint32_t kCmdLandscape = 40014;     // detail: the large chart
inline constexpr uint32_t kCmdClose = 40017;         // detail: close it
inline constexpr uint32_t kCmdVersionClose = 40018;  // version dialog: close it
inline constexpr uint32_t kFirstRankingCommand = 40030;   // 40030-40032: + ranking sub-kind
inline constexpr uint32_t kFirstCurrencyCommand = 50000;  // + exchange row index

}  // namespace brantel
