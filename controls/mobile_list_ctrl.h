#pragma once
// CMobileListCtrl: the list body. Keeps the rows (MobileListRows), lays
// them out (mobile_list_layout.h), paints them (MobileListPainter) and turns
// taps into selection and WM_MOBILELIST_CLICK to its notify window;
// scrolling comes from CFlickingCtrl. On the desktop the wheel and the
// Up, Down, PageUp and PageDown keys scroll it by whole rows.

#include <cstdint>

#include "controls/flicking_ctrl.h"
#include "controls/mobile_list_painter.h"
#include "platform/resources/resource_library.h"

namespace brantel {

inline constexpr char16_t kMobileListCtrlClass[] = u"Mobile List Control";
inline constexpr uintptr_t SCROLLBAR_FADE_TIMER = 9009;
// Rows a wheel notch scrolls.
inline constexpr int kWheelRows = 3;

// Return codes of the row moves.
inline constexpr int kMoveDone = 0;
inline constexpr int kMoveLocked = -1;       // edit lock on, or nothing selected
inline constexpr int kMoveSectionRow = -2;   // the selected row is a section header
inline constexpr int kMoveBlocked = -3;      // at the end, or next to a section header
inline constexpr int kMoveMissingRow = -10;  // a row does not exist

class CMobileListCtrl : public CFlickingCtrl {
 public:
  CMobileListCtrl();

  // A visible child of `parent`; notifications go to `notify`.
  bool Create(const Rect& rect, Window* parent, HWND notify, ResourceLibraryRef library, int id = 0);

  // Rows. AddRow takes the row at position `index` (appended when < 0); a
  // row height of 0 or less means the default height. Call RecomputeLayout
  // after adding.
  void AddRow(int index, MobileListRow row);
  void RemoveAllRows();
  // Section index, selection and press cleared, content height and scroll
  // range renewed; the position is kept.
  void RecomputeLayout();
  // As RecomputeLayout, after deleting every row; both positions go to 0.
  void Reset();
  int GetRowText(int row, WideText* key, bool* section = nullptr) const { return rows_.GetRowText(row, key, section); }
  int GetCellText(int row, int cell_id, WideText* text) const { return rows_.GetCellText(row, cell_id, text); }
  void SetCellAlternative(int row, int cell_id, int index);
  // Ignored for picture cells.
  void SetCellStyle(int row, int cell_id, COLORREF color, COLORREF selected_color, unsigned format);
  // Picture cells only: 1 when set, else 0.
  int SetCellImage(int row, int cell_id, uint32_t image_id);
  void SetRowKeyText(int row, WideView key);
  // Every cell of column `column_id` shows alternative `index`.
  void ShowColumnAlternative(int column_id, int index);
  int RowCount() const { return rows_.size(); }
  const MobileListRows& rows() const { return rows_; }

  // Look.
  void SetDefaultRowHeight(int height) { metrics_.default_row_height = height; }
  int default_row_height() const { return metrics_.default_row_height; }
  void SetBackgroundColor(COLORREF color) { look_.background = color; }
  void SetBackgroundImage(uint32_t image_id) { look_.background_bitmap = Picture(image_id); }
  void SetRowBackgroundImage(uint32_t image_id) { look_.row_background = Picture(image_id); }
  void SetSelectionImage(uint32_t image_id) { look_.selection_image = Picture(image_id); }
  void SetSelectionColor(COLORREF color) { look_.selection_color = color; }
  void SetSeparatorPen(COLORREF color, int width);
  void SetThumbImages(uint32_t top, uint32_t body, uint32_t bottom);
  void SetThumbWidth(int width) { look_.thumb_width = width; }
  void EnableScrollBar(bool enabled) { look_.scroll_bar = enabled; }
  // Resizes the window and recomputes the layout.
  void Resize(int width, int height);

  // Selection and editing.
  int selected() const { return selected_; }
  int pressed() const { return pressed_; }
  void SetSelected(int row);
  void SetEditLock(bool locked) { edit_lock_ = locked; }
  bool edit_lock() const { return edit_lock_; }
  int MoveSelectedUp();
  int MoveSelectedDown();
  bool CanMoveUp(int row) const;
  bool CanMoveDown(int row) const;

  // Desktop scrolling: by whole rows or views, never past either end.
  void ScrollByRows(int rows);
  void ScrollByPage(int pages);

  int content_height() const { return content_height_; }
  ThumbGeometry thumb() const;
  int thumb_alpha() const { return thumb_alpha_; }
  bool thumb_hidden() const { return thumb_hidden_; }

  LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;

 private:
  std::shared_ptr<const Surface> Picture(uint32_t image_id) const;
  void UpdateRange();
  void ClearFade();
  void StartFade();
  void FadeTick();
  int MoveSelected(int direction);
  void ScrollTo(int position);
  void OnFingerDown(Point p);
  void OnFingerMove(Point p);
  void OnFingerUp(Point p);
  void Paint();

  HWND notify_ = 0;
  ResourceLibraryRef library_;
  MobileListRows rows_;
  MobileListMetrics metrics_;
  MobileListLook look_;
  MobileListPainter painter_;
  int selected_ = -1;
  int pressed_ = -1;
  int pressed_cell_ = -1;
  bool empty_tap_ = false;
  bool edit_lock_ = false;
  Point down_{};
  int content_height_ = 0;
  int thumb_alpha_ = 255;
  bool thumb_hidden_ = false;
  bool fade_running_ = false;
  int wheel_delta_ = 0;
};

}  // namespace brantel
