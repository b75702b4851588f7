#include "protocol/change_mark.h"

namespace brantel {

void FormatChangeMark(WideText& change, WideText& sign, WideText& marker, uint32_t& colour) {
  const double value = ParseLeadingDouble(change);
  if (value < 0) {
    sign = u"▼";
    marker = u"▼^▼^ ";
    change = ReplaceAll(change, u"-", u"");
    colour = kChangeColourDown;
  } else if (value > 0) {
    sign = u"▲";
    marker = u"▲^▲^ ";
    colour = kChangeColourUp;
  } else {
    sign.clear();
    marker.clear();
    colour = kChangeColourFlat;
  }
}

}  // namespace brantel
