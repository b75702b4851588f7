#include "platform/ui/clipboard.h"

#include "platform/ui/display.h"

namespace brantel {
namespace {

WideText& ProcessClipboard() {
  static WideText text;
  return text;
}

}  // namespace

bool SetClipboardText(WideView text) {
  if (DisplayBackend* backend = CurrentDisplayBackend(); backend && backend->SetClipboardText(Narrow(text)))
    return true;
  ProcessClipboard() = WideText(text);
  return true;
}

WideText GetClipboardText() {
  if (DisplayBackend* backend = CurrentDisplayBackend())
    if (auto text = backend->GetClipboardText()) return Widen(*text);
  return ProcessClipboard();
}

}  // namespace brantel
