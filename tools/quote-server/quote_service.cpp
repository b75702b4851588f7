#include "tools/quote-server/quote_service.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "tools/quote-server/chart_renderer.h"
#include "tools/quote-server/model_source.h"
#include "tools/quote-server/quote_text.h"

namespace brantel::quote_server {

namespace {

constexpr int kDailyRows = 20;      // daily quotes listed under a detail
// No request of the viewer comes near this; a document that repeats groups
// must not make the server build an answer of hundreds of megabytes.
constexpr size_t kMaxAnswerBytes = size_t(16) << 20;
constexpr const char* kMasterFileName = "masterinfo.txt";

// The period index of a detail request; anything unreadable is period 0.
int PeriodIndex(const std::string& text) {
  if (text.size() != 1 || text[0] < '0' || text[0] > '4') return 0;
  return text[0] - '0';
}

}  // namespace

QuoteService::QuoteService(const MarketData& market, ServiceSettings settings)
    : QuoteService(std::make_shared<SourceSlot>(std::make_shared<ModelSource>(market, settings.seed)), settings) {}

QuoteService::QuoteService(std::shared_ptr<const SourceSlot> slot, ServiceSettings settings)
    : slot_(std::move(slot)), settings_(std::move(settings)) {}

bool QuoteService::IsProtocolPath(std::string_view path) {
  return path == kMarketListPath || path == kMarketDetailPath || path == kMyPagePath || path == kMasterPath;
}

KstSeconds QuoteService::Now() const { return settings_.fixed_clock ? settings_.clock : NowKst(); }

RowFields QuoteService::Row(const Instrument& in, const Snapshot& s) const {
  RowFields row;
  row.gubun = in.category;
  row.item = in.group;
  row.code = in.code;
  row.name = in.name;
  row.price = FormatNumber(s.current, s.decimals);
  row.daebi = FormatNumber(s.Change(), s.decimals);
  row.rate = FormatRate(s.RatePercent());
  row.date = s.date;
  row.time = s.time;
  return row;
}

const Instrument& QuoteService::StandardCurrency(const MarketData& market, const RequestGroup& group) const {
  // The list request names the standard currency in key and item; a code the
  // market does not know falls back to the won rather than failing the list.
  for (const RequestParam& p : group.params) {
    if (const Instrument* in = market.Find(kExchange, p.key)) return *in;
    if (const Instrument* in = market.Find(kExchange, p.item)) return *in;
  }
  return *market.Find(kExchange, "FX@KRW");
}

void QuoteService::AnswerList(const RequestGroup& group, Work& work) const {
  const QuoteSource& source = *work.source;
  const MarketData& market = source.Market();
  switch (group.gubun) {
    case kIndex:
    case kInterestRate:
    case kCommodity: {
      // Rows grouped by their market group, in file order within a group,
      // so the viewer's section captions come once each.
      std::vector<const Instrument*> rows;
      for (const Instrument& in : market.List(group.gubun)) rows.push_back(&in);
      std::stable_sort(rows.begin(), rows.end(), [](auto a, auto b) { return a->group < b->group; });
      for (const Instrument* in : rows) work.elements += RowElement(Row(*in, source.Quote(*in, work.now)));
      return;
    }
    case kExchange: {
      const Instrument& standard = StandardCurrency(market, group);
      std::vector<const Instrument*> rows;
      for (const Instrument& in : market.List(kExchange)) rows.push_back(&in);
      std::stable_sort(rows.begin(), rows.end(), [](auto a, auto b) { return a->group < b->group; });
      for (const Instrument* in : rows)
        work.elements += RowElement(Row(*in, source.Cross(*in, standard, work.now)));
      return;
    }
    case kRanking:
      AnswerRanking(group, work);
      return;
    case kStock:
      // Stocks are listed through the rankings; a stock list request with a
      // code answers that code.
      AnswerLookup(group, work);
      return;
    default:
      work.error = "no list of category " + std::to_string(group.gubun);
  }
}

void QuoteService::AnswerRanking(const RequestGroup& group, Work& work) const {
  // Sub-kind 1 trade value, 2 market capitalisation, anything else volume.
  int kind = 0;
  for (const RequestParam& p : group.params)
    if (!p.item.empty()) kind = std::atoi(p.item.c_str());
  const auto quotes = work.source->Ranked(work.now);
  std::vector<std::pair<double, size_t>> ranked;  // score, place in the listing
  ranked.reserve(quotes->size());
  for (size_t i = 0; i < quotes->size(); ++i) {
    const Snapshot& s = (*quotes)[i].second;
    ranked.emplace_back(kind == 1 ? s.value : kind == 2 ? s.market_cap : s.volume, i);
  }
  // Highest first; equal scores keep the order of the data file.
  std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  size_t rows = settings_.ranking_rows > 0 ? size_t(settings_.ranking_rows) : ranked.size();
  rows = std::min(rows, ranked.size());
  work.elements.reserve(work.elements.size() + rows * 240);
  for (size_t i = 0; i < rows; ++i) {
    const auto& [stock, quote] = (*quotes)[ranked[i].second];
    work.elements += RowElement(Row(*stock, quote));
  }
}

void QuoteService::AnswerLookup(const RequestGroup& group, Work& work) const {
  const QuoteSource& source = *work.source;
  const MarketData& market = source.Market();
  // One row per parameter that names a code. An unknown code still answers
  // a row (code and group echoed, no quote) so the rows match the request.
  for (const RequestParam& p : group.params) {
    if (p.key.empty()) continue;
    const Instrument* in = group.gubun >= kStock && group.gubun <= kCommodity ? market.Find(group.gubun, p.key) : nullptr;
    if (!in) {
      RowFields row;
      row.gubun = group.gubun >= 0 && group.gubun <= kCommodity ? group.gubun : 0;
      row.code = p.key;
      row.item = p.item;
      work.elements += RowElement(row);
      continue;
    }
    if (in->category == kExchange) {
      // The watch list asks for currencies in the currency named by item.
      const Instrument* standard = market.Find(kExchange, p.item);
      if (!standard) standard = market.Find(kExchange, "FX@KRW");
      work.elements += RowElement(Row(*in, source.Cross(*in, *standard, work.now)));
    } else {
      work.elements += RowElement(Row(*in, source.Quote(*in, work.now)));
    }
  }
}

void QuoteService::AnswerDetail(const RequestGroup& group, bool with_charts, Work& work) const {
  const RequestParam* param = nullptr;
  for (const RequestParam& p : group.params)
    if (!p.key.empty()) {
      param = &p;
      break;
    }
  if (!param) {
    work.error = "a detail request needs a code";
    return;
  }
  const QuoteSource& source = *work.source;
  const Instrument* in =
      group.gubun >= kStock && group.gubun <= kCommodity ? source.Market().Find(group.gubun, param->key) : nullptr;
  if (!in) {
    work.error = "unknown code " + param->key + " in category " + std::to_string(group.gubun);
    return;
  }
  const int period = PeriodIndex(param->period);
  const Snapshot s = source.Quote(*in, work.now);
  const std::vector<Bar> year = source.YearBars(*in, work.now);

  DetailFields d;
  d.row = Row(*in, s);
  d.period = std::to_string(period);
  d.high = FormatNumber(s.high, s.decimals);
  d.low = FormatNumber(s.low, s.decimals);
  d.trade_amount = FormatNumber(s.volume, 0);
  d.yesterday_price = FormatNumber(s.previous_close, s.decimals);
  d.open_price = FormatNumber(s.open, s.decimals);
  if (!year.empty()) {
    // The first of equal highs and lows, the same bars the small chart marks.
    const auto high = std::max_element(year.begin(), year.end(), [](const Bar& a, const Bar& b) { return a.high < b.high; });
    const auto low = std::min_element(year.begin(), year.end(), [](const Bar& a, const Bar& b) { return a.low < b.low; });
    d.high52 = FormatNumber(high->high, s.decimals);
    d.high52_date = FormatRowDate(DayOfTradingIndex(high->index));
    d.low52 = FormatNumber(low->low, s.decimals);
    d.low52_date = FormatRowDate(DayOfTradingIndex(low->index));
  }
  work.elements += DetailElement(d);

  // Daily quotes, newest first.
  for (const Snapshot& day : source.DailyQuotes(*in, work.now, kDailyRows)) work.elements += RowElement(Row(*in, day));
  if (!with_charts) return;

  const std::string stem = in->code + "_" + std::to_string(period);
  work.files.push_back({"chart_small_" + stem + ".png", "image/png", RenderSmallChart(year, s.decimals)});

  const LargeChart chart = LargeChartFor(source, *in, period, work.now, s);
  work.files.push_back({"chart_large_" + stem + ".png", "image/png", RenderLargeChart(chart)});
}

void QuoteService::AnswerMaster(const RequestGroup& group, Work& work) const {
  long held = -1;
  for (const RequestParam& p : group.params)
    if (!p.item.empty()) held = std::strtol(p.item.c_str(), nullptr, 10);
  const MarketData& market = work.source->Market();
  const size_t count = market.MasterCount();
  if (held >= 0 && size_t(held) == count) return;  // the client is up to date
  RowFields row;
  row.gubun = kMaster;
  row.item = "0";
  row.code = "MASTER";
  row.name = "masterinfo";
  row.price = std::to_string(count);
  const CivilTime c = ToCivil(work.now);
  row.date = FormatRowDate(DaysFromCivil(c.year, c.month, c.day));
  row.time = FormatRowTime(c.hour * 60 + c.minute, c.second);
  work.elements += RowElement(row);
  // One copy of the file serves every master group of the request.
  for (const AnswerFile& file : work.files)
    if (file.name == kMasterFileName) return;
  work.files.push_back({kMasterFileName, "text/plain; charset=UTF-8", market.MasterText()});
}

ProtocolAnswer QuoteService::Answer(std::string_view path, std::string_view body) const {
  return AnswerFrom(slot_->Get(), path, body);
}

std::shared_ptr<const ProtocolAnswer> QuoteService::SharedAnswer(std::string_view path, std::string_view body) const {
  const std::shared_ptr<const QuoteSource> source = slot_->Get();
  if (!source->Timeless()) return std::make_shared<const ProtocolAnswer>(AnswerFrom(source, path, body));
  if (auto kept = cache_.Find(source, path, body)) return kept;
  auto answer = std::make_shared<const ProtocolAnswer>(AnswerFrom(source, path, body));
  cache_.Keep(source, path, body, answer);
  return answer;
}

ProtocolAnswer QuoteService::AnswerFrom(const std::shared_ptr<const QuoteSource>& source, std::string_view path,
                                        std::string_view body) const {
  Work work;
  work.source = source;
  work.now = work.source->Moment(Now());
  AnswerHeader header;
  header.server_date = FormatStamp(work.now);
  QuoteRequest request;
  std::string reason;
  if (!ReadQuoteRequest(body, request, reason)) {
    work.error = reason;
  } else {
    header.layout = !request.layout.empty() ? request.layout : path == kMarketDetailPath ? "D" : "L";
    header.msisdn = request.msisdn;
    header.os = request.os;
    header.filler = request.filler;
    if (!request.version.empty()) header.version = request.version;
    if (settings_.result_code != "1") {
      header.result_code = settings_.result_code;
      header.result_desc = "refused on request of the server's operator";
    } else {
      bool charts_sent = false;
      for (const RequestGroup& group : request.groups) {
        if (path == kMarketDetailPath) {
          AnswerDetail(group, !charts_sent, work);
          charts_sent = true;
        } else if (path == kMasterPath) {
          AnswerMaster(group, work);
        } else if (path == kMyPagePath) {
          AnswerLookup(group, work);
        } else {
          AnswerList(group, work);
        }
        if (!work.error.empty()) break;
        size_t bytes = work.elements.size();
        for (const AnswerFile& file : work.files) bytes += file.bytes.size();
        if (bytes > kMaxAnswerBytes) {
          work.error = "the answer would exceed " + std::to_string(kMaxAnswerBytes >> 20) + " MiB: ask for fewer groups";
          break;
        }
      }
    }
  }
  if (!work.error.empty()) {
    header.result_code = "0";
    header.result_desc = work.error;
    work.elements.clear();
    work.files.clear();
  }
  return {MultipartContentType(), MultipartBody(AnswerXml(header, work.elements), work.files)};
}

}  // namespace brantel::quote_server
