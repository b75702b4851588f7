#pragma once
// Pages of numbered pictures: each picture in a cell with its number and
// size under it, flowing left to right and onto new pages.

#include <string>
#include <vector>

#include "platform/gfx/surface.h"

namespace brantel::contact_sheet {

constexpr int kPageWidth = 1000;
constexpr int kPageHeight = 1400;

struct SheetPicture {
  uint32_t number = 0;
  Surface picture;  // empty when it did not decode
  std::string note;
};

class SheetPages {
 public:
  // `backdrop` is the colour behind the pictures (the screens' background).
  SheetPages(std::string title, COLORREF backdrop) : title_(std::move(title)), backdrop_(backdrop) {}

  void Add(const SheetPicture& item);
  std::vector<Surface> TakePages();

 private:
  void StartPage();

  std::string title_;
  COLORREF backdrop_;
  std::vector<Surface> pages_;
  int x_ = 0;
  int y_ = 0;
  int row_height_ = 0;
};

}  // namespace brantel::contact_sheet
