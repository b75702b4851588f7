#pragma once
// Names under which the file parts of an answer are stored.

#include "platform/text.h"

namespace brantel {

// The last path component of a name an answer gave ("a/b\\c.png" -> "c.png").
// Empty when nothing usable is left ("", ".", "..", a name ending in a
// separator): the caller then stores the file under a generated name, so a
// name from the network never leads outside the download folder.
WideText SafeAttachmentName(WideView name);

// "MMDDhhmmssmmmRR": month, day, hour, minute, second and millisecond of the
// local time and a pseudo-random number from 0 to 99 (15 characters).
WideText GeneratedAttachmentName();

}  // namespace brantel
