#pragma once
// What a screen suite runs in, made and put back in one place: a fresh data
// and program folder, the device's number, the viewer's resources, and the
// cache's MyPage and quote tables.

#include <string>

#include "cache/cache_tables.h"
#include "platform/folders.h"
#include "platform/resources/resource_library.h"
#include "protocol/device_identity.h"
#include "tests/support/quote_server_process.h"
#include "tests/support/temp_folder.h"

namespace brantel::testing {

class ScreenHome {
 public:
  explicit ScreenHome(const std::string& prefix) : folder_(prefix) {
    SetProgramFolderForTesting(folder_.path() + "/");
    SetDevicePhoneNumber(u"01099990000");
    library_ = ResourceLibrary::Load(BinDir() + "/stock_resource.so");
    SetProcessResourcesForTesting(library_);
    EnsureMyPageTable();
    EnsureQuoteTable("StockData");
  }
  ~ScreenHome() {
    SetProcessResourcesForTesting(nullptr);
    SetProgramFolderForTesting("");
  }
  ScreenHome(const ScreenHome&) = delete;
  ScreenHome& operator=(const ScreenHome&) = delete;

  const std::string& path() const { return folder_.path(); }
  const ResourceLibraryRef& library() const { return library_; }

 private:
  TempDataFolder folder_;
  ResourceLibraryRef library_;
};

}  // namespace brantel::testing
