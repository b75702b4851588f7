// brantel-quote search TEXT [--offline]: the stock search of the viewer. The
// master list is refreshed first as the viewer's start-up does (or, offline,
// the stored one is read); at most 30 stocks whose code or name begins with
// TEXT, with a star for those on MyPage.

#include <cstdio>
#include <set>

#include "cache/master_parser.h"
#include "cache/mypage_store.h"
#include "tools/brantel-quote/cache_view.h"
#include "tools/brantel-quote/quote_command.h"
#include "tools/brantel-quote/quote_output.h"

namespace brantel::quote_tool {

namespace {

int RunSearch(const std::vector<std::string>& arguments, const QuoteOptions& options) {
  std::vector<std::string> args = arguments;
  const bool offline = TakeOfflineFlag(args);
  if (args.size() != 1 || args[0].empty()) {
    std::fprintf(stderr, "usage: brantel-quote search TEXT [--offline]\n");
    return kExitUsage;
  }
  if (!LoadMasterList(offline)) {
    std::fprintf(stderr, offline ? "brantel-quote: no master list is stored on this device\n"
                                 : "brantel-quote: the master list could not be loaded: no server answered and "
                                   "no list is stored\n");
    return offline ? kExitFailure : kExitNoServer;
  }
  CParseMaster& master = GetMasterParser();
  const WideText text = Widen(args[0]);
  const int found = master.FindByPrefix(text, text.size());

  std::vector<WideText> codes;
  for (int i = 0; i < found; ++i) codes.push_back(master.GetResult(i)->code);
  std::vector<WideText> watched;
  if (!codes.empty()) FindMyPageCodesOf(codes, watched);
  const std::set<WideText> on_mypage(watched.begin(), watched.end());

  if (options.json) {
    std::printf("{\"text\": %s, \"results\": [", JsonString(text).c_str());
    for (int i = 0; i < found; ++i) {
      const MasterEntry* e = master.GetResult(i);
      std::printf("%s\n  {\"code\": %s, \"name\": %s, \"market\": %d, \"mypage\": %s}", i ? "," : "",
                  JsonString(e->code).c_str(), JsonString(Trim(e->name)).c_str(), e->market,
                  on_mypage.count(e->code) ? "true" : "false");
    }
    std::printf("\n]}\n");
    return kExitOk;
  }
  std::vector<std::vector<WideText>> table;
  for (int i = 0; i < found; ++i) {
    const MasterEntry* e = master.GetResult(i);
    table.push_back({on_mypage.count(e->code) ? u"★" : u" ", e->code, WideText(Trim(e->name))});
  }
  PrintTable(table, {false, false, false});
  std::printf("%d match%s of %d stocks%s\n", found, found == 1 ? "" : "es", master.GetEntryCount(),
              found == kMaxMasterResults ? " (the first 30)" : "");
  return kExitOk;
}

const QuoteCommandRegistration kRegistration({"search", "TEXT [--offline]",
                                              "stocks whose code or name begins with TEXT (master list, MyPage star)",
                                              RunSearch});

}  // namespace

}  // namespace brantel::quote_tool
