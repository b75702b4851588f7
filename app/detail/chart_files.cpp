#include "app/detail/chart_files.h"

#include <unistd.h>

namespace brantel {

namespace {

void DeleteFileAt(std::string& path) {
  if (!path.empty()) unlink(path.c_str());
  path.clear();
}

}  // namespace

void ChartFiles::Take(const std::vector<WideText>& attachments) {
  DeleteAll();
  if (attachments.empty()) return;
  small_ = Narrow(attachments.front());
  for (size_t i = 1; i < attachments.size(); ++i) {
    std::string path = Narrow(attachments[i]);
    // The same file named twice must not be deleted under the one kept.
    if (i + 1 < attachments.size() && path != small_ && attachments[i] != attachments.back()) DeleteFileAt(path);
  }
  if (attachments.size() > 1) large_ = Narrow(attachments.back());
}

void ChartFiles::DeleteAll() {
  if (large_ == small_) large_.clear();
  DeleteFileAt(small_);
  DeleteFileAt(large_);
}

void DeleteAttachedFiles(const std::vector<WideText>& attachments) {
  for (const WideText& a : attachments) {
    std::string path = Narrow(a);
    DeleteFileAt(path);
  }
}

}  // namespace brantel
