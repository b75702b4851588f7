#include "updater/updater_command_line.h"

namespace brantel {

bool ParseUpdaterCommandLine(WideView text, UpdaterCommandLine& out) {
  out = {};
  if (text.empty() || text.size() > kMaxUpdaterCommandLine) return false;
  const size_t bar = text.find(u'|');
  const WideView dir = bar == WideView::npos ? text : text.substr(0, bar);
  if (bar != WideView::npos) out.manifest_address = WideText(text.substr(bar + 1));
  out.viewer_dir = Narrow(dir);
  // The device wrote folders with "\"; either ending is taken as a folder.
  for (char& c : out.viewer_dir)
    if (c == '\\') c = '/';
  if (out.viewer_dir.empty() || out.viewer_dir.back() != '/') out.viewer_dir += '/';
  return true;
}

}  // namespace brantel
