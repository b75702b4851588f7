// The one function the resource library exports: its table of pictures,
// strings and menus.
#include "resources/module/stock_resource_tables.h"

extern "C" {
// Generated from the rendered artwork.
extern const BrantelPictureEntry brantel_viewer_pictures[];
extern const uint32_t brantel_viewer_pictures_count;

__attribute__((visibility("default"))) const BrantelResourceTable* brantel_resource_table(void);
}

const BrantelResourceTable* brantel_resource_table(void) {
  using namespace brantel::stock_resource;
  static const BrantelResourceTable table = {
      BRANTEL_RESOURCE_ABI_VERSION,
      uint32_t(sizeof(BrantelResourceTable)),
      brantel_viewer_pictures,
      brantel_viewer_pictures_count,
      Strings().data(),
      uint32_t(Strings().size()),
      Menus().data(),
      uint32_t(Menus().size()),
  };
  return &table;
}
