#include "app/common/viewer_exit.h"

#include "platform/ui/message_queue.h"

namespace brantel {

void PostViewerExit(HWND main_dialog) { PostMessage(main_dialog, WM_DESTROY, 0, 0); }

}  // namespace brantel
