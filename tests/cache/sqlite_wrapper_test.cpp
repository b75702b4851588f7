// The database wrapper against real SQLite files.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "cache/ansi_wide_text.h"
#include "cache/sqlite3_database.h"
#include "cache/sqlite3_exception.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

class WrapperTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db_.Open(home_.File("wrapper.db").c_str());
    db_.ExecQuery("CREATE TABLE t (id INTEGER, name TEXT)");
    db_.ExecQuery("INSERT INTO t VALUES (1, 'one')");
    db_.ExecQuery("INSERT INTO t VALUES (2, NULL)");
  }
  testing::TempDataFolder home_;
  SQLite3Database db_;
};

TEST(SQLite3ExceptionTest, ComposesMessagesAndCopiesThem) {
  SQLite3Exception not_open(kWrapperErrorCode, "Database not open");
  EXPECT_STREQ(not_open.ErrorMessage(), "CPPSQLITE_ERROR[1000]: Database not open");
  SQLite3Exception unknown(42, nullptr);
  EXPECT_STREQ(unknown.ErrorMessage(), "UNKNOWN_ERROR[42]: ");
  SQLite3Exception busy(SQLITE_BUSY, "database is locked");
  SQLite3Exception copy(busy);
  EXPECT_EQ(copy.ErrorCode(), SQLITE_BUSY);
  EXPECT_STREQ(copy.ErrorMessage(), "SQLITE_BUSY[5]: database is locked");
  EXPECT_NE(copy.ErrorMessage(), busy.ErrorMessage());  // its own allocation
  copy = unknown;
  EXPECT_STREQ(copy.ErrorMessage(), "UNKNOWN_ERROR[42]: ");
  EXPECT_STREQ(SQLite3Exception::ErrorCodeName(101), "SQLITE_DONE");
  EXPECT_STREQ(SQLite3Exception::ErrorCodeName(26), "UNKNOWN_ERROR");
}

TEST_F(WrapperTest, CompileFailureHasEmptyDetail) {
  try {
    db_.ExecQuery("SELEC nonsense");
    FAIL() << "no exception";
  } catch (const SQLite3Exception& e) {
    EXPECT_EQ(e.ErrorCode(), SQLITE_ERROR);
    EXPECT_STREQ(e.ErrorMessage(), "SQLITE_ERROR[1]: ");
  }
}

TEST_F(WrapperTest, ScalarsAndTableExistence) {
  EXPECT_EQ(db_.ExecScalar("SELECT count(*) FROM t"), 2);
  EXPECT_EQ(db_.ExecScalar("SELECT 'abc'"), 0);
  EXPECT_EQ(db_.ExecScalar("SELECT NULL"), 0);  // a null value reads as 0, no crash
  try {
    db_.ExecScalar("SELECT id FROM t WHERE id = 99");
    FAIL() << "no exception";
  } catch (const SQLite3Exception& e) {
    EXPECT_STREQ(e.ErrorMessage(), "CPPSQLITE_ERROR[1000]: Invalid scalar query");
  }
  EXPECT_TRUE(db_.TableExists("t"));
  EXPECT_FALSE(db_.TableExists("missing"));
  EXPECT_FALSE(db_.TableExists("x' OR '1'='1"));
}

TEST_F(WrapperTest, OnlyTheFirstOfSeveralStatementsRuns) {
  db_.ExecQuery("INSERT INTO t VALUES (3, 'three'); INSERT INTO t VALUES (4, 'four')");
  EXPECT_EQ(db_.ExecScalar("SELECT count(*) FROM t"), 3);
}

TEST_F(WrapperTest, CursorReadsRowsAndRejectsBadFields) {
  SQLite3Query q = db_.ExecQuery("SELECT t.id, t.name FROM t ORDER BY id");
  ASSERT_FALSE(q.Eof());
  EXPECT_EQ(q.FieldIndex("name"), 1);  // a qualified column is named by its column
  EXPECT_STREQ(q.FieldValue("id"), "1");
  EXPECT_STREQ(q.FieldValue(1), "one");
  EXPECT_THROW(q.FieldValue(2), SQLite3Exception);
  EXPECT_THROW(q.FieldValue(-1), SQLite3Exception);
  EXPECT_THROW(q.FieldIndex("ID"), SQLite3Exception);  // exact byte comparison
  EXPECT_THROW(q.FieldIndex(nullptr), SQLite3Exception);
  EXPECT_EQ(q.NextRow(), SQLITE_ROW);
  EXPECT_EQ(q.FieldValue(1), nullptr);
  EXPECT_EQ(q.NextRow(), SQLITE_DONE);
  EXPECT_TRUE(q.Eof());

  // Moving hands the statement over and leaves the source without one.
  SQLite3Query other = db_.ExecQuery("SELECT id FROM t");
  SQLite3Query target = db_.ExecQuery("SELECT name FROM t");
  target = std::move(other);
  EXPECT_STREQ(target.FieldValue(0), "1");
  try {
    other.Eof();
    FAIL() << "no exception";
  } catch (const SQLite3Exception& e) {
    EXPECT_STREQ(e.ErrorMessage(), "CPPSQLITE_ERROR[1000]: Null Virtual Machine pointer");
  }
}

TEST_F(WrapperTest, StatementRunsRepeatedlyAndOutlivesItsCursors) {
  SQLite3Statement insert = db_.CompileStatement("INSERT INTO t VALUES (?, ?)");
  insert.Bind(1, 10);
  insert.Bind(2, "ten");
  EXPECT_EQ(insert.ExecDML(), 1);
  insert.Bind(1, 11);  // the text binding stays
  EXPECT_EQ(insert.ExecDML(), 1);
  EXPECT_EQ(db_.ExecScalar("SELECT count(*) FROM t WHERE name='ten'"), 2);

  SQLite3Statement select = db_.CompileStatement("SELECT name FROM t WHERE id >= ? ORDER BY id");
  select.Bind(1, 10);
  {
    SQLite3Query q = select.ExecQuery();
    EXPECT_STREQ(q.FieldValue(0), "ten");
  }
  {
    SQLite3Query q = select.ExecQuery();  // starts again at the first row
    EXPECT_STREQ(q.FieldValue(0), "ten");
    q.NextRow();
    q.NextRow();
    EXPECT_TRUE(q.Eof());
  }
  {
    // The caller's text buffer may go right after binding.
    std::string temporary = "ten";
    SQLite3Statement by_name = db_.CompileStatement("SELECT count(*) FROM t WHERE name = ?");
    by_name.Bind(1, temporary.c_str());
    temporary.assign("xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx");
    EXPECT_STREQ(by_name.ExecQuery().FieldValue(0), "2");
  }
  EXPECT_THROW(select.Bind(1, 12), SQLite3Exception);  // in the middle of its rows
  EXPECT_THROW(select.Bind(2, "x"), SQLite3Exception);  // no such parameter
  select.Reset();
  select.Bind(1, 11);
  SQLite3Query q = select.ExecQuery();
  EXPECT_FALSE(q.Eof());
  q.Finalize();  // a borrowed statement is left alone
  EXPECT_NO_THROW(select.Finalize());

  SQLite3Statement moved = db_.CompileStatement("SELECT 1");
  SQLite3Statement taker(std::move(moved));
  EXPECT_THROW(moved.ExecQuery(), SQLite3Exception);
  EXPECT_FALSE(taker.ExecQuery().Eof());
}

TEST_F(WrapperTest, FailedWriteThrowsConstraintAndStatementStaysUsable) {
  db_.ExecQuery("CREATE TABLE u (code TEXT UNIQUE)");
  SQLite3Statement insert = db_.CompileStatement("INSERT INTO u VALUES (?)");
  insert.Bind(1, "A");
  insert.ExecDML();
  try {
    insert.ExecDML();
    FAIL() << "no exception";
  } catch (const SQLite3Exception& e) {
    EXPECT_EQ(e.ErrorCode(), SQLITE_CONSTRAINT);
    EXPECT_NE(std::string(e.ErrorMessage()).find("UNIQUE"), std::string::npos);
  }
  insert.Bind(1, "B");
  EXPECT_EQ(insert.ExecDML(), 1);
  EXPECT_NO_THROW(insert.Finalize());
}

TEST_F(WrapperTest, StatementsSurviveASchemaChangeByAnotherConnection) {
  SQLite3Statement insert = db_.CompileStatement("INSERT INTO t VALUES (?, ?)");
  insert.Bind(1, 7);
  insert.Bind(2, "seven");
  SQLite3Statement select = db_.CompileStatement("SELECT name FROM t WHERE id = ?");
  select.Bind(1, 7);
  {
    SQLite3Database other;
    other.Open(home_.File("wrapper.db").c_str());
    other.ExecQuery("CREATE TABLE other_table (x)");
  }
  // Compiled before the change: compiled again with the same bindings.
  EXPECT_EQ(insert.ExecDML(), 1);
  SQLite3Query q = select.ExecQuery();
  ASSERT_FALSE(q.Eof());
  EXPECT_STREQ(q.FieldValue(0), "seven");
}

TEST(SQLite3DatabaseTest, ClosedOrUnopenableDatabaseThrows) {
  SQLite3Database db;
  try {
    db.ExecQuery("SELECT 1");
    FAIL() << "no exception";
  } catch (const SQLite3Exception& e) {
    EXPECT_STREQ(e.ErrorMessage(), "CPPSQLITE_ERROR[1000]: Database not open");
  }
  try {
    db.Open("/nonexistent-folder/x/y.db");
    FAIL() << "no exception";
  } catch (const SQLite3Exception& e) {
    EXPECT_EQ(e.ErrorCode(), SQLITE_CANTOPEN);
  }
  EXPECT_FALSE(db.IsOpen());
  db.Close();  // closing twice is harmless
}

TEST(CAnsiWideTextTest, ConvertsBothWaysAndHandlesNull) {
  CAnsiWideText none(static_cast<const char*>(nullptr));
  EXPECT_STREQ(none.Narrow(), "");
  EXPECT_EQ(WideText(none.Wide()), u"");
  EXPECT_EQ(none.NarrowSize(), 0u);
  CAnsiWideText none_wide(static_cast<const char16_t*>(nullptr));
  EXPECT_EQ(none_wide.WideLength(), 0u);

  const char16_t* korean = u"삼성전자 005930 \U0001F600";
  CAnsiWideText from_wide(korean);
  CAnsiWideText back(from_wide.Narrow());
  EXPECT_EQ(WideText(back.Wide()), WideText(korean));
  EXPECT_EQ(from_wide.NarrowSize(), std::string(from_wide.Narrow()).size() + 1);
  EXPECT_EQ(from_wide.WideLength(), WideText(korean).size() + 1);
}

}  // namespace
}  // namespace brantel
