// brantel-quote master [--count N]: the stock-code master list the server
// holds. With the count of a stored list equal to the server's, the server
// sends nothing new.

#include <cstdio>
#include <cstdlib>

#include "platform/folders.h"
#include "protocol/market_requests.h"
#include "tools/brantel-quote/quote_command.h"
#include "tools/brantel-quote/quote_output.h"

namespace brantel::quote_tool {

namespace {

int RunMaster(const std::vector<std::string>& args, const QuoteOptions& options) {
  int count = 0;
  if (args.size() == 2 && args[0] == "--count") {
    count = std::atoi(args[1].c_str());
  } else if (!args.empty()) {
    std::fprintf(stderr, "usage: brantel-quote master [--count N]\n");
    return kExitUsage;
  }
  int32_t error = 0;
  auto answer = FetchMaster(count, u"", 0, &error);
  if (!answer) return ReportRequestFailure(error, "master");
  if (answer->header().result_code != u"1") return ReportRequestFailure(0, "master");

  std::string lines;
  WideText path;
  if (answer->AttachmentCount() > 0) {
    path = answer->AttachmentAt(0)->path;
    ReadWholeFile(Narrow(path), lines);
  }
  std::vector<std::vector<WideText>> entries;
  size_t kospi = 0, kosdaq = 0;
  for (const WideText& line : Split(Widen(lines), u"\n")) {
    const std::vector<WideText> fields = Split(Trim(line), u"|");
    if (fields.size() < 3) continue;
    entries.push_back({fields[0], fields[1], fields[2]});
    (fields[2] == u"KOSDAQ" ? kosdaq : kospi) += 1;
  }
  if (options.json) {
    std::printf("{\"server_date\": %s, \"file\": %s, \"entries\": [", JsonString(answer->header().server_date).c_str(),
                JsonString(path).c_str());
    for (size_t i = 0; i < entries.size(); ++i)
      std::printf("%s\n  {\"code\": %s, \"name\": %s, \"market\": %s}", i ? "," : "", JsonString(entries[i][0]).c_str(),
                  JsonString(entries[i][1]).c_str(), JsonString(entries[i][2]).c_str());
    std::printf("\n]}\n");
    return kExitOk;
  }
  if (entries.empty()) {
    std::printf("the server's master list has not changed (count %d)\n", count);
    return kExitOk;
  }
  PrintTable(entries, {false, false, false});
  std::printf("%zu stocks: %zu KOSPI, %zu KOSDAQ; file %s\n", entries.size(), kospi, kosdaq, Narrow(path).c_str());
  return kExitOk;
}

const QuoteCommandRegistration kRegistration({"master", "[--count N]",
                                              "the stock-code master list (nothing when N equals the server's count)",
                                              RunMaster});

}  // namespace

}  // namespace brantel::quote_tool
