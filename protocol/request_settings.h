#pragma once
// The process-wide request settings: which information server the request
// routines talk to. The application fills them at start-up from the server
// selection; until then they name port 80 of no host.

#include "platform/text.h"

namespace brantel {

inline constexpr int kDefaultInformationServerPort = 80;

void SetInformationServer(WideView host, int port);
WideText InformationServerHost();
int InformationServerPort();

}  // namespace brantel
