#include "app/mypage/mypage_edit_dlg.h"

#include <algorithm>
#include <vector>

#include "app/common/market_list_row.h"
#include "app/common/quote_list_style.h"
#include "app/common/quote_row_identity.h"
#include "app/common/screen_layout.h"
#include "app/common/system_keys.h"
#include "app/mypage/mypage_rows.h"
#include "cache/cache_results.h"
#include "cache/mypage_store.h"
#include "controls/image_drawing.h"
#include "controls/viewer_fonts.h"
#include "platform/resources/resource_library.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"
#include "platform/ui/screen.h"
#include "platform/ui/shell.h"
#include "platform/ui/soft_key_bar.h"
#include "protocol/app_messages.h"
#include "protocol/row_key.h"

namespace brantel {

namespace {

constexpr int kTitleHeight = 75;
constexpr int kButtonStripHeight = 40;
constexpr uint32_t kTitlePicture = 1034;
constexpr uint32_t kButtonStripPicture = 1033;
constexpr Rect kTitleTextBox{55, 17, 425, 57};
constexpr uint32_t kTitleBarOkCommand = 0x10000001;

}  // namespace

CMyPageEditDlg::CMyPageEditDlg() { SetClassName(u"CMyPageEditDlg"); }

bool CMyPageEditDlg::Open(Window* owner, WideView last_update) {
  owner_ = owner ? owner->hwnd() : 0;
  last_update_ = WideText(last_update);
  ResourceLibraryRef lib = ProcessResources();
  SetInitialText(lib ? lib->String(kMyPageEditTitleString) : WideText());
  SetInitialRect(GetWorkArea());
  return CreateModeless(owner);
}

bool CMyPageEditDlg::OnInitDialog() {
  CBaseScreenDlg::OnInitDialog();
  MakeFullScreenDialog(hwnd());
  SetTitleBarButton(hwnd(), TITLE_BUTTON_OK);
  const Rect client = ClientRect();
  const int w = client.Width(), h = client.Height();
  const int strip_top = h - kSoftKeyBarHeight - kButtonStripHeight;
  ResourceLibraryRef lib = ProcessResources();
  list_.Create(Rect{0, kTitleHeight, w, strip_top}, this, lib);
  StyleQuoteList(list_.body());
  up_.Create(Rect{236, strip_top, 358, strip_top + kButtonStripHeight}, this, kEditUpButton);
  up_.SetImages(lib, 1004, 1003, 1003, 1031);
  down_.Create(Rect{359, strip_top, 481, strip_top + kButtonStripHeight}, this, kEditDownButton);
  down_.SetImages(lib, 1002, 1001, 1001, 1032);
  up_.EnableButton(false);
  down_.EnableButton(false);
  if (menu_bar_.Create(LayOutScreen(w, h).menu_bar, this)) menu_bar_.ShowMenu(kMyPageEditMenu, false);
  SetTimer(kMyPageEditLoadTimer, 100);
  return true;
}

void CMyPageEditDlg::Load() {
  std::vector<StockRecord> records;
  WideText stamp;
  std::vector<StockRecord> entries;
  if (LoadMyPage(records, stamp) != CACHE_OK || LoadMyPageEntries(entries) != CACHE_OK || !list_.IsAlive()) return;
  // Entries the editor cannot show (no quote row stored for them) are kept
  // by a save as they are: the user never saw them to unmark them.
  for (StockRecord& entry : entries) {
    const bool shown = std::any_of(records.begin(), records.end(), [&](const StockRecord& r) {
      return r.code == entry.code && r.gubun == entry.gubun;
    });
    if (!shown) unshown_.push_back(std::move(entry));
  }
  loaded_ = true;
  if (records.empty()) return;
  CMobileListCtrl& body = list_.body();
  const int width = body.ClientRect().Width();
  body.RemoveAllRows();
  for (const MarketRow& row : PlanEditRows(records)) body.AddRow(-1, ToMobileListRow(row, width));
  body.RecomputeLayout();
  body.Invalidate();
}

void CMyPageEditDlg::UpdateButtons(int row) {
  CMobileListCtrl& body = list_.body();
  up_.EnableButton(row >= 0 && body.CanMoveUp(row));
  down_.EnableButton(row >= 0 && body.CanMoveDown(row));
}

void CMyPageEditDlg::OnRowTap(int row, int cell) {
  if (row < 1) return;  // row 0 is always a section row
  UpdateButtons(row);
  if (cell != kEditMarkCell) return;
  const std::optional<RowKey> key = QuoteRowKey(list_.body(), row);
  if (!key) return;
  SetQuoteRowStar(list_.body(), row, kEditMarkCell, !key->in_mypage());
}

void CMyPageEditDlg::Move(bool up) {
  CMobileListCtrl& body = list_.body();
  if (up)
    body.MoveSelectedUp();
  else
    body.MoveSelectedDown();
  UpdateButtons(body.selected());
}

void CMyPageEditDlg::Save() {
  // A save before the stored list was read (a quick second press of the
  // soft key, or a cache that could not be read) has no rows to write: it
  // must not replace the watch list with nothing.
  if (!loaded_) {
    Close(false);
    return;
  }
  std::vector<WideText> keys;
  CMobileListCtrl& body = list_.body();
  for (int i = 0; i < body.RowCount(); ++i) {
    WideText key;
    bool section = false;
    if (body.GetRowText(i, &key, &section) == 0 && !section) keys.push_back(std::move(key));
  }
  // One transaction: a failed write keeps the list as it was.
  std::vector<StockRecord> saved = MarkedEntries(keys);
  saved.insert(saved.end(), unshown_.begin(), unshown_.end());
  save_result_ = ReplaceMyPageList(saved, last_update_, true);
  Close(true);
}

void CMyPageEditDlg::Close(bool saved) {
  if (owner_) PostMessage(owner_, WM_MYPAGE_EDIT_CLOSED, saved ? 1 : 0, 0);
}

bool CMyPageEditDlg::PreTranslateMessage(Message* msg) {
  return ForwardSystemKeyToOwner(owner_, msg->message) || CBaseScreenDlg::PreTranslateMessage(msg);
}

void CMyPageEditDlg::Paint() {
  PaintScope paint(*this);
  if (!paint.visible()) return;
  DeviceContext& dc = paint.dc();
  const Rect client = ClientRect();
  ResourceLibraryRef lib = ProcessResources();
  dc.FillSolid(client, RGB(0, 0, 0));
  DrawResourcePicture(dc, 0, 0, client.Width(), kTitleHeight, lib, kTitlePicture);
  const int strip_top = client.Height() - kSoftKeyBarHeight - kButtonStripHeight;
  DrawResourcePicture(dc, 0, strip_top, client.Width(), kButtonStripHeight, lib, kButtonStripPicture);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(0xFF, 0xFF, 0xFF));
  dc.SelectFont(ViewerFont(30));
  dc.DrawText(kMyPageEditTitle, kTitleTextBox, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

LRESULT CMyPageEditDlg::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_TIMER:
      if (wParam == kMyPageEditLoadTimer) {
        KillTimer(kMyPageEditLoadTimer);
        Load();
      }
      return 0;
    case WM_MOBILELIST_CLICK:
      OnRowTap(int(lParam), int(int16_t(HIWORD(wParam))));
      return 0;
    case WM_CEBUTTON_CLICKED:
      if (int(wParam) == kEditUpButton) Move(true);
      else if (int(wParam) == kEditDownButton) Move(false);
      return 0;
    case WM_SCREEN_BACK:
      if (owner_) PostMessage(owner_, WM_COMMAND, kCmdExit, 0);
      return 0;
    case WM_CLOSE:
      Close(false);
      return 0;
    case WM_COMMAND:
      if (uint32_t(wParam) == kTitleBarOkCommand || LOWORD(wParam) == kCmdEditCancel) {
        Close(false);
        return 0;
      }
      if (LOWORD(wParam) == kCmdEditSave) {
        Save();
        return 0;
      }
      return CBaseScreenDlg::WindowProc(message, wParam, lParam);
    default:
      return CBaseScreenDlg::WindowProc(message, wParam, lParam);
  }
}

}  // namespace brantel
