// Reading a 3,000-row list answer (multipart, Korean names, about 640 KB)
// through ReadResponseBody, beside pugixml parsing the same XML part and
// copying the nine fields of each row, in the same run. The last lines give
// the reader's time as a multiple of each plain parse-and-copy.

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <cstdio>
#include <map>
#include <string>

#include "protocol/response_body.h"
#include "tests/support/plain_list_rows.h"

namespace brantel {
namespace {

const char* const kNames[] = {"한빛전자", "누리소프트", "가람화학", "푸른바이오제약", "동녘건설", "새벽해운",
                              "하늘항공", "미르금융지주", "솔빛에너지", "다온식품", "라온게임즈", "마루철강"};

std::string MakeXml(int rows) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<SmartPhone><Header><Layout>L</Layout><Msisdn>01012345678</Msisdn>"
      "<Os>WM6.1</Os><Filler></Filler><Version>1.0</Version><ServerDate>2026/12/07 09:41:05</ServerDate>"
      "<ResultCode>1</ResultCode><ResultDesc>정상 처리되었습니다</ResultDesc></Header>\r\n<Body>\r\n";
  char row[512];
  for (int i = 0; i < rows; ++i) {
    const int price = 1000 + (i * 7919) % 900000;
    const int change = (i * 131) % 2001 - 1000;
    std::snprintf(row, sizeof row,
                  "<InfoList gubun=\"1\">\n<Code item=\"%d\">%06d</Code>\n<CodeName>%s %d우</CodeName>\n"
                  "<CurrentPrc>%d,%03d</CurrentPrc>\n<Daebi>%d</Daebi>\n<Rate>%.2f</Rate>\n"
                  "<Date>2026/12/07</Date>\n<Time>09:41:05</Time>\n</InfoList>\r\n",
                  i % 3, 100000 + i * 17, kNames[i % 12], i, price / 1000, price % 1000, change,
                  change * 100.0 / price);
    xml += row;
  }
  xml += "</Body></SmartPhone>";
  return xml;
}

const std::string& Xml() {
  static const std::string xml = MakeXml(3000);
  return xml;
}

const std::string& Body() {
  static const std::string body = "------BrantelPart7f3a\r\nContent-Type: text/xml; charset=UTF-8\r\n\r\n" + Xml() +
                                  "\r\n------BrantelPart7f3a--\r\n";
  return body;
}

// A list answer stores no files; the folder is never created.
const std::string kDownload = "/tmp/brantel_reader_bench_unused/";

void BM_ReadResponseBody(benchmark::State& state) {
  const std::string& download = kDownload;
  for (auto _ : state) {
    auto response = ReadResponseBody(download, Body());
    if (!response || response->ItemCount() != 3000) return state.SkipWithError("answer not read");
    benchmark::DoNotOptimize(response);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Body().size()));
  state.counters["KB"] = double(Body().size()) / 1024;
}
BENCHMARK(BM_ReadResponseBody)->Unit(benchmark::kMillisecond);

// Plain pugixml use: parse a copy of the XML part, copy nine fields per row
// into narrow strings.
void BM_PugixmlParseCopy(benchmark::State& state) {
  for (auto _ : state) {
    pugi::xml_document doc;
    if (!doc.load_buffer(Xml().data(), Xml().size())) return state.SkipWithError("parse failed");
    std::vector<testing::NarrowRow> rows = testing::CopyPlainListRows(doc);
    if (rows.size() != 3000) return state.SkipWithError("rows missing");
    benchmark::DoNotOptimize(rows);
  }
}
BENCHMARK(BM_PugixmlParseCopy)->Unit(benchmark::kMillisecond);

// The same, copying into the viewer's own records (wide text).
void BM_PugixmlParseCopyToRecords(benchmark::State& state) {
  for (auto _ : state) {
    pugi::xml_document doc;
    if (!doc.load_buffer(Xml().data(), Xml().size())) return state.SkipWithError("parse failed");
    std::vector<StockRecord> rows;
    for (pugi::xml_node row : doc.child("SmartPhone").child("Body").children()) {
      StockRecord r;
      r.gubun = row.attribute("gubun").as_int();
      r.code = Widen(row.child_value("Code"));
      r.item = Widen(row.child("Code").attribute("item").value());
      r.codename = Widen(row.child_value("CodeName"));
      r.current_price = Widen(row.child_value("CurrentPrc"));
      r.daebi = Widen(row.child_value("Daebi"));
      r.rate = Widen(row.child_value("Rate"));
      r.date = Widen(row.child_value("Date"));
      r.time = Widen(row.child_value("Time"));
      rows.push_back(std::move(r));
    }
    if (rows.size() != 3000) return state.SkipWithError("rows missing");
    benchmark::DoNotOptimize(rows);
  }
}
BENCHMARK(BM_PugixmlParseCopyToRecords)->Unit(benchmark::kMillisecond);

// Prints the table as usual, then the reader's time over each baseline.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration && !run.error_occurred)
        ms_[run.benchmark_name()] = run.GetAdjustedCPUTime();
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    const double reader = ms_["BM_ReadResponseBody"];
    for (const char* base : {"BM_PugixmlParseCopy", "BM_PugixmlParseCopyToRecords"})
      if (ms_[base] > 0)
        std::printf("ratio ReadResponseBody / %s = %.2f (%.3f ms / %.3f ms)\n", base + 3, reader / ms_[base],
                    reader, ms_[base]);
  }

 private:
  std::map<std::string, double> ms_;
};

}  // namespace
}  // namespace brantel

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  brantel::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  std::printf("answer: %zu bytes, 3000 rows\n", brantel::Body().size());
  return 0;
}
