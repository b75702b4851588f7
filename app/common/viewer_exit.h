#pragma once
// How a screen ends the viewer: it posts the destroy message to the main
// dialog, which closes it in its designed order (CStockMainDlg).

#include "platform/ui/ui_types.h"

namespace brantel {

void PostViewerExit(HWND main_dialog);

}  // namespace brantel
