#pragma once
// CVersionInfoDlg: the version dialog of the screens' menus (command 40004).
// It shows the lines of "VersionInfo.txt" beside the program (or the file
// version when it has none) under a title band, with a menu bar whose soft
// key closes it. Closing only tells the owner (WM_VERSION_CLOSED); the owner
// destroys the dialog. The device's system keys are turned into the owner's
// commands before they are dispatched: the end key, the talk key and the
// desktop's close request (0xC021, 0xC03C, 0xC024) ask the owner to exit
// (command 40003), the back key (0x36E) posts WM_SCREEN_BACK (0, 0).

#include <memory>
#include <string>
#include <vector>

#include "app/common/menu_commands.h"
#include "app/dialogs/menu_bar_wnd.h"
#include "platform/ui/dialog.h"

namespace brantel {

inline constexpr uint32_t kVersionMenu = 40020;
inline constexpr uint32_t kVersionTitleString = 104;

class CVersionInfoDlg : public Dialog {
 public:
  // `path` is the text file to show (VersionInfoPath() in the viewer).
  explicit CVersionInfoDlg(std::string path);

  // Creates the dialog modeless over the work area; messages go to `owner`.
  bool Open(Window* owner);

  const std::vector<WideText>& rows() const { return rows_; }
  const WideText& title() const { return title_; }
  CMenuBarWnd& menu_bar() { return menu_bar_; }

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslateMessage(Message* msg) override;

 protected:
  bool OnInitDialog() override;
  void OnOK() override { RequestClose(); }
  void OnCancel() override { RequestClose(); }

 private:
  void RequestClose();
  void Paint();

  std::string path_;
  HWND owner_ = 0;
  WideText title_;
  std::vector<WideText> rows_;
  CMenuBarWnd menu_bar_;
};

// The screens keep their version dialog in `dialog`. Shows the open one again,
// or opens a new one over `owner` (null when it could not be created).
void OpenVersionDialog(std::unique_ptr<CVersionInfoDlg>& dialog, Window* owner);
// Destroys the dialog when it is still alive; `dialog` becomes null.
void CloseVersionDialog(std::unique_ptr<CVersionInfoDlg>& dialog);

}  // namespace brantel
