#pragma once
// The CE button's look and its reaction to the pointer, apart from its window
// and painting so the rules can be checked on their own.

#include <cstdint>

namespace brantel {

enum class CeButtonLook : int { kNormal = 1, kPressed = 2, kSelected = 3, kDisabled = 4 };

class CeButtonState {
 public:
  CeButtonLook look() const { return look_; }
  bool enabled() const { return enabled_; }
  bool selected() const { return selected_; }
  bool pressed() const { return pressed_; }
  bool pointer_left() const { return pointer_left_; }

  // Enable or disable; the look follows (selected, normal or disabled).
  void SetEnabled(bool enabled);
  // The owner's toggle look; takes effect at once unless the button is held.
  void SetSelected(bool selected);

  // Pointer down. False when the button is disabled (nothing happens).
  bool Press();
  // Pointer moved while pressed; `inside` tells whether it is over the button.
  // Once it has left, the button shows its resting look.
  void Move(bool inside);
  // Pointer released. True when the parent is to be told of a click.
  bool Release();

 private:
  CeButtonLook RestingLook() const;

  CeButtonLook look_ = CeButtonLook::kNormal;
  bool enabled_ = true;
  bool selected_ = false;
  bool pressed_ = false;
  bool pointer_left_ = false;
};

}  // namespace brantel
