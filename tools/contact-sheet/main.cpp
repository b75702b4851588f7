// brantel-contact-sheet: draws every picture of the resource library and of
// the updater, numbered, onto PNG pages, followed by pages that piece the
// pictures together as the screens do.
//
//   brantel-contact-sheet [--library PATH] [--out FOLDER]
//
// The library defaults to stock_resource.so beside this program, the output
// folder to ./contact-sheet.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "platform/folders.h"
#include "platform/gfx/picture.h"
#include "platform/gfx/png_writer.h"
#include "platform/resources/picture_catalog.h"
#include "platform/resources/resource_library.h"
#include "resources/updater/updater_pictures.h"
#include "tools/contact-sheet/compositions.h"
#include "tools/contact-sheet/sheet_pages.h"

using namespace brantel;
using namespace brantel::contact_sheet;

namespace {

// Decodes each picture once; a picture that is missing or does not decode
// is an empty surface.
class PictureCache {
 public:
  explicit PictureCache(std::function<std::span<const uint8_t>(uint32_t)> bytes) : bytes_(std::move(bytes)) {}
  const Surface& Get(uint32_t number) {
    auto it = cache_.find(number);
    if (it == cache_.end()) {
      std::optional<Surface> decoded = DecodePicture(bytes_(number));
      it = cache_.emplace(number, decoded ? std::move(*decoded) : Surface()).first;
    }
    return it->second;
  }

 private:
  std::function<std::span<const uint8_t>(uint32_t)> bytes_;
  std::map<uint32_t, Surface> cache_;
};

std::string Note(uint32_t number, std::span<const PictureInfo> catalog) {
  for (const PictureInfo& info : catalog)
    if (info.number == number) return info.what;
  return "(not in the picture list)";
}

bool WritePages(const std::vector<Surface>& pages, const std::string& folder, const char* stem, int& written) {
  for (size_t i = 0; i < pages.size(); ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "%s-%02zu.png", stem, i + 1);
    std::string path = JoinPath(folder, name);
    if (!WritePngFile(pages[i], path)) {
      std::fprintf(stderr, "brantel-contact-sheet: cannot write %s\n", path.c_str());
      return false;
    }
    std::printf("%s\n", path.c_str());
    ++written;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string library_path = JoinPath(ProgramFolder(), kResourceLibraryFileName);
  std::string out = "contact-sheet";
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--library") && i + 1 < argc) {
      library_path = argv[++i];
    } else if (!std::strcmp(argv[i], "--out") && i + 1 < argc) {
      out = argv[++i];
    } else {
      std::fprintf(stderr, "usage: brantel-contact-sheet [--library PATH] [--out FOLDER]\n");
      return 2;
    }
  }
  ResourceLibraryRef library = ResourceLibrary::Load(library_path);
  if (!library) {
    std::fprintf(stderr, "brantel-contact-sheet: cannot load %s\n", library_path.c_str());
    return 1;
  }
  if (!CreateFoldersAlong(out)) {
    std::fprintf(stderr, "brantel-contact-sheet: cannot create %s\n", out.c_str());
    return 1;
  }

  PictureCache viewer([&](uint32_t n) { return library->Picture(kPictureTypeGif, n); });
  PictureCache updater([](uint32_t n) { return UpdaterPictureBytes(n); });

  // Every number the library holds, and every listed number it lacks (shown
  // as missing), so a gap is seen at once.
  std::vector<uint32_t> numbers = library->PictureNumbers();
  std::vector<uint32_t> missing;  // searched for in the sorted list, so kept apart until the end
  for (const PictureInfo& info : kViewerPictures)
    if (!std::binary_search(numbers.begin(), numbers.end(), info.number)) missing.push_back(info.number);
  numbers.insert(numbers.end(), missing.begin(), missing.end());
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());

  SheetPages viewer_pages("stock_resource.so", RGB(0x0C, 0x0C, 0x0C));
  for (uint32_t n : numbers) viewer_pages.Add({n, viewer.Get(n), Note(n, kViewerPictures)});
  SheetPages updater_pages("StockUpdater", RGB(0x52, 0x52, 0x52));
  for (uint32_t n : UpdaterPictureNumbers()) updater_pages.Add({n, updater.Get(n), Note(n, kUpdaterPictures)});

  // A listed picture that is missing or does not decode fails the run, so the
  // sheet can guard a build as well as be looked at.
  int broken = 0;
  for (const PictureInfo& info : kViewerPictures)
    if (viewer.Get(info.number).empty()) ++broken, std::fprintf(stderr, "missing picture %u\n", info.number);
  for (const PictureInfo& info : kUpdaterPictures)
    if (updater.Get(info.number).empty()) ++broken, std::fprintf(stderr, "missing updater picture %u\n", info.number);

  int written = 0;
  bool ok = WritePages(viewer_pages.TakePages(), out, "pictures", written) &&
            WritePages(updater_pages.TakePages(), out, "updater", written) &&
            WritePages(DrawCompositions([&](uint32_t n) -> const Surface& { return viewer.Get(n); },
                                        [&](uint32_t n) -> const Surface& { return updater.Get(n); }, *library),
                       out, "assembled", written);
  return ok && written > 0 && broken == 0 ? 0 : 1;
}
