#pragma once
// The cycle every request routine runs: a document with the device's header
// fields, the connection check with the main window, the post through a
// fresh transport, the answer back to the routine.

#include <cstdint>
#include <memory>

#include "platform/ui/ui_types.h"
#include "protocol/request_document.h"
#include "protocol/response_document.h"

namespace brantel {

inline constexpr char16_t kMarketListPath[] = u"/hfjs-web/wm/market/MarketList.do";
inline constexpr char16_t kMarketDetailPath[] = u"/hfjs-web/wm/market/MarketDetail.do";
inline constexpr char16_t kMyPageListPath[] = u"/hfjs-web/wm/myPage/MyPageList.do";
inline constexpr char16_t kMasterPath[] = u"/hfjs-web/common/MasterMain.do";

// Version "1.0", os "WM6.1", empty filler, the device's phone number.
RequestDocument MakeRequestDocument(WideView server_date, WideView layout);

struct RequestOutcome {
  std::unique_ptr<ResponseDocument> response;
  int32_t last_error = 0;  // the transport's, when there is no response
};

// Sends WM_ENSURE_CONNECTION to the main window (or, before there is one, to
// `caller` when it is not 0) and waits for it, then posts the document
// (detail text or list text) to the information server at `path`. Files of
// the answer land in TEMP/ beside the program.
RequestOutcome RunRequestCycle(const RequestDocument& document, bool detail, WideView path, HWND caller);

}  // namespace brantel
