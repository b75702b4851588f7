// The MyPage editor: unmarking and saving, cancelling, moves within a
// category, and a save whose write fails keeping the old list.

#include "tests/app/mypage_test_support.h"

#include "cache/database_path.h"
#include "cache/sqlite3_database.h"
#include "cache/sqlite3_statement.h"
#include "protocol/app_messages.h"
#include "protocol/row_key.h"

namespace brantel::testing {
namespace {

class MyPageEditorTest : public MyPageTest {
 protected:
  static constexpr int kEditListTop = 52 + 75;  // system bar and title strip

  void SetUp() override {
    MyPageTest::SetUp();
    Watch({Entry(1, u"005930", u"0", u"삼성전자"), Entry(1, u"000660", u"0", u"SK하이닉스"),
           Entry(3, u"FX@USD", u"0", u"미국 달러")});
  }
  // Opens the editor from the screen's menu command and waits for its rows.
  CMyPageEditDlg& OpenEditor(int rows = 5) {
    CMyPageDlg& s = screen_ ? *screen_ : ShowAndRefresh();
    s.Post(WM_COMMAND, kCmdMyPageEdit);
    EXPECT_TRUE(RunUntil([&] { return s.editor() && s.editor()->list().body().RowCount() == rows; }));
    return *s.editor();
  }
  void TapMark(CMyPageEditDlg& editor, int row) {
    InputScript tap;
    Play(tap.Tap(455, RowMiddle(editor.list().body(), row, kEditListTop)).Wait(100));
  }
  void Command(CMyPageEditDlg& editor, uint32_t command) {
    editor.Post(WM_COMMAND, command);
    EXPECT_TRUE(RunUntil([&] { return screen_->editor() == nullptr; }));
  }
  static std::vector<WideText> WatchedCodes() {
    std::vector<StockRecord> rows;
    WideText stamp;
    LoadMyPage(rows, stamp);
    std::vector<WideText> codes;
    for (const StockRecord& r : rows) codes.push_back(r.code);
    return codes;
  }
};

TEST_F(MyPageEditorTest, UnmarkAndSaveRemovesCancelKeepsAndAllUnmarkedEmptiesTheScreen) {
  CMyPageEditDlg& editor = OpenEditor();
  CMobileListCtrl& body = editor.list().body();
  EXPECT_EQ(CellText(body, 0, 0), u"종목명");
  EXPECT_EQ(CellText(body, 3, 0), u"통화명");
  TapMark(editor, 2);
  RowKey key;
  ASSERT_TRUE(ParseRowKey(RowKeys(body)[2], key));
  EXPECT_EQ(key.mypage_flag, u"0");
  EXPECT_EQ(body.rows().row(2)->cells[1].image_id, 1056u);
  Shot("mypage-editor");
  TapMark(editor, 2);  // marked again
  ASSERT_TRUE(ParseRowKey(RowKeys(body)[2], key));
  EXPECT_EQ(key.mypage_flag, u"1");
  TapMark(editor, 2);
  Command(editor, kCmdEditSave);
  EXPECT_EQ(WatchedCodes(), (std::vector<WideText>{u"005930", u"FX@USD"}));
  EXPECT_TRUE(RunUntil([&] { return screen_->list().body().RowCount() == 4; }));

  // Cancel (the menu's and the title bar's OK) writes nothing.
  CMyPageEditDlg& again = OpenEditor(4);
  TapMark(again, 1);
  Command(again, kCmdEditCancel);
  CMyPageEditDlg& third = OpenEditor(4);
  TapMark(third, 1);
  Command(third, 0x10000001);
  EXPECT_EQ(WatchedCodes(), (std::vector<WideText>{u"005930", u"FX@USD"}));
  // The back key closes it through the screen; the end key ends the viewer.
  CMyPageEditDlg& keys = OpenEditor(4);
  TapMark(keys, 1);
  keys.Post(WM_BACK_KEY);
  EXPECT_TRUE(RunUntil([&] { return screen_->editor() == nullptr; }));
  EXPECT_EQ(WatchedCodes(), (std::vector<WideText>{u"005930", u"FX@USD"}));
  OpenEditor(4).Post(WM_END_KEY);
  EXPECT_TRUE(RunUntil([&] { return main_.exit_posts == 1; }));

  // Everything unmarked: an empty list in the cache and on the screen, and no request.
  CMyPageEditDlg& last = OpenEditor(4);
  TapMark(last, 1);
  TapMark(last, 3);
  const int requests = MyPageRequests();
  Command(last, kCmdEditSave);
  EXPECT_TRUE(WatchedCodes().empty());
  EXPECT_TRUE(RunUntil([&] { return screen_->list().body().RowCount() == 0; }));
  RunFor(400);
  EXPECT_EQ(MyPageRequests(), requests);
}

TEST_F(MyPageEditorTest, MovesStayInTheirCategoryAndAFailedWriteKeepsTheOldList) {
  CMyPageEditDlg& editor = OpenEditor();
  CMobileListCtrl& body = editor.list().body();
  // The first stock: up is refused, down allowed.
  InputScript select_first;
  Play(select_first.Tap(200, RowMiddle(body, 1, kEditListTop)).Wait(100));
  EXPECT_EQ(body.selected(), 1);
  EXPECT_FALSE(editor.up_button().state().enabled());
  EXPECT_TRUE(editor.down_button().state().enabled());
  EXPECT_EQ(body.MoveSelectedUp(), -3);
  // Down with the button: the order changes and now only up is allowed.
  InputScript down;
  Play(down.Tap(420, 52 + 748 - 52 - 20).Wait(100));  // the down button
  EXPECT_EQ(body.selected(), 2);
  EXPECT_EQ(CellText(body, 1, 0), u"SK하이닉스");
  EXPECT_TRUE(editor.up_button().state().enabled());
  EXPECT_FALSE(editor.down_button().state().enabled());  // the currency section follows

  // A write that fails inside the transaction: the old list stays, in its order.
  {
    SQLite3Database db;
    db.Open(BuildDatabasePath().c_str());
    db.CompileStatement("CREATE TRIGGER refuse BEFORE INSERT ON MyPage BEGIN SELECT RAISE(ABORT, 'refused'); END")
        .ExecDML();
  }
  Command(editor, kCmdEditSave);
  EXPECT_EQ(WatchedCodes(), (std::vector<WideText>{u"005930", u"000660", u"FX@USD"}));
  {
    SQLite3Database db;
    db.Open(BuildDatabasePath().c_str());
    db.CompileStatement("DROP TRIGGER refuse").ExecDML();
  }
  // Without the fault the new order is saved.
  CMyPageEditDlg& again = OpenEditor();
  InputScript select_second;
  Play(select_second.Tap(200, RowMiddle(again.list().body(), 2, kEditListTop)).Wait(100));
  again.Post(WM_CEBUTTON_CLICKED, kEditUpButton, 3);
  RunFor(100);
  Command(again, kCmdEditSave);
  EXPECT_EQ(WatchedCodes(), (std::vector<WideText>{u"000660", u"005930", u"FX@USD"}));
}

TEST_F(MyPageEditorTest, TheLeftSoftKeyPressedTwiceQuicklyKeepsTheWatchList) {
  CMyPageDlg& s = ShowAndRefresh();
  // F1 opens the editor, and the second F1 reaches its save before its rows
  // are read: nothing may be written.
  InputScript twice;
  Play(twice.Key(VK_F1).Wait(30).Key(VK_F1).Wait(300));
  EXPECT_EQ(WatchedCodes(), (std::vector<WideText>{u"005930", u"000660", u"FX@USD"}));
  EXPECT_TRUE(RunUntil([&] { return s.editor() == nullptr || s.editor()->list().body().RowCount() == 5; }));
}

// An entry whose quote row is missing cannot be shown; a save must not drop it.
TEST_F(MyPageEditorTest, AnEntryTheEditorCannotShowSurvivesASave) {
  StockRecord hidden;
  hidden.code = u"035720";
  hidden.codename = u"카카오";
  hidden.gubun = 1;
  hidden.item = u"0";
  ASSERT_EQ(AddMyPageItem(hidden, u"2026/12/07 10:00:00", true, true), 1);
  {
    SQLite3Database db;
    db.Open(BuildDatabasePath().c_str());
    db.CompileStatement("DELETE FROM StockData WHERE code='035720'").ExecDML();
  }
  CMyPageEditDlg& editor = OpenEditor();
  TapMark(editor, 2);
  Command(editor, kCmdEditSave);
  std::vector<StockRecord> entries;
  ASSERT_EQ(LoadMyPageEntries(entries), 1);
  std::vector<WideText> codes;
  for (const StockRecord& e : entries) codes.push_back(e.code);
  EXPECT_EQ(codes, (std::vector<WideText>{u"005930", u"035720", u"FX@USD"}));
}

}  // namespace
}  // namespace brantel::testing
