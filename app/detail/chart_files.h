#pragma once
// The two chart pictures a detail answer brings: the first attached file is
// the small 52-week chart, the last one the large chart of landscape. The
// files live in TEMP/ and belong to the detail that received them: they are
// deleted when new ones arrive and when the detail goes.

#include <string>
#include <vector>

#include "platform/text.h"

namespace brantel {

class ChartFiles {
 public:
  ChartFiles() = default;
  ~ChartFiles() { DeleteAll(); }
  ChartFiles(const ChartFiles&) = delete;
  ChartFiles& operator=(const ChartFiles&) = delete;

  // Takes the attached files of an answer (the previous ones are deleted).
  // Files between the first and the last are deleted at once: nothing
  // shows them.
  void Take(const std::vector<WideText>& attachments);
  void DeleteAll();

  const std::string& small_chart() const { return small_; }
  const std::string& large_chart() const { return large_; }

 private:
  std::string small_;
  std::string large_;
};

// Deletes attached files nobody will show (an answer that came too late).
void DeleteAttachedFiles(const std::vector<WideText>& attachments);

}  // namespace brantel
