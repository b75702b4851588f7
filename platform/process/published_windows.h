#pragma once
// Top-level windows published for the other program to find.
//
// Each top-level window of each running program has an entry file in the
// run folder (DataFolder()/run/): its handle, class, title, and the id and
// start time of its process. Lookups read every entry, skip and delete the
// entries of processes that ended (also after a crash, or when the process
// id was given to another process meanwhile).
//
// A window handle is 64 bits; its high 32 bits are the owning process id.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/text.h"

namespace brantel {

using WindowHandle = uint64_t;

constexpr int WindowHandleProcessId(WindowHandle hwnd) { return int(uint32_t(hwnd >> 32)); }

struct PublishedWindow {
  WindowHandle hwnd = 0;
  int pid = 0;
  WideText class_name;
  WideText title;
};

// DataFolder()/run/ with a trailing "/", created on first use.
std::string RunFolder();

// Creates or replaces the entry of `hwnd` (a window of this process).
bool PublishWindow(WindowHandle hwnd, WideView class_name, WideView title);
void UnpublishWindow(WindowHandle hwnd);

// Every live entry, oldest first; entries of ended processes are deleted.
std::vector<PublishedWindow> PublishedWindows();

// The first live window whose class and title equal the given ones (an
// empty text matches any). `include_own` also looks at this process's
// windows.
std::optional<PublishedWindow> FindPublishedWindow(WideView class_name, WideView title, bool include_own = false);

// Ends the process behind a window of another program (SIGTERM, then
// SIGKILL after `grace_ms`). True when it is gone.
bool TerminateWindowProcess(WindowHandle hwnd, uint32_t grace_ms = 3000);

}  // namespace brantel
