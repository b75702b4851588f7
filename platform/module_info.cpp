#include "platform/module_info.h"

#include "platform/folders.h"
#include "platform/version_info.h"

namespace brantel {

WideText GetModuleDirectory() { return Widen(ProgramFolder()); }

WideText GetFileVersionText() { return Widen(BRANTEL_VERSION_TEXT); }

}  // namespace brantel
