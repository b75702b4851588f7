#include "controls/buffered_paint.h"

#include "platform/ui/paint.h"

namespace brantel {

void PaintBuffered(Window& window, Surface& buffer, const DrawClient& draw) {
  PaintScope paint(window);
  if (!paint.visible()) return;
  const Rect client = window.ClientRect();
  if (client.IsEmpty()) return;
  if (buffer.width() != client.Width() || buffer.height() != client.Height())
    buffer = Surface(client.Width(), client.Height());
  DeviceContext buffer_dc(buffer);
  draw(buffer_dc, client);
  paint.dc().BitBlt(0, 0, client.Width(), client.Height(), buffer, 0, 0);
}

}  // namespace brantel
