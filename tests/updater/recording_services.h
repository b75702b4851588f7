#pragma once
// UpdateServices for tests of the work object: program windows are a table
// the test fills (closing one by message or by termination removes it),
// started programs and progress reports are recorded, registry scripts go
// through the real importer into the test's registry store.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "updater/update_services.h"
#include "updater/updater_registry.h"

namespace brantel::testing {

class RecordingServices : public UpdateServices {
 public:
  struct FakeWindow {
    WideText wnd_class;
    WideText wnd_name;
    uint32_t closes_on = 0;  // the message that closes it; 0: only termination
    bool alive = true;
  };
  struct Report {
    intptr_t code;
    intptr_t value;
    WideText status;
  };

  ProgramWindow AddWindow(WideText cls, WideText name, uint32_t closes_on) {
    windows_[++next_] = FakeWindow{std::move(cls), std::move(name), closes_on, true};
    return next_;
  }
  bool Alive(ProgramWindow w) const { return windows_.at(w).alive; }

  ProgramWindow FindProgramWindow(WideView cls, WideView name) override {
    ++finds;
    for (auto& [id, w] : windows_)
      if (w.alive && (cls.empty() || w.wnd_class == cls) && (name.empty() || w.wnd_name == name)) return id;
    return 0;
  }
  void PostToWindow(ProgramWindow window, uint32_t message) override {
    posted.emplace_back(window, message);
    if (windows_[window].closes_on == message) windows_[window].alive = false;
  }
  void TerminateWindowProcess(ProgramWindow window) override {
    terminated.push_back(window);
    windows_[window].alive = false;
  }
  void StartProgram(const std::string& path, WideView command_line) override {
    started.emplace_back(path, WideText(command_line));
  }
  bool RegisterComponent(const std::string& path) override {
    registered.push_back(path);
    return true;
  }
  bool ImportRegistryScript(const std::string& path) override { return ImportRegistryScriptIntoStore(path); }
  bool LetMessagesThrough() override { return cancel_when ? cancel_when() : false; }
  void ReportProgress(intptr_t code, intptr_t value) override {
    reports.push_back({code, value, status ? *status : WideText()});
    if (on_report) on_report(code, value);
  }

  std::vector<std::pair<ProgramWindow, uint32_t>> posted;
  std::vector<ProgramWindow> terminated;
  std::vector<std::pair<std::string, WideText>> started;
  std::vector<std::string> registered;
  std::vector<Report> reports;
  std::function<bool()> cancel_when;
  std::function<void(intptr_t, intptr_t)> on_report;
  const WideText* status = nullptr;  // the work object's status text, recorded with each report
  int finds = 0;

 private:
  std::map<ProgramWindow, FakeWindow> windows_;
  ProgramWindow next_ = 0;
};

}  // namespace brantel::testing
