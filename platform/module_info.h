#pragma once
// The running program's folder and version, as the viewer shows them.

#include "platform/text.h"

namespace brantel {

// Full folder of the running executable, ending in "/" (the device used "\").
WideText GetModuleDirectory();

// The program's file version text, embedded at build time from the single
// project version in the top-level CMakeLists.txt ("1.0.0"). Never fails.
WideText GetFileVersionText();

}  // namespace brantel
