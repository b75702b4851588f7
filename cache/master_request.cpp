#include "cache/master_request.h"

#include "protocol/categories.h"
#include "protocol/last_update.h"
#include "protocol/market_requests.h"
#include "protocol/socket_exchange.h"

namespace brantel {

MasterRequestFn ServerMasterRequest(WideView stamp, HWND caller) {
  return [stamp = WideText(stamp), caller](WideView count_text) {
    MasterAnswer answer;
    int32_t last_error = 0;
    const int count = int(ParseLeadingLong(count_text));
    std::unique_ptr<ResponseDocument> response = FetchMaster(count, stamp, caller, &last_error);
    if (!response) {
      answer.cancelled = LastSocketResult() == kSocketCancelled;
      return answer;
    }
    answer.answered = true;
    answer.accepted = response->header().result_code == u"1";
    answer.has_item = response->ItemCount() > 0;
    answer.server_date = response->header().server_date;
    if (const Attachment* file = response->AttachmentAt(0)) answer.file_path = Narrow(file->path);
    return answer;
  };
}

bool RefreshMasterFromServer(WideView stamp, HWND caller) {
  // All attempts together: a server trickling its answers cannot hold the
  // loading dialog for four whole exchange limits.
  SharedExchangeDeadline limit(kMasterRefreshLimitMs);
  return RefreshMaster(ServerMasterRequest(stamp, caller), [](WideView server_date) {
    LastUpdateStamp(server_date, kCategoryMaster, 0, false);
  });
}

}  // namespace brantel
