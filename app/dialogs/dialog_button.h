#pragma once
// The push button of the message box and the help dialog: picture 1075, or
// 1076 while pressed, with its caption centred on it and moved 2 pixels down
// while pressed so the press shows. The caller selects the caption's font.

#include "platform/gfx/device_context.h"
#include "platform/resources/resource_library.h"

namespace brantel {

void PaintDialogButton(DeviceContext& dc, const ResourceLibraryRef& library, const Rect& button, WideView caption,
                       bool pressed);

}  // namespace brantel
