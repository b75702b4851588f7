#pragma once
// CMobileList: the list of every list screen — an optional caption header
// over the list body. It relays the body's WM_MOBILELIST_CLICK and the
// header's WM_MOBILELIST_COLUMN to its owner; on a column change every cell
// of that column shows the header's new alternative.

#include "controls/mobile_list_ctrl.h"
#include "controls/mobile_list_head.h"

namespace brantel {

inline constexpr char16_t kMobileListClass[] = u"Mobile List";

class CMobileList : public Window {
 public:
  // The body covers the whole rectangle until a header is added.
  bool Create(const Rect& rect, Window* owner, ResourceLibraryRef library, int id = 0, uint32_t style = WS_VISIBLE);

  // A header of `height` at the top; the body moves below it.
  void AddHeader(int height);
  void AddHeaderColumn(int column_id, int width, WideView caption, const Rect& hit = {}, unsigned style = 0);
  // The header shows caption `index` of the column and its cells follow.
  void SetColumnAlternative(int column_id, int index);
  void SetHeaderImages(uint32_t background_id, uint32_t indicator_id = 0, const Rect& indicator_rect = {});

  CMobileListCtrl& body() { return body_; }
  const CMobileListCtrl& body() const { return body_; }
  CMobileListHead& head() { return head_; }
  bool has_header() const { return head_.IsAlive(); }

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 private:
  ResourceLibraryRef library_;
  CMobileListHead head_;
  CMobileListCtrl body_;
};

}  // namespace brantel
