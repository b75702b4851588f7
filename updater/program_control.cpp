// Closing the programs a release names, and starting them again afterwards.
// Only programs inside the viewer's folder are closed and started: a
// restart path anywhere else, or one reached through a link, is refused.

#include <cstdio>

#include "updater/manifest_texts.h"
#include "updater/message_wait.h"
#include "updater/update_destinations.h"
#include "updater/update_work.h"

namespace brantel {

void CUpdateWork::RefuseRestart(const std::string& path) {
  if (!failed_) current_name_ = Widen(path);
  failed_ = true;
  std::fprintf(stderr, "StockUpdater: restart of %s refused: not a program of the program folder\n", path.c_str());
}

void CUpdateWork::CloseProgram(WideView wnd_class, WideView wnd_name, uint32_t close_msg, WideView exec_path,
                               WideView exec_parameter) {
  const bool any_class = wnd_class == u"NULL_CLASS";
  const bool any_name = wnd_name == u"NULL_NAME";
  if (any_class && any_name) return;
  RestartEntry entry;
  if (!ResolveRestartProgram(exec_path, setup_.viewer_dir, entry.path)) {
    RefuseRestart(Narrow(exec_path));  // neither closed nor started
    return;
  }
  const WideView cls = any_class ? WideView() : wnd_class;
  const WideView name = any_name ? WideView() : wnd_name;
  ProgramWindow window = services_.FindProgramWindow(cls, name);
  if (!window) return;  // not running: nothing to restart either
  for (int i = 0; i < kCloseProgramTries && window; ++i) {
    if (close_msg != 0) {
      services_.PostToWindow(window, close_msg);
    } else {
      services_.TerminateWindowProcess(window);
    }
    WaitLettingMessagesThrough(100, [this] { return services_.LetMessagesThrough(); });
    window = services_.FindProgramWindow(cls, name);
  }
  for (const RestartEntry& known : restarts_)
    if (EqualsNoCase(Widen(known.path), Widen(entry.path))) return;
  entry.command_line = WideText(exec_parameter);
  restarts_.push_back(std::move(entry));
}

void CUpdateWork::CloseListedPrograms() {
  if (plan_.kill_process.empty()) return;
  for (const KillProcessItem& item : ParseKillProcess(plan_.kill_process))
    CloseProgram(item.wnd_class, item.wnd_name, item.close_msg, item.exec_path, item.exec_parameter);
}

void CUpdateWork::StartProgram(const std::string& path, WideView command_line, WideView marker) {
  if (path.empty()) return;
  // What the path names is checked again now, not only when it was closed.
  if (!ReachedWithoutLinks(path, setup_.viewer_dir)) {
    RefuseRestart(path);
    return;
  }
  services_.StartProgram(path, command_line.empty() ? marker : command_line);
}

void CUpdateWork::RestartAll(WideView marker) {
  for (const RestartEntry& entry : restarts_) StartProgram(entry.path, entry.command_line, marker);
}

void CUpdateWork::RestartWithCancelMarker() { RestartAll(kMarkerUserCancel); }

}  // namespace brantel
