#pragma once
// The viewer's settings for a benchmark of its screens against the reference
// server: a private data folder as the program folder, the test phone number,
// the built resource library and the information server.

#include <string>

#include "platform/folders.h"
#include "platform/resources/resource_library.h"
#include "protocol/device_identity.h"
#include "protocol/request_settings.h"
#include "tests/support/quote_server_process.h"
#include "tests/support/temp_folder.h"

namespace brantel {

// False when the resource library or the server is missing; the benchmark
// then has nothing to measure.
inline bool PrepareViewerStage(const testing::TempDataFolder& home, const testing::QuoteServerProcess& server) {
  SetProgramFolderForTesting(home.path() + "/");
  SetDevicePhoneNumber(u"01099990000");
  SetProcessResourcesForTesting(ResourceLibrary::Load(testing::BinDir() + "/stock_resource.so"));
  if (!server.started() || !ProcessResources()) return false;
  SetInformationServer(u"127.0.0.1", server.port());
  return true;
}

}  // namespace brantel
