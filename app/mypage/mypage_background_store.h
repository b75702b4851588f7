#pragma once
// The background store of the MyPage screen: the first network answer of a
// run of the viewer is copied and written to the cache on a thread of its
// own (the entries' stamp, then the quotes); later answers are only shown.

#include <atomic>
#include <vector>

#include "platform/text.h"
#include "platform/thread/worker_thread.h"
#include "protocol/records.h"

namespace brantel {

inline constexpr uint32_t kMyPageStoreWaitMs = 1000;

class MyPageBackgroundStore {
 public:
  MyPageBackgroundStore() = default;
  ~MyPageBackgroundStore();
  MyPageBackgroundStore(const MyPageBackgroundStore&) = delete;
  MyPageBackgroundStore& operator=(const MyPageBackgroundStore&) = delete;

  // Starts storing a copy of `rows` with `stamp` when nothing was stored in
  // this run and no store runs; true when started.
  bool Start(const std::vector<StockRecord>& rows, WideView stamp);
  // Answers stored (0 or 1); a store cancelled before it began counts none.
  int StoredCount() const { return stored_.load(); }
  bool Running() const { return thread_.Running(); }
  // Cancels a running store and waits at most `wait_ms` for it.
  bool Cancel(uint32_t wait_ms);

 private:
  std::atomic<int> stored_{0};
  WorkerThread thread_;
};

}  // namespace brantel
