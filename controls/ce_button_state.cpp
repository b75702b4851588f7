#include "controls/ce_button_state.h"

namespace brantel {

CeButtonLook CeButtonState::RestingLook() const {
  if (!enabled_) return CeButtonLook::kDisabled;
  return selected_ ? CeButtonLook::kSelected : CeButtonLook::kNormal;
}

void CeButtonState::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (!enabled) pressed_ = false;
  look_ = RestingLook();
}

void CeButtonState::SetSelected(bool selected) {
  selected_ = selected;
  if (!pressed_) look_ = RestingLook();
}

bool CeButtonState::Press() {
  if (!enabled_) return false;
  pointer_left_ = false;
  pressed_ = true;
  look_ = CeButtonLook::kPressed;
  return true;
}

void CeButtonState::Move(bool inside) {
  if (!pressed_ || inside) return;
  pointer_left_ = true;
  look_ = RestingLook();
}

bool CeButtonState::Release() {
  if (!pressed_) return false;
  pressed_ = false;
  if (pointer_left_) return false;
  look_ = RestingLook();
  return enabled_;
}

}  // namespace brantel
