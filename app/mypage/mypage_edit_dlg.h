#pragma once
// The MyPage editor (template 109), opened over the MyPage screen: the
// watch list by name, grouped by category; entries move up and down within
// their category and are unmarked or marked again with a tap on their mark.
// Saving replaces the watch list in the cache in one transaction with the
// marked entries in their new order (a failed write keeps the old list; a
// save before the stored list was read writes nothing, and entries the list
// cannot show stay);
// cancelling writes nothing. Either way the owner hears
// WM_MYPAGE_EDIT_CLOSED (1 after saving, 0 otherwise) and destroys it.

#include <vector>

#include "app/common/base_screen_dlg.h"
#include "app/common/menu_commands.h"
#include "app/dialogs/menu_bar_wnd.h"
#include "controls/ce_button.h"
#include "controls/mobile_list.h"
#include "protocol/records.h"

namespace brantel {

inline constexpr int kMyPageEditTemplate = 109;
inline constexpr uint32_t kMyPageEditTitleString = 102;
inline constexpr char16_t kMyPageEditTitle[] = u"마이페이지 편집";
inline constexpr uint32_t kMyPageEditMenu = 40015;
inline constexpr uintptr_t kMyPageEditLoadTimer = 1000;
inline constexpr int kEditUpButton = 11202;
inline constexpr int kEditDownButton = 11203;

class CMyPageEditDlg : public CBaseScreenDlg {
 public:
  CMyPageEditDlg();

  // Creates the editor modeless over the work area, owned by the MyPage
  // screen; `last_update` is the watch list's stamp it saves with.
  bool Open(Window* owner, WideView last_update);

  CMobileList& list() { return list_; }
  CCeButton& up_button() { return up_; }
  CCeButton& down_button() { return down_; }
  CMenuBarWnd& menu_bar() { return menu_bar_; }
  // The cache's answer to the last save (0 before any).
  int save_result() const { return save_result_; }

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslateMessage(Message* msg) override;

 protected:
  bool OnInitDialog() override;
  void OnOK() override { Close(false); }
  void OnCancel() override { Close(false); }

 private:
  void Load();
  void OnRowTap(int row, int cell);
  void Move(bool up);
  void UpdateButtons(int row);
  void Save();
  void Close(bool saved);
  void Paint();

  HWND owner_ = 0;
  WideText last_update_;
  CMobileList list_;
  CCeButton up_;
  CCeButton down_;
  CMenuBarWnd menu_bar_;
  int save_result_ = 0;
  // True once the stored list was read; only then may a save replace it.
  bool loaded_ = false;
  // Stored entries without a quote row, which the list cannot show; a save
  // keeps them.
  std::vector<StockRecord> unshown_;
};

}  // namespace brantel
