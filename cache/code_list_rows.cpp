#include "cache/code_list_rows.h"

#include "cache/sql_text.h"

namespace brantel {

namespace {

const char* const kInsertFormat = "INSERT INTO %s (code, gubun, sub_gubun, lastupdatetime) VALUES(?,?,?,?)";

}  // namespace

void InsertCodeRows(SQLite3Database& db, const char* table, std::span<const StockRecord> records,
                    std::optional<int> category, const std::string& narrow_stamp) {
  SQLite3Statement insert = db.CompileStatement(FormatSql(kSqlBufferSmall, kInsertFormat, table).c_str());
  for (const StockRecord& r : records) {
    insert.Bind(1, Narrow(r.code).c_str());
    insert.Bind(2, category.value_or(r.gubun));
    insert.Bind(3, Narrow(r.item).c_str());
    insert.Bind(4, narrow_stamp.c_str());
    insert.ExecDML();
  }
  insert.Finalize();
}

}  // namespace brantel
