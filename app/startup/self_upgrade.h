#pragma once
// The replacement of the updater that the updater could not install while
// it ran: it leaves HKLM "SOFTWARE\Stock\SelpUpgrade" with ExistFilePath
// (the downloaded file) and NewFilePath (the file it replaces), and the
// viewer installs it at its next start.

#include <cstdint>

namespace brantel {

inline constexpr char16_t kSelfUpgradeKey[] = u"SOFTWARE\\Stock\\SelpUpgrade";
inline constexpr int kUpdaterCloseRequests = 6;
// How long each close request is given before the updater is looked for again.
inline constexpr uint32_t kUpdaterCloseWaitMs = 250;

enum class SelfUpgradeResult { kNothingToDo, kRefused, kUpdaterStillOpen, kCopyFailed, kInstalled };

// Asks a running updater to close (up to six times), then writes the
// replacement over the target through a temporary sibling and a rename, so
// an interrupted copy never leaves half an updater. Only once the rename
// succeeded are the key and the downloaded file deleted; otherwise
// everything stays for the next start. Both files must lie in the program
// folder and are reached without following a link, the target's own name
// included (a link there is replaced, not written through); any other
// hand-over is refused: its key is deleted and no file is touched.
SelfUpgradeResult RunSelfUpgradeHandOver();

}  // namespace brantel
