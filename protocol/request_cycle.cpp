#include "protocol/request_cycle.h"

#include "protocol/download_folder.h"
#include "platform/ui/message_queue.h"
#include "protocol/app_messages.h"
#include "protocol/device_identity.h"
#include "protocol/quote_transport.h"
#include "protocol/request_settings.h"

namespace brantel {

RequestDocument MakeRequestDocument(WideView server_date, WideView layout) {
  return RequestDocument(u"1.0", WideText(server_date), WideText(layout), DevicePhoneNumber(), u"WM6.1", u"");
}

RequestOutcome RunRequestCycle(const RequestDocument& document, bool detail, WideView path, HWND caller) {
  const HWND main_window = GetMainWindow();
  if (const HWND target = main_window ? main_window : caller) SendMessage(target, WM_ENSURE_CONNECTION, 0, 0);

  QuoteTransport transport;
  transport.SetDownloadDirectory(DownloadFolder());
  const WideText text = detail ? document.BuildDetailText() : document.BuildInfoListText();
  RequestOutcome outcome;
  outcome.response = transport.PostDocument(InformationServerHost(), InformationServerPort(), path, text);
  outcome.last_error = transport.LastError();
  return outcome;
}

}  // namespace brantel
