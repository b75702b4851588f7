#include "app/search/search_dlg.h"

#include "app/common/quote_list_style.h"
#include "app/common/quote_row_identity.h"
#include "app/common/viewer_exit.h"
#include "app/dialogs/numbered_message.h"
#include "app/search/search_layout.h"
#include "app/search/search_list_row.h"
#include "cache/cache_results.h"
#include "cache/mypage_store.h"
#include "cache/quote_store.h"
#include "controls/viewer_fonts.h"
#include "platform/resources/resource_library.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"
#include "platform/ui/shell.h"
#include "protocol/app_messages.h"
#include "protocol/categories.h"
#include "protocol/last_update.h"
#include "protocol/market_requests.h"

namespace brantel {

namespace {

constexpr COLORREF kEditTextColor = 0x666666;
constexpr COLORREF kEditBackground = 0xF2F2F2;
constexpr int kEditTextHeight = 24;

WideText SearchStamp() { return LastUpdateStamp(u"", kCategorySearch, 0, true); }

}  // namespace

CSearchDlg::CSearchDlg(Window* main_dialog, CParseMaster& master)
    : main_dialog_(main_dialog), master_(master), hint_(u"") {
  SetClassName(u"CSearchDlg");
}

CSearchDlg::~CSearchDlg() { TearDown(); }

bool CSearchDlg::Create(const Rect& rect) {
  SetInitialText(u"Search Dialog");
  return CreateChild(main_dialog_, rect, kSearchTemplate);
}

bool CSearchDlg::OnInitDialog() {
  CBaseScreenDlg::OnInitDialog();
  SetTitleBarButton(hwnd(), TITLE_BUTTON_HIDDEN);
  const ResourceLibraryRef library = ProcessResources();
  const Rect client = ClientRect();
  const SearchLayout layout = LayoutSearchScreen(client.Width(), client.Height());

  own_change_ = true;
  edit_.Create(u"", WS_VISIBLE, layout.edit, this, kSearchEditId);
  own_change_ = false;
  edit_.SetFont(ViewerFont(kEditTextHeight));
  edit_.SetColors(kEditTextColor, kEditBackground);
  button_.Create(layout.button, this, kSearchButtonId);
  button_.SetImages(library, 1005, 1007, 1006);
  list_.Create(layout.list, this, library, kSearchListId);
  StyleQuoteList(list_.body());
  update_bar_.Create(layout.update_bar, this, intptr_t(hwnd()), kUpdateBarChildId);
  update_bar_.SetLastUpdate(SearchStamp());
  if (menu_bar_.Create(layout.menu_bar, this)) menu_bar_.ShowMenu(kSearchMenu, true);

  hint_ = SearchHintState(library ? library->String(kSearchHintString) : WideText());
  ShowHint();
  SetText(u"Search Dialog");
  return true;
}

void CSearchDlg::Layout() {
  const Rect client = ClientRect();
  const SearchLayout layout = LayoutSearchScreen(client.Width(), client.Height());
  if (edit_.IsAlive()) edit_.Move(layout.edit);
  if (button_.IsAlive()) button_.Move(layout.button);
  if (list_.IsAlive()) list_.Move(layout.list);
  if (update_bar_.IsAlive()) update_bar_.Move(layout.update_bar);
  if (menu_bar_.IsAlive()) menu_bar_.Move(layout.menu_bar);
}

void CSearchDlg::OnShownState(int show_state) {
  if (show_state == kScreenShown) {
    if (!IsInputPanelUp()) SetInputPanel(true);
    // An empty edit always shows the hint, so clearing it brings it back.
    ShowHint();
    if (edit_.IsAlive()) SetFocus(edit_.hwnd());
    if (menu_bar_.IsAlive()) menu_bar_.ShowMenu(kSearchMenu, true);
  } else if (show_state == kScreenHidden) {
    if (IsInputPanelUp()) SetInputPanel(false);
  }
}

void CSearchDlg::Apply(const SearchEditActions& a) {
  if (!edit_.IsAlive()) return;
  if (a.normal_colors) edit_.SetColors(kEditTextColor, kEditBackground);
  if (a.set_text) SetEditText(a.text);
  if (a.show_hint) {
    ShowHint();
    return;
  }
  if (a.select_all) edit_.Send(EM_SETSEL, 0, -1);
  if (a.caret_to_end) {
    const LPARAM end = LPARAM(edit_.text().size());
    edit_.Send(EM_SETSEL, WPARAM(end), end);
  }
  if (a.clear_list) ClearList();
  if (a.search) Search(a.text);
}

void CSearchDlg::SetEditText(WideView text) {
  own_change_ = true;
  edit_.SetText(text);
  own_change_ = false;
}

void CSearchDlg::ShowHint() {
  if (!edit_.IsAlive()) return;
  own_change_ = true;
  edit_.SetHint(hint_.hint());
  own_change_ = false;
  hint_.HintShown();
  edit_.Send(EM_SETSEL, 0, -1);
  ClearList();
}

void CSearchDlg::Search(WideView text) {
  if (!list_.IsAlive()) return;
  std::vector<SearchRow> rows = FindSearchRows(master_, text);
  MarkMyPageRows(rows);
  CMobileListCtrl& body = list_.body();
  body.Reset();
  for (const SearchRow& row : rows) body.AddRow(-1, SearchListRow(row));
  body.RecomputeLayout();
  body.Invalidate();
  last_search_ = WideText(text);
}

void CSearchDlg::ClearList() {
  last_search_.clear();
  if (!list_.IsAlive()) return;
  list_.body().Reset();
  list_.body().Invalidate();
}

void CSearchDlg::OnComposing() {
  if (!edit_.IsAlive()) return;
  const WideText shown = edit_.ShownText();
  if (shown == last_search_ && !shown.empty()) return;  // the text already searched
  Apply(hint_.OnComposing(shown));
}

void CSearchDlg::OnListClick(int row, int cell) {
  // The MyPage request pumps messages while it waits: no second one, and no
  // detail over it.
  if (guard_.running()) return;
  if (cell == kSearchStarCell) OnStarTap(row);
  else OnRowTap(row);
}

void CSearchDlg::OnStarTap(int row) {
  if (!list_.IsAlive()) return;
  const std::optional<RowKey> key = QuoteRowKey(list_.body(), row);
  if (!key) return;  // a key that does not read back: ignored
  if (key->in_mypage()) {
    if (RemoveMyPageItem(Narrow(key->code).c_str(), kCategoryStock) == CACHE_OK) SetRowStar(row, false);
    return;
  }
  StockRecord record = key->Record();
  record.gubun = kCategoryStock;
  const WideText stamp = SearchStamp();
  const int added = AddMyPageItem(record, stamp, true, true);
  if (added == MYPAGE_LIMIT) {
    ShowNumberedMessage(this, kMessageMyPageFull, kMessageStyleOk);
    return;
  }
  if (added != CACHE_OK) return;
  SetRowStar(row, true);

  // The watch list shows the new entry's quote from the cache: ask for it.
  const WideText entry = BuildRowKey(key->code, kCategoryStock, key->group, u"1", key->name, key->sign);
  std::vector<StockRecord> quotes;
  WideText server_date;
  update_bar_.Post(WM_LIST_UPDATE_BEGIN, WPARAM(kCategorySearch), 0);
  RequestGuard::Running running(guard_);
  const int32_t answered = FetchMyPageList({entry}, stamp, hwnd(), &quotes, server_date);
  if (answered == 1 && !quotes.empty()) StoreQuoteList(kQuoteTable, quotes, server_date);
  if (running.screen_gone()) return;  // the screen went while the request ran
  running.End();
  if (update_bar_.IsAlive()) update_bar_.Post(WM_LIST_UPDATE_END, WPARAM(kCategorySearch), answered == 1 ? 1 : 0);
}

void CSearchDlg::SetRowStar(int row, bool in_mypage) {
  if (list_.IsAlive()) SetQuoteRowStar(list_.body(), row, kSearchStarCell, in_mypage);
}

void CSearchDlg::OnRowTap(int row) {
  if (!list_.IsAlive()) return;
  const std::optional<RowKey> key = QuoteRowKey(list_.body(), row);
  if (!key || key->category < 0) return;
  StockDetailRecord record;
  WideText stamp;
  if (!CachedDetailRecord(*key, record, stamp)) stamp = SearchStamp();
  CloseDetail();
  // The detail covers the whole screen: the input panel would hide its foot.
  if (IsInputPanelUp()) SetInputPanel(false);
  detail_ = OpenStockDetail(*this, record, key->in_mypage(), stamp);
}

void CSearchDlg::CloseDetail() {
  if (!detail_) return;
  const DetailResult result = CloseStockDetail(detail_);
  if (result.changed && !torn_down_ && list_.IsAlive())
    SetQuoteRowStarsOfCode(list_.body(), result.record.code, kSearchStarCell, result.in_mypage);
}

void CSearchDlg::OpenVersion() { OpenVersionDialog(version_, this); }

void CSearchDlg::CloseVersion() { CloseVersionDialog(version_); }

void CSearchDlg::OnBack() {
  if (version_) {
    CloseVersion();
    return;
  }
  if (detail_) {
    CloseDetail();
    return;
  }
  if (main_dialog_ && main_dialog_->IsAlive()) PostViewerExit(main_dialog_->hwnd());
}

void CSearchDlg::OnCommand(uint32_t command) {
  switch (command) {
    case kCmdExit:
      if (main_dialog_ && main_dialog_->IsAlive()) PostViewerExit(main_dialog_->hwnd());
      break;
    case kCmdVersion: OpenVersion(); break;
    case kCmdSearchClear: ShowHint(); break;
    default: break;
  }
}

LRESULT CSearchDlg::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PaintScope paint(*this);
      paint.dc().FillSolid(ClientRect(), RGB(0, 0, 0));
      PaintSearchBar(paint.dc(), ProcessResources(), ClientRect().Width());
      return 0;
    }
    case WM_SIZE:
      Layout();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kSearchEditId && HIWORD(wParam) == EN_CHANGE) {
        if (edit_.IsAlive()) Apply(hint_.OnTextChanged(edit_.text(), own_change_, edit_.composing()));
        return 0;
      }
      OnCommand(LOWORD(wParam));
      return 0;
    case WM_KWEDIT_NOTIFY:
      if (edit_.IsAlive()) Apply(hint_.OnNotify(char16_t(wParam), lParam == 1, edit_.text()));
      return 0;
    case WM_KWEDIT_COMPOSED:
      if (edit_.IsAlive()) Apply(hint_.OnSearchRequest(edit_.text()));
      return 0;
    case WM_SEARCH_COMPOSING:
      OnComposing();
      return 0;
    case WM_CEBUTTON_CLICKED:
      if (int(wParam) == kSearchButtonId) {
        if (IsInputPanelUp()) SetInputPanel(false);
        if (edit_.IsAlive()) Apply(hint_.OnSearchRequest(edit_.text()));
      }
      return 0;
    case WM_MOBILELIST_CLICK:
      OnListClick(int(lParam), int(int16_t(HIWORD(wParam))));
      return 0;
    case WM_DETAIL_CLOSED:
      CloseDetail();
      return 0;
    case WM_VERSION_CLOSED:
      CloseVersion();
      return 0;
    case WM_SCREEN_BACK:
      OnBack();
      return 0;
    case WM_DESTROY:
      CBaseScreenDlg::WindowProc(message, wParam, lParam);
      TearDown();
      return 0;
    default:
      return CBaseScreenDlg::WindowProc(message, wParam, lParam);
  }
}

void CSearchDlg::TearDown() {
  if (torn_down_) return;
  torn_down_ = true;
  guard_.Retire();
  if (IsAlive() && IsInputPanelUp()) SetInputPanel(false);
  CloseDetail();
  CloseVersion();
  if (button_.IsAlive()) button_.Destroy();
  if (edit_.IsAlive()) edit_.Destroy();
  if (menu_bar_.IsAlive()) menu_bar_.Destroy();
  if (update_bar_.IsAlive()) update_bar_.Destroy();
  if (list_.IsAlive()) {
    list_.body().Reset();
    list_.Destroy();
  }
}

}  // namespace brantel
