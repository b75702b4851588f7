#pragma once
// The stock detail's own frame (the panel paints itself): the title band
// with the name and star and the footer in portrait; the header, the large
// chart, the footer and the two buttons in landscape.

#include "app/detail/detail_rules.h"
#include "app/detail/detail_view_state.h"
#include "platform/gfx/device_context.h"
#include "platform/gfx/surface.h"
#include "platform/resources/resource_library.h"

namespace brantel {

inline constexpr COLORREF kDetailBackground = 0x0C0C0C;
inline constexpr COLORREF kDetailNameColour = 0x94FFEF;
inline constexpr COLORREF kUpdateTextColour = 0x999999;

// The name's placement for the band (measured at 32, as the band shows it).
NamePlacement MeasureNamePlacement(WideView name, int band_width);

void PaintPortraitFrame(DeviceContext& dc, Size size, const DetailViewState& state, const ResourceLibraryRef& library);
// `large_chart` may be empty (the chart area stays empty).
void PaintLandscapeFrame(DeviceContext& dc, Size size, const DetailViewState& state, const Surface& large_chart,
                         const ResourceLibraryRef& library);

// Where the loading animation's 30 x 30 frame goes.
Point SpinnerPosition(Size size, bool landscape);

}  // namespace brantel
