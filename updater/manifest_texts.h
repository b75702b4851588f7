#pragma once
// The two texts embedded in a manifest's head: the alert shown before an
// update ("[title]...[/title][message]...[/message]") and the list of programs
// to close ("[cnt]n[/cnt][1]class;title;message;path;parameters[/1]...").

#include <cstdint>
#include <vector>

#include "platform/text.h"

namespace brantel {

struct ManifestAlert {
  WideText title;    // at most 63 characters
  WideText message;  // at most 255 characters
};

ManifestAlert ParseAlert(WideView alert);

struct KillProcessItem {
  WideText wnd_class;  // at most 99 characters; "NULL_CLASS": any class
  WideText wnd_name;   // at most 99 characters; "NULL_NAME": any title
  uint32_t close_msg = 0;
  WideText exec_path;       // at most 259 characters
  WideText exec_parameter;  // at most 259 characters
};

// Items 1 to the count; items whose markers are missing are skipped. A count
// larger than the items the text can hold is not walked through.
std::vector<KillProcessItem> ParseKillProcess(WideView text);

}  // namespace brantel
