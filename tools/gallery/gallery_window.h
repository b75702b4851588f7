#pragma once
// The gallery as a full-screen dialog: pages turned by the header arrows or
// the left and right keys, a modal message box over the dimmed screen, and
// an echo of pointer, key and input-method messages.

#include <memory>
#include <vector>

#include "controls/mobile_list.h"
#include "platform/gfx/surface.h"
#include "platform/ui/dialog.h"
#include "platform/ui/edit.h"
#include "tools/gallery/gallery_controls.h"
#include "tools/gallery/gallery_pages.h"

namespace brantel::gallery {

class MessageBoxDialog : public Dialog {
 public:
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool OnInitDialog() override;
  int ButtonAt(int x, int y) const;

  Surface dimmed_;  // the screen behind, darkened, taken when opening
  int pressed_ = -1;
};

class GalleryDialog : public Dialog {
 public:
  GalleryDialog();
  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;
  int page() const { return page_; }

 private:
  bool OnInitDialog() override;
  void TurnPage(int delta);
  void OnPointer(uint32_t message, int x, int y);
  void OnKey(uint32_t message, WPARAM key);
  void OnChar(char16_t c);
  void CreateEdits();
  void ShowEdits();

  std::unique_ptr<CMobileList> list_;  // shown on the list page
  int page_ = 0;
  bool button_pressed_ = false;
  InputEcho echo_;
  ControlsPageWindows controls_;
  std::vector<std::unique_ptr<EditControl>> edits_;  // the edit page's, by sample
};

}  // namespace brantel::gallery
