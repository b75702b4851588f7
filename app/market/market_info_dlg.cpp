#include "app/market/market_info_dlg.h"

#include "app/common/menu_commands.h"
#include "app/common/screen_layout.h"
#include "app/common/viewer_exit.h"
#include "app/dialogs/numbered_message.h"
#include "controls/viewer_fonts.h"
#include "platform/resources/resource_library.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"
#include "protocol/app_messages.h"
#include "protocol/standard_currency.h"

namespace brantel {

namespace {

constexpr uint32_t kTabStripBackground = 1030;
constexpr uint32_t kTabNormal = 1030;
constexpr uint32_t kTabLast = 1097;
constexpr uint32_t kTabSelected = 1029;
constexpr int kTabWidth = 95;
constexpr int kTabHeight = 60;
constexpr COLORREF kTabCaptionSelected = 0x00C6FF;

// Left to right: ranking, indices, exchange, interest rates, commodities.
constexpr int kTabOrder[] = {kMarketRankingScreen, kMarketIndexScreen, kMarketExchangeScreen, kMarketInterestScreen,
                             kMarketCommodityScreen};

}  // namespace

CMarketInfoDlg::CMarketInfoDlg(Window* main_dialog) : main_dialog_(main_dialog) {
  SetClassName(u"CMarketInfoDlg");
  SetInitialText(kMarketInfoTitle);
}

CMarketInfoDlg::~CMarketInfoDlg() { DestroyInOrder(); }

bool CMarketInfoDlg::Create(const Rect& rect) { return CreateChild(main_dialog_, rect, 105); }

bool CMarketInfoDlg::OnInitDialog() {
  CBaseScreenDlg::OnInitDialog();
  BuildScreen();
  return true;
}

CBaseMarketInfoWnd* CMarketInfoDlg::list_of_code(int code) {
  switch (code) {
    case kMarketIndexScreen: return &index_;
    case kMarketExchangeScreen: return &exchange_;
    case kMarketInterestScreen: return &money_;
    case kMarketCommodityScreen: return &futures_;
    case kMarketRankingScreen: return &ranking_;
    default: return nullptr;
  }
}

void CMarketInfoDlg::BuildScreen() {
  // The exchange list asks in the stored standard currency.
  WideText currency_code, currency_item;
  StandardCurrency(currency_code, currency_item, true);

  ResourceLibraryRef library = ProcessResources();
  for (int code : kTabOrder) list_of_code(code)->Create(this, Rect{}, library);
  update_bar_.Create(Rect{}, this, intptr_t(hwnd()), kUpdateBarChildId);
  menu_bar_.Create(Rect{}, this, kMenuBarChildId);
  BuildTabStrip();
  built_ = true;
  Layout();
  SelectSubScreen(kMarketRankingScreen, SW_SHOW, false);
  tabs_.Invalidate();
  SetText(kMarketInfoTitle);
}

void CMarketInfoDlg::BuildTabStrip() {
  tabs_.Create(Rect{}, this, ProcessResources(), kMarketTabStripId);
  tabs_.SetBackground(kTabStripBackground);
  tabs_.SetHighlight(0);
  tabs_.SetFont(ViewerFont(22));
  tabs_.SetTextColors(0xFFFFFF, kTabCaptionSelected);
  tabs_.SetTextFormat(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  const Rect cell{0, 0, kTabWidth, kTabHeight};
  for (size_t i = 0; i < std::size(kTabOrder); ++i) {
    const MarketSubScreen* s = MarketSubScreenOfCode(kTabOrder[i]);
    const int left = int(i) * kTabWidth;
    const uint32_t normal = s->tab_id == 11104 ? kTabLast : kTabNormal;
    tabs_.AddTab(s->tab_id, Rect{left, 0, left + kTabWidth, kTabHeight}, cell, cell, s->tab_caption, normal,
                 kTabSelected);
  }
}

void CMarketInfoDlg::Layout() {
  if (!built_) return;
  const int width = ClientRect().Width();
  // The height is the main dialog's client area below its tab bar, where this screen sits.
  const Rect below_tabs = ScreenRectBelowTabBar(main_dialog_ && main_dialog_->IsAlive() && IsChild()
                                                    ? main_dialog_->ClientRect()
                                                    : ClientRect());
  const ScreenLayout layout = LayOutScreen(width, below_tabs.Height());
  // The tab strip stands above the update bar; the lists end 2 pixels under it.
  const Rect strip{0, layout.update_bar.top - 62, width, layout.update_bar.top - 2};
  for (int code : kTabOrder) list_of_code(code)->Move(Rect{0, 0, width, strip.top + 2});
  tabs_.Move(strip);
  update_bar_.Move(layout.update_bar);
  menu_bar_.Move(layout.menu_bar);
}

void CMarketInfoDlg::OnShownState(int show_state) {
  if (!built_) return;
  ShowMenuOf(code_);
  if (show_state == 1 || show_state == SW_SHOW) {
    if (current_) {
      current_->RestartRefresh();
      update_bar_.SetLastUpdate(current_->LastUpdateText());
    }
  }
}

void CMarketInfoDlg::SelectSubScreen(int code, int show_state, bool refresh) {
  CBaseMarketInfoWnd* next = list_of_code(code);
  if (!next) return;
  if (current_) current_->Show(SW_HIDE);
  code_ = code;
  current_ = next;
  WideText last_update = current_->last_update();
  if (refresh) {
    current_->RestartRefresh();
    last_update = current_->LastUpdateText();
  }
  ShowMenuOf(code);
  update_bar_.SetLastUpdate(last_update);
  current_->Show(show_state);
  for (size_t i = 0; i < std::size(kTabOrder); ++i)
    if (kTabOrder[i] == code) tabs_.SetSelectedIndex(int(i));
}

void CMarketInfoDlg::ShowMenuOf(int code) {
  const MarketSubScreen* s = MarketSubScreenOfCode(code);
  if (!s || !menu_bar_.IsAlive()) return;
  if (menu_bar_.menu_number() != uint32_t(s->menu) || !menu_bar_.bar()) menu_bar_.ShowMenu(uint32_t(s->menu), false);
  if (code == kMarketRankingScreen)
    menu_bar_.SetRankingChoice(kFirstRankingCommand + uint32_t(ranking_.ranking_sub_kind()));
}

void CMarketInfoDlg::RebuildCurrencyMenu() {
  // Command 50000 + n names row n of the exchange list (section rows add none).
  std::vector<WideText> keys;
  CMobileListCtrl& body = exchange_.list().body();
  keys.resize(size_t(body.RowCount()));
  for (int i = 0; i < body.RowCount(); ++i) body.GetRowText(i, &keys[size_t(i)]);
  menu_bar_.currencies().Rebuild(keys);
}

void CMarketInfoDlg::ChooseCurrency(uint32_t command) {
  WideText code = menu_bar_.currencies().CodeFor(command);
  if (code.empty()) return;
  WideText item = code;
  StandardCurrency(code, item, false);
  if (current_) current_->NetworkRefresh();
}

void CMarketInfoDlg::OnListUpdate(uint32_t message, WPARAM wParam, LPARAM lParam) {
  if (update_bar_.IsAlive()) update_bar_.Send(message, wParam, lParam);
  if (message != WM_LIST_UPDATE_END) return;
  if (current_) update_bar_.SetLastUpdate(current_->LastUpdateText());
  // The currency commands name exchange rows: rebuilt after every exchange
  // refresh, also one that ended while another list was shown.
  if (current_ == &exchange_ || wParam == WPARAM(kCategoryExchange)) RebuildCurrencyMenu();
  // An exit waiting on this refresh cancelled it: no failure message over
  // the exit, which goes on now instead of at the next retry.
  if (exit_asked_) {
    Exit();
    return;
  }
  if (lParam == 0) ShowNumberedMessage(this, kMessageRefreshFailed, 0);
}

void CMarketInfoDlg::OnCommand(uint32_t command) {
  if (command == kCmdExit) {
    Exit();
  } else if (command == kCmdVersion) {
    ShowVersion();
  } else if (command == kCmdRefresh) {
    if (current_) current_->NetworkRefresh();
  } else if (command >= kFirstRankingCommand && command <= kFirstRankingCommand + 2) {
    if (!ranking_.IsAlive()) return;
    ranking_.SetRankingSubKind(int(command - kFirstRankingCommand));
    if (current_ == &ranking_) {
      ShowMenuOf(code_);
      update_bar_.SetLastUpdate(ranking_.LastUpdateText());
    }
  } else if (command >= kFirstCurrencyCommand && command < kFirstCurrencyCommand + 1000) {
    ChooseCurrency(command);
  }
}

void CMarketInfoDlg::Exit() {
  if (update_bar_.IsAlive() && update_bar_.Running()) {
    // The refresh's exchange pumps this thread's messages and ends when it
    // meets the cancel, so a silent server cannot hold the exit.
    exit_asked_ = true;
    PostMessage(hwnd(), WM_CANCEL_NETWORK, 0, 0);
    SetTimer(kMarketExitRetryTimer, kMarketExitRetryMs);
    return;
  }
  KillTimer(kMarketExitRetryTimer);
  exit_asked_ = false;
  if (main_dialog_ && main_dialog_->IsAlive()) PostViewerExit(main_dialog_->hwnd());
}

void CMarketInfoDlg::OnBack(WPARAM from_system_key) {
  if (from_system_key == 1) {
    Exit();
    return;
  }
  if (version_) {
    CloseVersion();
    return;
  }
  if (current_) current_->Post(WM_SCREEN_BACK, 0, 0);
}

void CMarketInfoDlg::ShowVersion() { OpenVersionDialog(version_, this); }

void CMarketInfoDlg::CloseVersion() { CloseVersionDialog(version_); }

void CMarketInfoDlg::DestroyInOrder() {
  for (int code : kTabOrder) {
    CBaseMarketInfoWnd* list = list_of_code(code);
    if (list->IsAlive()) list->Destroy();
  }
  current_ = nullptr;
  CloseVersion();
  if (update_bar_.IsAlive()) update_bar_.Destroy();
  if (menu_bar_.IsAlive()) menu_bar_.Destroy();
}

LRESULT CMarketInfoDlg::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PaintScope paint(*this);
      paint.dc().FillSolid(ClientRect(), RGB(0, 0, 0));
      return 0;
    }
    case WM_SIZE:
      Layout();
      return 0;
    case WM_TAB_SELECTED:
      if (const MarketSubScreen* s = MarketSubScreenOfTab(int(lParam))) SelectSubScreen(s->code, SW_SHOW, true);
      return 0;
    case WM_LIST_UPDATE_BEGIN:
    case WM_LIST_UPDATE_END:
      OnListUpdate(message, wParam, lParam);
      return 0;
    case WM_CURRENCY_MENU:
      RebuildCurrencyMenu();
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      return 0;
    case WM_TIMER:
      if (wParam == kMarketExitRetryTimer) Exit();
      return 0;
    case WM_SCREEN_BACK:
      OnBack(wParam);
      return 0;
    case WM_VERSION_CLOSED:
      CloseVersion();
      return 0;
    case WM_DESTROY:
      DestroyInOrder();
      break;
    default:
      break;
  }
  return CBaseScreenDlg::WindowProc(message, wParam, lParam);
}

}  // namespace brantel
