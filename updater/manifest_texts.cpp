#include "updater/manifest_texts.h"

#include "updater/manifest.h"

namespace brantel {

namespace {

// The text between `open` and the next `close` after it; empty when either
// is missing.
WideView Between(WideView text, WideView open, WideView close) {
  const size_t a = text.find(open);
  if (a == WideView::npos) return {};
  const size_t start = a + open.size();
  const size_t b = text.find(close, start);
  if (b == WideView::npos) return {};
  return text.substr(start, b - start);
}

bool HasBoth(WideView text, WideView open, WideView close) {
  const size_t a = text.find(open);
  return a != WideView::npos && text.find(close, a + open.size()) != WideView::npos;
}

}  // namespace

ManifestAlert ParseAlert(WideView alert) {
  ManifestAlert out;
  out.title = KeepLength(Between(alert, u"[title]", u"[/title]"), 63);
  out.message = KeepLength(Between(alert, u"[message]", u"[/message]"), 255);
  return out;
}

std::vector<KillProcessItem> ParseKillProcess(WideView text) {
  std::vector<KillProcessItem> items;
  long count = ParseLeadingLong(Between(text, u"[cnt]", u"[/cnt]"), 10);
  // The shortest item, "[1][/1]", takes 7 characters: no text can hold more
  // items than its length allows.
  const long most = long(text.size() / 7) + 1;
  if (count > most) count = most;
  for (long i = 1; i <= count; ++i) {
    const WideText open = FormatText(u"[%d]", i);
    const WideText close = FormatText(u"[/%d]", i);
    if (!HasBoth(text, open, close)) continue;
    const std::vector<WideText> fields = Split(Between(text, open, close), u";");
    auto field = [&](size_t n) { return n < fields.size() ? WideView(fields[n]) : WideView(); };
    KillProcessItem item;
    item.wnd_class = KeepLength(field(0), 99);
    item.wnd_name = KeepLength(field(1), 99);
    item.close_msg = uint32_t(ParseLeadingLong(field(2), 10));
    item.exec_path = KeepLength(field(3), 259);
    item.exec_parameter = KeepLength(field(4), 259);
    items.push_back(std::move(item));
  }
  return items;
}

}  // namespace brantel
