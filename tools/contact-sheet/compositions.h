#pragma once
// Pages that piece the pictures together as the screens do (tab bars, list
// rows, stretched bands, nine-piece frames, the message box, the updater's
// panel), so that stretching and joins can be judged by eye.

#include <functional>
#include <vector>

#include "platform/gfx/surface.h"
#include "platform/resources/resource_library.h"

namespace brantel::contact_sheet {

// A decoded picture by number; an empty surface when there is none.
using PictureLookup = std::function<const Surface&(uint32_t number)>;

std::vector<Surface> DrawCompositions(const PictureLookup& viewer, const PictureLookup& updater,
                                      const ResourceLibrary& library);

}  // namespace brantel::contact_sheet
