#pragma once
// The master refresh wired to the information server: the master request of
// the data service, and the master stamp in the registry.

#include "cache/master_refresh.h"
#include "platform/ui/ui_types.h"

namespace brantel {

// The master request as the refresh needs it: sends the count and `stamp`,
// reports whether and what the server answered.
MasterRequestFn ServerMasterRequest(WideView stamp, HWND caller);

// Every attempt of the start-up's master refresh together ends by this.
inline constexpr int kMasterRefreshLimitMs = 60 * 1000;

// The refresh of the viewer's start-up: the request above with the master
// stamp read at start (`stamp`), and the answer's ServerDate stored as the
// new master stamp when a new file was installed. Its attempts share
// kMasterRefreshLimitMs.
bool RefreshMasterFromServer(WideView stamp, HWND caller);

}  // namespace brantel
