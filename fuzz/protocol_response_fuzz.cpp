// Feeds arbitrary bytes to the multipart answer reader and to the XML reader.
// Files an input stores go to a private folder that is emptied after each
// input, so nothing accumulates and nothing lands outside it.

#include <dirent.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "protocol/response_body.h"
#include "protocol/wire_text.h"

namespace {

char g_folder[] = "/tmp/brantel_fuzz_response_XXXXXX";

void RemoveFolder() { rmdir(g_folder); }

const std::string& Folder() {
  static const std::string folder = [] {
    if (!mkdtemp(g_folder)) std::abort();
    std::atexit(RemoveFolder);
    return std::string(g_folder) + "/";
  }();
  return folder;
}

void EmptyFolder(const std::string& folder) {
  if (DIR* d = opendir(folder.c_str())) {
    while (dirent* e = readdir(d)) {
      const std::string name = e->d_name;
      if (name != "." && name != "..") unlink((folder + name).c_str());
    }
    closedir(d);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (auto response = brantel::ReadResponseBody(Folder(), bytes)) {
    // Every stored file lies directly in the folder.
    for (const auto& a : response->attachments()) {
      const std::string path = brantel::Narrow(a.path);
      if (path.compare(0, Folder().size(), Folder()) != 0 || path.find('/', Folder().size()) != std::string::npos)
        std::abort();
    }
  }
  EmptyFolder(Folder());
  brantel::ReadResponseXml(brantel::Utf8ToUtf16(bytes));
  return 0;
}
