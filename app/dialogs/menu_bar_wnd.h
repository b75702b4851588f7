#pragma once
// CMenuBarWnd: the 52-pixel window at the bottom of a screen that holds the
// screen's soft-key menu bar. Showing a menu replaces the bar; the bar's
// commands are posted on to the window that holds this one. It keeps the
// screen's dynamic items: the tick of the ranking menu and the currency
// pop-up of the exchange menu, rebuilt from the exchange list's rows just
// before it opens with the standard currency ticked.

#include <map>
#include <memory>
#include <vector>

#include "app/common/menu_commands.h"
#include "platform/ui/soft_key_bar.h"
#include "platform/ui/window.h"

namespace brantel {

inline constexpr int kMenuBarChildId = 10007;
inline constexpr uint32_t kRankingMenu = 237;
inline constexpr uint32_t kExchangeMenu = 40011;

// Command id -> the currency's code "^" name, from the exchange rows.
class CurrencyMenuMap {
 public:
  // Row i with a readable key maps 50000 + i to its code "^" name.
  void Rebuild(const std::vector<WideText>& row_keys);
  // The code part for a command id; empty when it is not a currency.
  WideText CodeFor(uint32_t command) const;
  const std::map<uint32_t, WideText>& entries() const { return entries_; }
  // Empties `popup` and fills it with one item per entry (the name part),
  // ticking the one whose code is `standard_code`.
  void FillPopup(SoftMenu& popup, WideView standard_code) const;

 private:
  std::map<uint32_t, WideText> entries_;
};

class CMenuBarWnd : public Window {
 public:
  // Creates "Menu Bar Window" at `rect` (the bottom 52 pixels of `holder`).
  bool Create(const Rect& rect, Window* holder, int id = kMenuBarChildId);
  // Replaces the bar with one built from menu `number` of the resource
  // library; the input-panel button is hidden unless `keep_input_panel_button`.
  bool ShowMenu(uint32_t number, bool keep_input_panel_button);
  uint32_t menu_number() const { return menu_number_; }
  SoftKeyBar* bar() { return bar_.get(); }

  // The ranking item (40030-40032) that carries the tick when menu 237 opens.
  void SetRankingChoice(uint32_t command) { ranking_choice_ = command; }
  uint32_t ranking_choice() const { return ranking_choice_; }
  CurrencyMenuMap& currencies() { return currencies_; }

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 private:
  void BeforePopup(SoftMenu& popup, int key);

  std::unique_ptr<SoftKeyBar> bar_;
  uint32_t menu_number_ = 0;
  uint32_t ranking_choice_ = kFirstRankingCommand;
  CurrencyMenuMap currencies_;
};

}  // namespace brantel
