#include "cache/ansi_wide_text.h"

namespace brantel {

CAnsiWideText::CAnsiWideText(const char* narrow) {
  if (narrow) {
    narrow_ = narrow;
    wide_ = Widen(narrow_);
  }
  SetSizes(narrow != nullptr);
}

CAnsiWideText::CAnsiWideText(const char16_t* wide) {
  if (wide) {
    wide_ = wide;
    narrow_ = brantel::Narrow(wide_);
  }
  SetSizes(wide != nullptr);
}

CAnsiWideText::CAnsiWideText(std::string_view narrow) : narrow_(narrow), wide_(Widen(narrow)) { SetSizes(true); }

CAnsiWideText::CAnsiWideText(WideView wide) : narrow_(brantel::Narrow(wide)), wide_(wide) { SetSizes(true); }

void CAnsiWideText::SetSizes(bool has_source) {
  narrow_size_ = has_source ? narrow_.size() + 1 : 0;
  wide_length_ = has_source ? wide_.size() + 1 : 0;
}

}  // namespace brantel
