// The demo release the reference server publishes (tools/quote-server/
// release): its manifest reads, lies where the demo configuration looks for
// it, and every file it lists is there with the size and digest it names.

#include <gtest/gtest.h>

#include "platform/folders.h"
#include "tests/support/temp_folder.h"
#include "updater/download_address.h"
#include "updater/manifest.h"
#include "updater/sha256.h"
#include "updater/update_destinations.h"

namespace brantel {
namespace {

const std::string kRelease = std::string(BRANTEL_TEST_DATA_DIR) + "/../../tools/quote-server/release";

TEST(DemoRelease, ManifestAndFilesAgree) {
  Manifest m;
  ManifestLoadError error;
  ASSERT_EQ(LoadManifest(kRelease + "/update/q_stock_update.xml", true, true, m, &error), kManifestOk)
      << error.reason << " at line " << error.line;
  EXPECT_FALSE(m.head.update_date.empty());
  ASSERT_FALSE(m.files.empty());
  for (const UpdateFileEntry& e : m.files) {
    DownloadAddress where;
    ASSERT_EQ(ParseDownloadAddress(e.down_url, where), 0) << Narrow(e.name);
    EXPECT_EQ(where.host, "127.0.0.1");
    EXPECT_EQ(where.port, 8470);  // the demo configuration's server
    const std::string file = kRelease + where.path;
    ASSERT_TRUE(FileExists(file)) << file;
    const std::string bytes = testing::ReadFile(file);
    EXPECT_EQ(int64_t(bytes.size()), e.file_size) << file;
    EXPECT_EQ(Widen(Sha256OfBytes(bytes)), e.sha256) << file;
    // Every file goes where a release may write (a registry script is imported instead).
    std::string target;
    EXPECT_TRUE(e.is_reg_file || ResolveDestination(e.local_path, {"/viewer/", "/data/"}, target))
        << Narrow(e.local_path);
  }
}

}  // namespace
}  // namespace brantel
