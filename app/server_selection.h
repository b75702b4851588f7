#pragma once
// Which information server the viewer talks to, where the update manifest
// lies, and the hand-over to the updater.
//
// The selection comes from "Config_MNUV.txt" in the program folder:
//   [SELECT_SERVER]
//   server_type=1
//   [SERVER_1]
//   server_ip=127.0.0.1
//   server_port=8470
//   [UPDATE]
//   uri=/update/
//   port=8470
// Section names and keys are matched as prefixes. What the file does not
// give is taken from the built-in defaults: the reference information
// server on 127.0.0.1 at port 8470, with the manifest at
// http://127.0.0.1:8470/update/q_stock_update.xml.

#include <string>

#include "platform/process/process_launcher.h"
#include "platform/text.h"

namespace brantel {

inline constexpr char16_t kServerSelectionFileName[] = u"Config_MNUV.txt";
inline constexpr char16_t kManifestFileName[] = u"q_stock_update.xml";
inline constexpr char16_t kDefaultServerAddress[] = u"127.0.0.1";
inline constexpr int kDefaultServerPort = 8470;
inline constexpr char16_t kDefaultManifestAddress[] = u"http://127.0.0.1:8470/update/q_stock_update.xml";

inline constexpr char16_t kUpdaterProgram[] = u"StockUpdater.exe";
inline constexpr char16_t kAutoUpdateMarker[] = u"[ STOCK_AUTO_UPDATE ]";
inline constexpr char16_t kUserCancelMarker[] = u"UPDATE_USER_CANCEL";
inline constexpr char16_t kUpdaterWindowClass[] = u"__BRANTEL_STOCK_UPDATE_WM__";
inline constexpr char16_t kViewerWindowClass[] = u"Brantel_Stock_Class";

struct ServerSelection {
  int server_type = 0;  // not 0: a development server
  WideText server_address;
  int server_port = 80;
  WideText manifest_address;
  bool port_from_file = false;  // a server_port line gave the port
};

// Reads the file at `path` into `out` (which starts from the initial
// values). False when the file does not exist or cannot be read; `out`
// then holds the initial values.
bool ReadServerSelectionFile(const std::string& path, ServerSelection* out);
// The same for Config_MNUV.txt in the program folder.
bool ReadServerSelection(ServerSelection* out);

// Fills what the file left empty: an empty server address becomes the
// reference server (with its port, unless the file gave one), an empty
// manifest address the default manifest.
void ApplyBuiltInDefaults(ServerSelection* selection);

// The process-wide selection; setting it also points the request routines
// at the information server (protocol/request_settings.h).
ServerSelection CurrentServerSelection();
void SetCurrentServerSelection(const ServerSelection& selection);

// "DEV-" before the normal title when a development server is selected.
WideText DevelopmentTitle(const ServerSelection& selection, WideView normal_title);

// The viewer's own command line: its arguments joined by spaces.
WideText CommandLineFromArguments(int argc, const char* const* argv);

// False when the viewer's command line carries one of the updater's markers.
bool ShouldStartUpdater(WideView own_command_line);
// "%s|%s" of the program folder and the manifest address.
WideText UpdaterCommandLine(WideView manifest_address);
// Starts StockUpdater from the program folder without waiting, unless the
// command line carries a marker or the updater is not there.
StartedProgram StartUpdater(WideView own_command_line, const ServerSelection& selection);

}  // namespace brantel
