#pragma once
// The background cache save of one market list: the rows of a network answer
// are copied and stored on a thread of their own, at most once per run of the
// viewer (the ranking list: once per sub-kind). The number of saves started
// is the list's loaded-from-network count, which ends the reading of cached
// rows.

#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

#include "platform/text.h"
#include "platform/thread/worker_thread.h"
#include "protocol/records.h"

namespace brantel {

class MarketCacheSave {
 public:
  explicit MarketCacheSave(int32_t category) : category_(category) {}
  ~MarketCacheSave();
  MarketCacheSave(const MarketCacheSave&) = delete;
  MarketCacheSave& operator=(const MarketCacheSave&) = delete;

  // Starts the save of a copy of `rows` when this list (or sub-kind) has not
  // been stored in this run and no save is running; true when started. The
  // quote lists go to the quote table; the ranking goes to the quote table,
  // then replaces the sub-kind's ranking in one transaction and finally
  // records the sub-kind's stamp, so a stamp never claims rows that a kill
  // took away.
  bool Start(const std::vector<StockRecord>& rows, WideView stamp, int32_t sub_kind = 0);

  // Saves started and not cancelled before they began (per sub-kind).
  int LoadedCount(int32_t sub_kind = 0) const;
  bool Running() const { return thread_.Running(); }
  // Asks a running save to stop and waits at most `wait_ms`; a save that
  // has not ended by then ends on its own and the destructor joins it.
  bool Cancel(uint32_t wait_ms);

 private:
  static void Store(int32_t category, int32_t sub_kind, const std::vector<StockRecord>& rows, WideView stamp);

  const int32_t category_;
  std::array<std::atomic<int>, 3> loaded_{};
  WorkerThread thread_;
};

}  // namespace brantel
