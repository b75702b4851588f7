#include "app/dialogs/menu_bar_wnd.h"

#include "platform/resources/resource_library.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"
#include "protocol/row_key.h"
#include "protocol/standard_currency.h"

namespace brantel {

void CurrencyMenuMap::Rebuild(const std::vector<WideText>& row_keys) {
  entries_.clear();
  for (size_t i = 0; i < row_keys.size(); ++i) {
    RowKey key;
    if (!ParseRowKey(row_keys[i], key)) continue;
    entries_[kFirstCurrencyCommand + uint32_t(i)] = key.code + u"^" + key.name;
  }
}

WideText CurrencyMenuMap::CodeFor(uint32_t command) const {
  auto it = entries_.find(command);
  if (it == entries_.end()) return {};
  return it->second.substr(0, it->second.find(u'^'));
}

void CurrencyMenuMap::FillPopup(SoftMenu& popup, WideView standard_code) const {
  popup.RemoveAll();
  for (const auto& [command, text] : entries_) {
    size_t caret = text.find(u'^');
    WideView code = WideView(text).substr(0, caret);
    WideView name = caret == WideText::npos ? WideView() : WideView(text).substr(caret + 1);
    popup.AppendItem(command, name, code == standard_code);
  }
}

bool CMenuBarWnd::Create(const Rect& rect, Window* holder, int id) {
  return Window::Create(u"Menu Bar Window", u"Menu Bar Window", WS_VISIBLE, rect, holder, id);
}

bool CMenuBarWnd::ShowMenu(uint32_t number, bool keep_input_panel_button) {
  if (bar_) bar_->Destroy();
  bar_.reset();
  menu_number_ = number;
  ResourceMenu menu;
  if (ResourceLibraryRef lib = ProcessResources()) menu = lib->Menu(number);
  auto bar = std::make_unique<SoftKeyBar>();
  if (!bar->Create(*this, hwnd(), menu, keep_input_panel_button)) return false;
  bar_ = std::move(bar);
  return true;
}

void CMenuBarWnd::BeforePopup(SoftMenu& popup, int key) {
  if (menu_number_ == kRankingMenu) {
    for (uint32_t id = kFirstRankingCommand; id < kFirstRankingCommand + 3; ++id) popup.CheckItem(id, false);
    popup.CheckItem(ranking_choice_, true);
  } else if (menu_number_ == kExchangeMenu && key == 0) {
    currencies_.FillPopup(popup, StandardCurrencyCode());
  }
}

LRESULT CMenuBarWnd::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITMENUPOPUP:
      if (wParam) BeforePopup(*reinterpret_cast<SoftMenu*>(wParam), int(lParam));
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) >= kFirstRankingCommand && LOWORD(wParam) < kFirstRankingCommand + 3)
        ranking_choice_ = LOWORD(wParam);  // the tick follows the ranking chosen
      if (parent()) PostMessage(parent()->hwnd(), WM_COMMAND, wParam, lParam);
      return 0;
    case WM_PAINT: {
      PaintScope paint(*this);
      paint.dc().FillSolid(ClientRect(), RGB(0x1A, 0x1A, 0x1A));
      return 0;
    }
    case WM_DESTROY:
      if (bar_) bar_->Destroy();
      return 0;
    default:
      return DefWindowProc(message, wParam, lParam);
  }
}

}  // namespace brantel
