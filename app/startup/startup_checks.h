#pragma once
// Registry questions of the viewer's start-up.

namespace brantel {

// HKLM "System\State\Hardware" Cradled: true when it exists and is not 0.
bool IsDeviceCradled();
// HKLM "SOFTWARE\BRANTEL\BrantelStock" display_info: the help is shown when
// the key or value is missing or the value is below 1.
bool ShouldShowHelp();

}  // namespace brantel
