#pragma once
// The fixed-number messages live in platform/ui/ so that controls/ can post
// its notices without depending on the protocol; the protocol and the screens
// keep reaching them through this header.

#include "platform/ui/app_messages.h"
