#include "controls/tab_strip_paint.h"

#include "controls/image_drawing.h"

namespace brantel {

void DrawTabStrip(DeviceContext& dc, const Rect& client, const TabStripState& state, const TabStripLook& look,
                  const ResourceLibraryRef& library) {
  dc.FillSolid(client, 0x000000);
  if (look.background && library) {
    if (std::shared_ptr<const Surface> tile = library->DecodedPicture(kPictureTypeGif, look.background))
      TileImage(dc, 0, 0, client.Width(), *tile);
  }
  if (look.font) dc.SelectFont(look.font);
  dc.SetBkMode(TRANSPARENT);
  const std::vector<KWTab>& tabs = state.tabs();
  for (size_t i = 0; i < tabs.size(); ++i) {
    const KWTab& tab = tabs[i];
    const bool lit = state.Highlighted(int(i));
    if (lit && look.highlight) {
      const Rect box = tab.rect.Offset(look.highlight_dx, look.highlight_dy);
      DrawResourcePicture(dc, box.left, box.top, box.Width(), box.Height(), library, look.highlight);
    }
    const uint32_t icon = lit ? tab.selected_icon : tab.normal_icon;
    if (icon > 0) {
      const Rect box = tab.icon_rect.Offset(tab.rect.left, tab.rect.top);
      DrawResourcePicture(dc, box.left, box.top, box.Width(), box.Height(), library, icon);
    }
    dc.SetTextColor(lit ? look.selected_text_color : look.text_color);
    dc.DrawText(tab.text, tab.text_rect.Offset(tab.rect.left, tab.rect.top), look.text_format);
  }
}

}  // namespace brantel
