#pragma once
// The row settings the MyPage lists (the screen's and the editor's) and the
// search list share: 70-pixel rows on the row picture, the separator line and
// the scroll bar's thumb.

#include "controls/mobile_list_ctrl.h"

namespace brantel {

void StyleQuoteList(CMobileListCtrl& body);

}  // namespace brantel
