#pragma once
// Whether the machine has a data connection, as NetworkManager sees it:
// offline when its state is below "connected (site)" or its connectivity
// check found no network at all. No bus, no NetworkManager or no answer in
// time count as connected, so a machine without it works as before.

namespace brantel {

enum class NetworkVerdict { kConnected, kOffline, kUnknown };

// One short property read of NetworkManager's state (and connectivity).
// kUnknown when NetworkManager did not answer.
NetworkVerdict AskNetworkManager();

}  // namespace brantel
