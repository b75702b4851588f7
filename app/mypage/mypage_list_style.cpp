#include "app/mypage/mypage_list_style.h"

namespace brantel {

void StyleMyPageList(CMobileListCtrl& body) {
  body.SetDefaultRowHeight(70);
  body.SetRowBackgroundImage(1022);
  body.SetSelectionImage(1023);
  body.SetSeparatorPen(0x504744, 1);
  body.SetThumbWidth(15);
  body.SetThumbImages(1026, 1028, 1027);
  body.EnableScrollBar(true);
}

}  // namespace brantel
