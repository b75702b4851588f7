#pragma once
// Connects the window system to the other program (published windows and
// posts over the run folder's sockets) unless something already did.

namespace brantel {

// Installs the route when no route is installed; true when one is in place.
bool EnsureOtherProgramsRoute();

}  // namespace brantel
