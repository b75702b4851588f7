#include "updater/stock_updater_dlg.h"

#include <chrono>
#include <thread>

#include "controls/image_drawing.h"
#include "platform/folders.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/paint.h"
#include "platform/ui/screen.h"
#include "protocol/app_messages.h"
#include "resources/updater/updater_pictures.h"
#include "updater/platform_update_services.h"
#include "updater/updater_dialog_services.h"
#include "updater/updater_registry.h"

namespace brantel {

namespace {

constexpr Point kOverallBarAt{49, 218};
constexpr Point kFileBarAt{49, 271};
constexpr Size kBarSize{232, 15};
constexpr Rect kButtonRect{108, 310, 216, 348};

// "BrantelStock.tmp" -> "BrantelStock"; "lib.so.tmp" -> "lib".
WideText DisplayName(const std::string& path) {
  std::string name = path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
  if (const size_t tmp = name.find(".tmp"); tmp != std::string::npos) name.resize(tmp);
  if (const size_t dot = name.find('.'); dot != std::string::npos) name.resize(dot);
  return Widen(name);
}

WideText CutAtFirstDot(WideView name) { return WideText(name.substr(0, name.find(u'.'))); }

// Percent of `part` in `whole`, truncated, held within 0..100; 0 when the
// whole is unknown (a server that sent no length, sizes missing from the
// manifest).
int Percent(uint64_t part, uint64_t whole) {
  if (whole == 0) return 0;
  const double p = double(part) * 100.0 / double(whole);
  return p >= 100.0 ? 100 : int(p);
}

}  // namespace

CStockUpdaterDlg::CStockUpdaterDlg(UpdaterCommandLine command_line, UpdateServices* services)
    : command_line_(std::move(command_line)), services_(services) {
  SetClassName(kUpdaterWindowClass);
}

CStockUpdaterDlg::~CStockUpdaterDlg() = default;

bool CStockUpdaterDlg::OnInitDialog() {
  SetText(u"");
  if (!services_) {
    own_services_ = std::make_unique<PlatformUpdateServices>(hwnd());
    services_ = own_services_.get();
  }
  // Hidden while the manifest is checked.
  Move(Rect::FromSize(-10, -10, 5, 5));
  Show(SW_HIDE);

  art_ = LoadUpdaterPanelArt();
  const Size screen = GetScreenSize();
  origin_ = Point{(screen.cx - kPanelWidth) / 2, (screen.cy - kPanelHeight) / 2};
  const Surface fill = DecodeImage(UpdaterPictureBytes(505));
  for (CCeProgressCtrl* bar : {&overall_bar_, &file_bar_}) {
    bar->Create(Rect::FromSize(0, 0, kBarSize.cx, kBarSize.cy), this, 0);
    bar->SetRange(0, 100);
    bar->SetFillImage(fill);
    bar->SetColors(0x525252, 0xFFFFFF, 0xFFFFFF);
    bar->SetFont(art_.text_font);
    bar->SetText(u"0 %");
  }
  const PictureSource pictures = [](uint32_t n) { return UpdaterPictureBytes(n); };
  cancel_button_.Create(Rect::FromSize(0, 0, kButtonRect.Width(), kButtonRect.Height()), this, kCancelButtonId);
  close_button_.Create(Rect::FromSize(0, 0, kButtonRect.Width(), kButtonRect.Height()), this, kCloseButtonId);
  for (CCeButton* b : {&cancel_button_, &close_button_}) {
    b->SetImages(pictures, 501, 502, 504, 503);
    b->SetTransparent(true, kPanelTransparent);
  }
  cancel_button_.SetCaption(u"취소", Rect{0, 0, kButtonRect.Width(), kButtonRect.Height()});
  close_button_.SetCaption(u"닫기", Rect{0, 0, kButtonRect.Width(), kButtonRect.Height()});
  cancel_button_.EnableButton(false);
  close_button_.EnableButton(false);
  close_button_.Show(SW_HIDE);

  UpdateWorkSetup setup;
  setup.manifest_address = command_line_.manifest_address;
  setup.local_manifest = DataFolder() + kLocalManifestName;
  setup.viewer_dir = command_line_.viewer_dir;
  EnsureUpdaterKey();
  setup.stored_upgrade_date = ReadStoredUpgradeDate(255);
  work_ = std::make_unique<CUpdateWork>(std::move(setup), *services_);

  // The check lets messages through; a close that arrives meanwhile waits
  // until the check has returned.
  running_ = true;
  const int due = work_->CheckForUpdates();
  running_ = false;
  if (close_pending_) {
    DestroyNow();
    return true;
  }
  if (due == 0) work_->FinishWithoutDownloads();
  if (work_->failed()) {
    // A manifest that cannot be taken whole, or a refused edit, is a failure
    // the user sees.
    failed_ = failed_at_start_ = true;
    silent_ = work_->silent();
    SetTimer(kStartTimer, 50);
    return true;
  }
  if (due == 0) {
    Post(WM_UPDATER_CLOSE);  // nothing is shown
    return true;
  }
  in_progress_ = true;
  cancel_button_.EnableButton(true);
  silent_ = work_->silent();
  ask_first_ = work_->ask_first();
  if (work_->close_first()) work_->CloseListedPrograms();
  SetTimer(kStartTimer, 50);
  SetTimer(kPowerTimer, 5000);
  KeepSystemPowerOn();
  return true;
}

void CStockUpdaterDlg::OnStartTimer() {
  KillTimer(kStartTimer);
  if (failed_at_start_) {
    if (!silent_) ShowOverScreen();
    OnUpdateProgress(kProgressInstallFailed, 0);
    return;
  }
  if (ask_first_ && work_) {
    const ManifestAlert& alert = work_->plan().alert;
    const bool yes = AskYesNo(hwnd(), alert.message, alert.title);
    if (!IsAlive() || closing_) return;  // closed while the question was up
    if (!yes) {
      Post(WM_UPDATER_CLOSE);
      return;
    }
  }
  if (!silent_) ShowOverScreen();
  Post(WM_UPDATE_START);
}

void CStockUpdaterDlg::ShowOverScreen() {
  // The panel is seen over a still picture of what was on the screen.
  CopyScreen(screen_picture_);
  const Size screen = GetScreenSize();
  origin_ = Point{(screen.cx - kPanelWidth) / 2, (screen.cy - kPanelHeight) / 2};
  Move(Rect::FromSize(0, 0, screen.cx, screen.cy));
  overall_bar_.Move(Rect::FromSize(origin_.x + kOverallBarAt.x, origin_.y + kOverallBarAt.y, kBarSize.cx, kBarSize.cy));
  file_bar_.Move(Rect::FromSize(origin_.x + kFileBarAt.x, origin_.y + kFileBarAt.y, kBarSize.cx, kBarSize.cy));
  const Rect button = kButtonRect.Offset(origin_.x, origin_.y);
  cancel_button_.Move(button);
  close_button_.Move(button);
  SetTopMost(true);
  Show(SW_SHOW);
  SetActiveWindow(hwnd());
  Invalidate();
  Update();
}

void CStockUpdaterDlg::OnUpdateStart() {
  if (!work_ || running_ || closing_) return;
  running_ = true;
  work_->RunUpdate([this](const std::string& path, uint64_t written, uint64_t length) {
    OnDownloadProgress(path, written, length);
  });
  failed_ = work_->failed();
  running_ = false;
  if (close_pending_) DestroyNow();
}

void CStockUpdaterDlg::OnDownloadProgress(const std::string& path, uint64_t written, uint64_t length) {
  if (!work_ || work_->total_bytes() == 0) return;
  panel_.file_name = DisplayName(path);
  const int file_percent = Percent(written, length);
  panel_.file_text = FormatText(u"%.1f/%.1f(KB)", double(written) * 0.001, double(length) * 0.001);
  file_bar_.SetPos(file_percent);
  file_bar_.SetText(FormatText(u"%d %%", file_percent));
  const uint64_t received = work_->received_bytes(), total = work_->total_bytes();
  const int overall_percent = Percent(received, total);
  panel_.overall_size_text = FormatText(u"%.1f/%.1f(KB)", double(received) * 0.001, double(total) * 0.001);
  overall_bar_.SetPos(overall_percent);
  overall_bar_.SetText(FormatText(u"%d %%", overall_percent));
  Invalidate();
}

void CStockUpdaterDlg::OnUpdateProgress(intptr_t code, intptr_t value) {
  switch (code) {
    case kProgressInstallBegins:
      cancel_button_.EnableButton(false);
      overall_bar_.Show(SW_HIDE);
      panel_.install_phase = true;
      panel_.file_text.clear();
      Invalidate();
      break;
    case kProgressInstalling:
      if (work_) {
        panel_.file_name = CutAtFirstDot(work_->current_name());
        panel_.file_text = work_->status_text();
      }
      file_bar_.SetPos(int(value));
      file_bar_.SetText(FormatText(u"%d %%", value));
      Invalidate();
      break;
    case kProgressInstallFailed:
      panel_.failed = true;
      if (work_) panel_.file_name = work_->current_name();  // the file that failed
      if (silent_) {
        Post(WM_UPDATER_CLOSE);
        break;
      }
      cancel_button_.Show(SW_HIDE);
      close_button_.EnableButton(true);
      close_button_.Show(SW_SHOW);
      panel_.file_text = u"업데이트에 실패했습니다.";
      Invalidate();
      file_bar_.Show(SW_HIDE);
      break;
    case kProgressFinished:
    case kProgressCancelled:
      Post(WM_UPDATER_CLOSE);
      break;
    default:
      break;
  }
}

void CStockUpdaterDlg::OnButton(int id) {
  if (id == kCloseButtonId) {
    if (work_) work_->RestartWithCancelMarker();
    Post(WM_UPDATER_CLOSE);
  } else if (id == kCancelButtonId) {
    if (in_progress_ && work_ && !silent_ &&
        AskYesNo(hwnd(), u"프로그램 업그레이드를 취소하시겠습니까?", u"업그레이드 취소") && IsAlive())
      Post(WM_CANCEL_NETWORK);
    if (const HWND viewer = FindWindow(kViewerWindowClass, u"")) PostMessage(viewer, WM_APP_EXIT, 0, 0);
  }
}

void CStockUpdaterDlg::OnUpdaterClose() {
  if (closing_) return;  // a second request while closing changes nothing
  closing_ = true;
  Post(WM_CANCEL_NETWORK);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  // While the phases run, the work object is in use below this handler: the
  // running download sees the cancel, and the window goes once they return.
  if (running_) {
    close_pending_ = true;
    return;
  }
  DestroyNow();
}

void CStockUpdaterDlg::DestroyNow() {
  KillTimer(kPowerTimer);
  AllowSystemSleep();
  work_.reset();
  Destroy();
}

void CStockUpdaterDlg::Paint() {
  PaintScope paint(*this);
  if (!paint.visible()) return;
  DeviceContext& dc = paint.dc();
  if (!screen_picture_.empty()) {
    dc.BitBlt(0, 0, screen_picture_.width(), screen_picture_.height(), screen_picture_, 0, 0);
  } else {
    dc.FillSolid(ClientRect(), 0);
  }
  PaintUpdaterPanel(panel_surface_, panel_, art_);
  dc.TransparentBlt(origin_.x, origin_.y, kPanelWidth, kPanelHeight, panel_surface_, 0, 0, kPanelWidth, kPanelHeight,
                    kPanelTransparent);
}

LRESULT CStockUpdaterDlg::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_TIMER:
      if (wParam == kStartTimer) OnStartTimer();
      if (wParam == kPowerTimer) KeepSystemPowerOn();
      return 0;
    case WM_UPDATE_START:
      OnUpdateStart();
      return 0;
    case WM_UPDATE_PROGRESS:
      OnUpdateProgress(intptr_t(wParam), lParam);
      return 0;
    case WM_CEBUTTON_CLICKED:
      OnButton(int(wParam));
      return 0;
    case WM_UPDATER_CLOSE:
      OnUpdaterClose();
      return 0;
    case WM_CANCEL_NETWORK:
      return 0;  // meant for a running download only
    case WM_COMMAND:
      // The title-bar button or Escape must not end the window while files
      // are being replaced; closing goes through WM_UPDATER_CLOSE.
      return 0;
    case WM_DESTROY:
      KillTimer(kPowerTimer);
      AllowSystemSleep();
      if (!running_) work_.reset();
      return Dialog::WindowProc(message, wParam, lParam);
    default:
      return Dialog::WindowProc(message, wParam, lParam);
  }
}

}  // namespace brantel
