#pragma once
// The protocol side of the reference server: turns a request document posted
// to one of the four paths into the multipart answer.

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "tools/quote-server/answer_cache.h"
#include "tools/quote-server/answer_writer.h"
#include "tools/quote-server/chart_renderer.h"
#include "tools/quote-server/market_data.h"
#include "tools/quote-server/price_model.h"
#include "tools/quote-server/quote_snapshot.h"
#include "tools/quote-server/quote_source.h"
#include "tools/quote-server/request_reader.h"

namespace brantel::quote_server {

inline constexpr std::string_view kMarketListPath = "/hfjs-web/wm/market/MarketList.do";
inline constexpr std::string_view kMarketDetailPath = "/hfjs-web/wm/market/MarketDetail.do";
inline constexpr std::string_view kMyPagePath = "/hfjs-web/wm/myPage/MyPageList.do";
inline constexpr std::string_view kMasterPath = "/hfjs-web/common/MasterMain.do";

// Sessions of the one-year chart.
constexpr int kYearSessions = 250;

struct ServiceSettings {
  uint64_t seed = 1;
  bool fixed_clock = false;
  KstSeconds clock = 0;
  std::string result_code = "1";  // anything else: refuse every request with it
  int ranking_rows = 100;         // 0: every stock
};


class QuoteService {
 public:
  // The sample market, priced by the model.
  QuoteService(const MarketData& market, ServiceSettings settings);
  // Whatever market `slot` holds when a request comes (files swapped in
  // while the server runs).
  QuoteService(std::shared_ptr<const SourceSlot> slot, ServiceSettings settings);

  static bool IsProtocolPath(std::string_view path);
  ProtocolAnswer Answer(std::string_view path, std::string_view body) const;
  // The same answer, kept for the next identical request when the market
  // served does not move with the clock.
  std::shared_ptr<const ProtocolAnswer> SharedAnswer(std::string_view path, std::string_view body) const;

  KstSeconds Now() const;

 private:
  struct Work {
    std::shared_ptr<const QuoteSource> source;  // one market for the whole answer
    KstSeconds now = 0;
    std::string elements;
    std::vector<AnswerFile> files;
    std::string error;  // set: refuse with ResultCode "0"
  };

  void AnswerList(const RequestGroup& group, Work& work) const;
  void AnswerRanking(const RequestGroup& group, Work& work) const;
  void AnswerLookup(const RequestGroup& group, Work& work) const;
  void AnswerDetail(const RequestGroup& group, bool with_charts, Work& work) const;
  void AnswerMaster(const RequestGroup& group, Work& work) const;

  LargeChart LargeChartFor(const QuoteSource& source, const Instrument& in, int period, KstSeconds now,
                           const Snapshot& quote) const;
  RowFields Row(const Instrument& in, const Snapshot& s) const;
  const Instrument& StandardCurrency(const MarketData& market, const RequestGroup& group) const;

  ProtocolAnswer AnswerFrom(const std::shared_ptr<const QuoteSource>& source, std::string_view path,
                            std::string_view body) const;

  std::shared_ptr<const SourceSlot> slot_;
  ServiceSettings settings_;
  mutable AnswerCache cache_;
};

}  // namespace brantel::quote_server
