#pragma once
// The plain way to read a list answer's rows, for comparisons: pugixml over
// the XML part, nine fields per row copied into narrow strings.

#include <pugixml.hpp>

#include <string>
#include <vector>

namespace brantel::testing {

struct NarrowRow {
  std::string gubun, code, item, codename, current_price, daebi, rate, date, time;
};

inline std::vector<NarrowRow> CopyPlainListRows(const pugi::xml_document& doc) {
  std::vector<NarrowRow> rows;
  for (pugi::xml_node row : doc.child("SmartPhone").child("Body").children()) {
    NarrowRow r;
    r.gubun = row.attribute("gubun").value();
    r.code = row.child_value("Code");
    r.item = row.child("Code").attribute("item").value();
    r.codename = row.child_value("CodeName");
    r.current_price = row.child_value("CurrentPrc");
    r.daebi = row.child_value("Daebi");
    r.rate = row.child_value("Rate");
    r.date = row.child_value("Date");
    r.time = row.child_value("Time");
    rows.push_back(std::move(r));
  }
  return rows;
}

}  // namespace brantel::testing
