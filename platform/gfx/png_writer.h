#pragma once
// Writes Surfaces as PNG: screenshots of the headless display, gallery
// references and the reference server's chart pictures.

#include <string>

#include "platform/gfx/surface.h"

namespace brantel {

// PNG bytes of the surface: RGB when every pixel is opaque, else RGBA
// (straight alpha). False for an empty surface.
bool EncodePng(const Surface& surface, std::string& out);

// Writes the PNG through a temporary file and a rename, so a reader never
// sees half a picture. False when it could not be written.
bool WritePngFile(const Surface& surface, const std::string& path);

}  // namespace brantel
