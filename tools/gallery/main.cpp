// brantel-gallery: shows what the drawing layer draws, page by page, in a
// window or on the headless screen, and renders the pages to PNG files.
//   brantel-gallery                      a window (SDL) when a display exists
//   brantel-gallery --headless --script FILE   play a script (screenshots)
//   brantel-gallery --pages DIR          write every page as DIR/gallery-N.png
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/folders.h"
#include "platform/gfx/png_writer.h"
#include "platform/ui/display.h"
#include "tools/gallery/gallery_pages.h"
#include "tools/gallery/gallery_window.h"

namespace {

using namespace brantel;

constexpr char kUsage[] =
    "usage: brantel-gallery [--headless|--sdl] [--scale PERCENT|--fullscreen] [--script FILE]\n"
    "       brantel-gallery --pages DIR\n"
    "Pages: text 18-30, text 32-48, DrawText, drawing, dialog, input, controls,\n"
    "a list of 3,000 rows (flick it, or wheel, Up, Down, PageUp, PageDown), edit.\n"
    "Turn pages with the arrows in the header or the Left and Right keys;\n"
    "Escape (the back key) ends the gallery.\n"
    "--pages DIR renders every page without a window system into\n"
    "DIR/gallery-N.png (the dialog page with its message box open).\n";

// The pages drawn straight into surfaces: the same painting code as the
// windows, without the window system.
int RenderPages(const std::string& dir) {
  if (!CreateFoldersAlong(dir)) {
    std::fprintf(stderr, "brantel-gallery: cannot create %s\n", dir.c_str());
    return 1;
  }
  for (int page = 0; page < gallery::kPageCount; ++page) {
    Surface surface(gallery::kPageWidth, gallery::kPageHeight);
    DeviceContext dc(surface);
    gallery::InputEcho echo;
    gallery::PaintPage(dc, page, echo, page == gallery::kDialog);
    const std::string path = JoinPath(dir, "gallery-" + std::to_string(page + 1) + ".png");
    if (!WritePngFile(surface, path)) {
      std::fprintf(stderr, "brantel-gallery: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      std::fputs(DisplayHelpText().c_str(), stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--pages") == 0) {
      if (i + 1 >= argc) {
        std::fputs(kUsage, stderr);
        return 2;
      }
      return RenderPages(argv[i + 1]);
    }
  }
  const DisplayOptions options = ParseDisplayOptions(argc, argv);
  if (!StartDisplay(options)) {
    std::fprintf(stderr, "brantel-gallery: the display could not start\n");
    return 1;
  }
  gallery::GalleryDialog gallery;
  gallery.DoModal();
  StopDisplay();
  return 0;
}
