#pragma once
// The row settings both MyPage lists share (the screen's and the editor's).

#include "controls/mobile_list_ctrl.h"

namespace brantel {

void StyleMyPageList(CMobileListCtrl& body);

}  // namespace brantel
