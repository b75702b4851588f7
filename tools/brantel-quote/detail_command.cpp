// brantel-quote detail CODE [--category N] [--item G] [--period N] [--charts DIR]

#include <cstdio>
#include <cstdlib>

#include "platform/folders.h"
#include "protocol/market_requests.h"
#include "tools/brantel-quote/quote_command.h"
#include "tools/brantel-quote/quote_output.h"

namespace brantel::quote_tool {

namespace {

struct DetailArgs {
  std::string code;
  int category = 1;
  std::string item = "0";
  int period = 2;
  std::string charts;
};

bool ParseNumber(const std::string& text, int low, int high, int* out) {
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end || value < low || value > high) return false;
  *out = int(value);
  return true;
}

bool ParseDetailArgs(const std::vector<std::string>& args, DetailArgs& out) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool has_value = i + 1 < args.size();
    if (a == "--category" && has_value) {
      if (!ParseNumber(args[++i], 0, 8, &out.category)) return false;
    } else if (a == "--period" && has_value) {
      if (!ParseNumber(args[++i], 0, 4, &out.period)) return false;
    } else if (a == "--item" && has_value) {
      out.item = args[++i];
    } else if (a == "--charts" && has_value) {
      out.charts = args[++i];
    } else if (a.rfind("--", 0) != 0 && out.code.empty()) {
      out.code = a;
    } else {
      return false;
    }
  }
  return !out.code.empty();
}

// Copies the stored chart pictures into `folder`; returns the new paths.
std::vector<std::string> SaveCharts(const std::vector<WideText>& attachments, const std::string& folder) {
  std::vector<std::string> saved;
  if (!CreateFoldersAlong(folder)) return saved;
  for (const WideText& a : attachments) {
    const std::string from = Narrow(a);
    const std::string to = JoinPath(folder, from.substr(from.rfind('/') + 1));
    std::string bytes;
    if (ReadWholeFile(from, bytes) && WriteFileAtomically(to, bytes)) saved.push_back(to);
  }
  return saved;
}

void PrintJson(const DetailAnswer& a, const std::vector<std::string>& charts) {
  std::printf("{\"server_date\": %s", JsonString(a.server_date).c_str());
  if (a.detail) {
    const StockDetailRecord& d = *a.detail;
    std::printf(",\n \"detail\": {\"category\": %d, \"code\": %s, \"name\": %s, \"price\": %s, \"change\": %s, "
                "\"rate\": %s, \"high\": %s, \"low\": %s, \"open\": %s, \"previous_close\": %s, \"volume\": %s, "
                "\"high52\": %s, \"high52_date\": %s, \"low52\": %s, \"low52_date\": %s, \"date\": %s, \"time\": %s}",
                d.gubun, JsonString(d.code).c_str(), JsonString(d.codename).c_str(),
                JsonString(d.current_price).c_str(), JsonString(d.daebi).c_str(), JsonString(d.rate).c_str(),
                JsonString(d.high).c_str(), JsonString(d.low).c_str(), JsonString(d.open_price).c_str(),
                JsonString(d.yesterday_price).c_str(), JsonString(d.trade_amount).c_str(),
                JsonString(d.high52).c_str(), JsonString(d.high52_date).c_str(), JsonString(d.low52).c_str(),
                JsonString(d.low52_date).c_str(), JsonString(d.date).c_str(), JsonString(d.time).c_str());
  }
  std::printf(",\n \"daily\": [");
  for (size_t i = 0; i < a.daily.size(); ++i) {
    const StockRecord& r = a.daily[i];
    std::printf("%s\n  {\"date\": %s, \"price\": %s, \"change\": %s, \"rate\": %s}", i ? "," : "",
                JsonString(r.date).c_str(), JsonString(r.current_price).c_str(), JsonString(r.daebi).c_str(),
                JsonString(r.rate).c_str());
  }
  std::printf("],\n \"charts\": [");
  for (size_t i = 0; i < charts.size(); ++i) std::printf("%s%s", i ? ", " : "", JsonString(Widen(charts[i])).c_str());
  std::printf("]}\n");
}

void PrintText(const DetailAnswer& a, const std::vector<std::string>& charts, const QuoteOptions& options) {
  if (a.detail) {
    const StockDetailRecord& d = *a.detail;
    std::printf("%s (%s)  %s  %s  %s%%\n\n", Narrow(d.codename).c_str(), Narrow(d.code).c_str(),
                Narrow(d.current_price).c_str(), Narrow(ChangeCell(d.daebi, options.colour)).c_str(),
                Narrow(d.rate).c_str());
    PrintTable({{u"시가", d.open_price, u"전일", d.yesterday_price},
                {u"고가", d.high, u"저가", d.low},
                {u"거래량", d.trade_amount, u"", u""},
                {u"52주 최고", d.high52, u"날짜", d.high52_date},
                {u"52주 최저", d.low52, u"날짜", d.low52_date}},
               {false, true, false, true});
  } else {
    std::printf("no detail in the answer\n");
  }
  if (!a.daily.empty()) {
    std::printf("\n");
    std::vector<std::vector<WideText>> table;
    for (const StockRecord& r : a.daily)
      table.push_back({r.date, r.current_price, ChangeCell(r.daebi, options.colour), r.rate + u"%"});
    PrintTable(table, {false, true, true, true});
  }
  for (const std::string& c : charts) std::printf("chart saved: %s\n", c.c_str());
  std::printf("server time %s\n", Narrow(a.server_date).c_str());
}

int RunDetail(const std::vector<std::string>& args, const QuoteOptions& options) {
  DetailArgs parsed;
  if (!ParseDetailArgs(args, parsed)) {
    std::fprintf(stderr, "usage: brantel-quote detail CODE [--category N] [--item G] [--period 0-4] [--charts DIR]\n");
    return kExitUsage;
  }
  DetailAnswer answer;
  const int32_t result = FetchDetail(Widen(parsed.code), parsed.category, Widen(parsed.item), parsed.period, 0, answer);
  if (result != 1) return ReportRequestFailure(result, "detail");
  const std::vector<std::string> charts = parsed.charts.empty() ? std::vector<std::string>()
                                                                : SaveCharts(answer.attachments, parsed.charts);
  if (options.json) PrintJson(answer, charts);
  else PrintText(answer, charts, options);
  return answer.detail ? kExitOk : kExitRefused;
}

const QuoteCommandRegistration kRegistration(
    {"detail", "CODE [--category N] [--item G] [--period 0-4] [--charts DIR]",
     "one quote with its 52-week summary and daily prices; --charts saves the two chart pictures", RunDetail});

}  // namespace

}  // namespace brantel::quote_tool
