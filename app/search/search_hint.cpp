#include "app/search/search_hint.h"

namespace brantel {

WideText WithoutHint(WideView text, WideView hint) {
  const size_t at = hint.empty() ? WideView::npos : text.find(hint);
  if (at == WideView::npos) return WideText(text);
  WideText out(text.substr(0, at));
  out += text.substr(at + hint.size());
  return out;
}

SearchEditActions SearchHintState::OnNotify(char16_t key, bool tap, WideView text) {
  SearchEditActions a;
  if (showing_) {
    // A backspace notice over the hint comes from the key that emptied the
    // edit (the hint is back already) or from a backspace on the hint itself.
    if (key == 8 && !tap) return a;
    showing_ = false;
    a.normal_colors = true;
    a.text = WithoutHint(text, hint_);
    a.set_text = a.text != text;
    if (!a.text.empty() && a.text != hint_) a.select_all = a.caret_to_end = true;
    return a;
  }
  if (text.empty()) {
    // A backspace in an edit that is empty already: the hint comes back.
    if (key == 8 && !tap) a.show_hint = a.clear_list = true;
    return a;
  }
  if (tap) a.select_all = true;
  if (key == 8) {
    a.search = true;
    a.text = WideText(text);
  }
  return a;
}

SearchEditActions SearchHintState::OnTextChanged(WideView text, bool own, bool composing) const {
  SearchEditActions a;
  if (!hint_.empty() && text == hint_) {
    a.select_all = true;
    return a;
  }
  if (text.empty()) {
    a.clear_list = true;
    // Emptied by the user: the hint comes back. Not while the screen itself
    // empties it to take the hint away, nor in the middle of a composition.
    if (!own && !composing) a.show_hint = true;
    return a;
  }
  a.search = true;
  a.text = WideText(text);
  return a;
}

SearchEditActions SearchHintState::OnComposing(WideView text_with_syllable) const {
  SearchEditActions a;
  if (showing_) return a;
  if (text_with_syllable.empty()) {
    a.clear_list = true;
    return a;
  }
  a.search = true;
  a.text = WideText(text_with_syllable);
  return a;
}

SearchEditActions SearchHintState::OnSearchRequest(WideView text) const {
  SearchEditActions a;
  if (showing_) return a;  // nothing to search while the hint shows
  if (!hint_.empty() && text == hint_) {
    a.select_all = true;
    return a;
  }
  if (text.empty()) {
    a.clear_list = true;
    return a;
  }
  a.search = true;
  a.text = WideText(text);
  return a;
}

}  // namespace brantel
