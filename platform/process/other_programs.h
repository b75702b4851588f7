#pragma once
// How the two programs find each other and talk: published top-level
// windows, posts between processes, and starting and ending programs.
// Independent of the window system, which calls these from window creation
// and destruction, FindWindow and PostMessage.

#include "platform/process/post_endpoint.h"
#include "platform/process/process_launcher.h"
#include "platform/process/process_liveness.h"
#include "platform/process/published_windows.h"
