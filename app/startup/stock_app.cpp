#include "app/startup/stock_app.h"

#include <algorithm>

#include "app/server_selection.h"
#include "app/startup/stock_main_dlg.h"
#include "platform/resources/resource_library.h"
#include "platform/ui/window.h"
#include "protocol/download_folder.h"

namespace brantel {

CStockApp::CStockApp(WideView command_line) {
  const size_t n = std::min(command_line.size(), command_line_.size() - 1);
  std::copy_n(command_line.data(), n, command_line_.begin());
}

WideText CStockApp::command_line() const { return WideText(command_line_.data()); }

int CStockApp::Run() {
  // The resource library (a missing one is reported by the main dialog),
  // the window class, the main dialog.
  LoadProcessResources();
  // Files an earlier run left half-used in TEMP/ go before any request.
  RemoveStaleDownloads();
  RegisterWindowClass(kViewerWindowClass);
  {
    CStockMainDlg dialog(command_line());
    dialog.DoModal();
  }
  UnregisterWindowClass(kViewerWindowClass);
  return 0;
}

}  // namespace brantel
