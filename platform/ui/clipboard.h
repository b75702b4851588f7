#pragma once
// The clipboard of the edit controls: the desktop's when the display backend
// has one (SDL), else a text held in this process (headless), so cut, copy
// and paste work the same in tests. UI thread only.

#include "platform/text.h"

namespace brantel {

bool SetClipboardText(WideView text);
WideText GetClipboardText();

}  // namespace brantel
