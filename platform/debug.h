#pragma once
// The platform's debug output: stderr, only when BRANTEL_DEBUG is set.
// Diagnostics never reach the user; they are there for a developer.

#include <string_view>

#include "platform/text.h"

namespace brantel {

bool DebugOutputEnabled();
void DebugOutput(std::string_view utf8);
void DebugOutput(WideView text);

// Tests capture the output through a sink; nullptr restores stderr.
using DebugSink = void (*)(std::string_view utf8);
void SetDebugSinkForTesting(DebugSink sink);

}  // namespace brantel
