#pragma once
// The numbered message box every screen shows: the text is string entry
// `number` of the resource library (empty when it has none), the caption
// "증권정보 NUV".
//   style 0: "Ok" only; returns 1.
//   style 1: "Ok" and "Cancel"; returns 6 (yes) for the first, 7 (no) for
//            the second (also for the back key).

#include <cstdint>

#include "platform/ui/window.h"

namespace brantel {

inline constexpr char16_t kMessageCaption[] = u"증권정보 NUV";
inline constexpr intptr_t kMessageOk = 1;
inline constexpr intptr_t kMessageYes = 6;
inline constexpr intptr_t kMessageNo = 7;

// The styles.
inline constexpr int kMessageStyleOk = 0;
inline constexpr int kMessageStyleYesNo = 1;

// The numbers in use.
inline constexpr int kMessageRefreshFailed = 108;  // a list or the detail
inline constexpr int kMessageMasterFailed = 109;
inline constexpr int kMessageNoConnection = 111;   // asked with style 1
inline constexpr int kMessageMyPageFull = 112;

intptr_t ShowNumberedMessage(Window* owner, int number, int style);

// The routine's answer for the message box's result (1 first, 2 second).
intptr_t NumberedMessageResult(int style, intptr_t box_result);

}  // namespace brantel
