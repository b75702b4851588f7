// Reading the update manifest: structure, kept lengths, flags and numbers,
// the embedded alert and program lists, and hostile input.

#include "updater/manifest.h"

#include <gtest/gtest.h>

#include <chrono>

#include "tests/support/temp_folder.h"
#include "updater/manifest_texts.h"
#include "updater/update_paths.h"

namespace brantel {
namespace {

using testing::TempFolder;

const char* kFull = R"(<?xml version="1.0" encoding="utf-8"?>
<release>
  <head client_type="WM-CLIENT-TYPE-TOO-LONG" update_date="2026120701" wmail_ver="1.0" update_option="/S/Q/K"
        kill_process="[cnt]1[/cnt][1]A;B;16;\x;[/1]" alert="[title]T[/title]"/>
  <ignored/>
  <body>
    <reg_edit reg_edit_type="1" hKey="3" is_key="y" key="SOFTWARE\X" value_name="v" value_type="4" value="12"
              update_date="2026" process_kill="Y"/>
    <update_file name="first">
      <file_Info real_name="First" down_url="http://h/f" local_path="\TARGET-DIRECTORY\f" file_size="1,234 567"
                 file_version="7beta" update_date="20261207" is_auto_register="y" is_auto_exec="yes"
                 is_setup_file="1" is_self_update="Y" is_reg_file="N" sha256="ab"/>
      <process_kill is_kill="Y" wnd_class="Cls" wnd_name="NULL_NAME" close_msg="32778" exec_path="\p"
                    exec_parameter="-x"/>
    </update_file>
    <file_edit file_edit_type="2" path_1="\a" path_2="\b" update_date="" process_kill="n"/>
    <update_file name="second"/>
  </body>
</release>)";

TEST(Manifest, ReadsHeadEntriesAndEditsWithTheirFlagsAndNumbers) {
  Manifest m;
  ASSERT_EQ(LoadManifestBytes(kFull, true, true, m), kManifestOk);
  EXPECT_EQ(m.head.client_type, u"WM-CLIENT-");  // cut to 10
  EXPECT_EQ(m.head.update_date, u"2026120701");
  EXPECT_EQ(m.head.update_option, u"/s/q/k");
  EXPECT_EQ(m.head.alert, u"[title]T[/title]");

  ASSERT_EQ(m.files.size(), 2u);  // document order, edits in between do not matter
  const UpdateFileEntry& f = m.files[0];
  EXPECT_EQ(f.name, u"first");
  EXPECT_EQ(f.real_name, u"First");
  EXPECT_EQ(f.down_url, u"http://h/f");
  EXPECT_EQ(f.local_path, u"\\TARGET-DIRECTORY\\f");
  EXPECT_EQ(f.file_size, 1234567);
  EXPECT_EQ(f.file_version, 7);
  EXPECT_TRUE(f.is_auto_register);
  EXPECT_FALSE(f.is_auto_exec);   // "yes" is not "Y"
  EXPECT_FALSE(f.is_setup_file);  // "1" is not "Y"
  EXPECT_TRUE(f.is_self_update);
  EXPECT_FALSE(f.is_reg_file);
  EXPECT_EQ(f.sha256, u"ab");
  EXPECT_TRUE(f.is_kill);
  EXPECT_EQ(f.wnd_class, u"Cls");
  EXPECT_EQ(f.close_msg, 32778u);
  EXPECT_EQ(f.exec_parameter, u"-x");
  // An entry without children reads as empty values.
  EXPECT_EQ(m.files[1].name, u"second");
  EXPECT_EQ(m.files[1].file_version, 0);
  EXPECT_FALSE(m.files[1].is_kill);

  ASSERT_EQ(m.reg_edits.size(), 1u);
  EXPECT_EQ(m.reg_edits[0].hkey, 3);
  EXPECT_TRUE(m.reg_edits[0].is_key);
  EXPECT_EQ(m.reg_edits[0].value_type, 4);
  EXPECT_TRUE(m.reg_edits[0].process_kill);
  ASSERT_EQ(m.file_edits.size(), 1u);
  EXPECT_EQ(m.file_edits[0].file_edit_type, 2);
  EXPECT_EQ(m.file_edits[0].path_2, u"\\b");

  // Edits are read only when asked for.
  ASSERT_EQ(LoadManifestBytes(kFull, false, true, m), kManifestOk);
  EXPECT_TRUE(m.reg_edits.empty());
  EXPECT_EQ(m.file_edits.size(), 1u);
  ASSERT_EQ(LoadManifestBytes(kFull, true, false, m), kManifestOk);
  EXPECT_EQ(m.reg_edits.size(), 1u);
  EXPECT_TRUE(m.file_edits.empty());
}

TEST(Manifest, NamesDifferingInCaseAreNotRecognised) {
  Manifest m;
  ASSERT_EQ(LoadManifestBytes(R"(<a><HEAD update_date="1"/><body><Update_File name="x"/>
      <update_file Name="y"><File_Info file_version="3"/><file_Info File_Version="4"/></update_file></body></a>)",
                              true, true, m),
            kManifestOk);
  EXPECT_EQ(m.head.update_date, u"");
  ASSERT_EQ(m.files.size(), 1u);
  EXPECT_EQ(m.files[0].name, u"");
  EXPECT_EQ(m.files[0].file_version, 0);
}

TEST(Manifest, FileFailuresAndParserErrors) {
  TempFolder dir;
  Manifest m;
  EXPECT_EQ(LoadManifest(dir / "missing.xml", true, true, m), kManifestCannotOpen);
  EXPECT_EQ(LoadManifest(dir.path(), true, true, m), kManifestCannotOpen);
  testing::WriteFile(dir / "empty.xml", "");
  EXPECT_EQ(LoadManifest(dir / "empty.xml", true, true, m), kManifestEmpty);
  testing::WriteFile(dir / "big.xml", std::string(manifest_limits::kFileBytes + 1, ' '));
  EXPECT_EQ(LoadManifest(dir / "big.xml", true, true, m), kManifestTooLarge);

  testing::WriteFile(dir / "bad.xml", "<a>\n  <head>\n  <body x=1/></a>");
  ManifestLoadError error;
  EXPECT_EQ(LoadManifest(dir / "bad.xml", true, true, m, &error), kManifestXmlError);
  EXPECT_NE(error.code, 0);
  EXPECT_EQ(error.line, 3);
  EXPECT_GT(error.position, 1);
  EXPECT_FALSE(error.reason.empty());
}

TEST(Manifest, HostileDocumentsStayBounded) {
  Manifest m;
  // Very long values are cut to the kept lengths, surrogate pairs kept whole.
  std::string name(5000, 'n');
  std::string doc = "<a><head alert=\"" + std::string(9000, 'a') + "\"/><body><update_file name=\"" + name +
                    "\"><file_Info local_path=\"" + std::string(258, 'p') + "\xF0\x9F\x98\x80\"/></update_file>";
  // As many entries of each kind as one manifest may hold.
  for (size_t i = 1; i < manifest_limits::kEntries; ++i) doc += "<file_edit/><update_file/>";
  ASSERT_EQ(LoadManifestBytes(doc + "<file_edit/></body></a>", true, true, m), kManifestOk);
  EXPECT_EQ(m.head.alert.size(), 2047u);
  EXPECT_EQ(m.files[0].name.size(), 259u);
  EXPECT_EQ(m.files[0].local_path.size(), 258u);  // the pair did not fit
  EXPECT_EQ(m.files.size(), manifest_limits::kEntries);
  EXPECT_EQ(m.file_edits.size(), manifest_limits::kEntries);
  // One more is refused whole (the head is still read); edits not asked for
  // are not counted.
  ASSERT_EQ(LoadManifestBytes(doc + "<file_edit/><file_edit/></body></a>", true, true, m), kManifestTooManyEntries);
  EXPECT_TRUE(m.files.empty());
  EXPECT_EQ(m.head.alert.size(), 2047u);
  EXPECT_EQ(LoadManifestBytes(doc + "<file_edit/><file_edit/></body></a>", true, false, m), kManifestOk);

  // Deep nesting parses without recursion trouble; nothing is taken from it.
  std::string deep = "<a><body>";
  for (int i = 0; i < 100000; ++i) deep += "<d>";
  for (int i = 0; i < 100000; ++i) deep += "</d>";
  deep += "</body></a>";
  ASSERT_EQ(LoadManifestBytes(deep, true, true, m), kManifestOk);
  EXPECT_TRUE(m.files.empty());

  // Invalid UTF-8 is decoded, not passed on.
  ASSERT_EQ(LoadManifestBytes("<a><body><update_file name=\"x\xFF\"/></body></a>", true, true, m), kManifestOk);
  EXPECT_EQ(m.files[0].name, u"x\uFFFD");
}

TEST(Manifest, NumbersAndFlags) {
  EXPECT_EQ(ReadManifestNumber(u"  42abc"), 42);
  EXPECT_EQ(ReadManifestNumber(u"abc"), 0);
  EXPECT_EQ(ReadManifestNumber(u""), 0);
  EXPECT_EQ(ReadManifestNumber(u"99999999999999999999999"), INT64_MAX);
  EXPECT_EQ(ReadManifestFileSize(u"1, 024,000"), 1024000);
  EXPECT_TRUE(ReadManifestFlag(u"Y"));
  EXPECT_TRUE(ReadManifestFlag(u"y"));
  for (const char16_t* no : {u"yes", u"1", u"", u"N", u"YY", u" Y"}) EXPECT_FALSE(ReadManifestFlag(no)) << Narrow(no);
}

TEST(ManifestTexts, AlertTitleAndMessage) {
  ManifestAlert a = ParseAlert(u"[message]새 버전[/message][title]알림[/title]");
  EXPECT_EQ(a.title, u"알림");
  EXPECT_EQ(a.message, u"새 버전");
  a = ParseAlert(u"[title]only title, no end");
  EXPECT_EQ(a.title, u"");
  EXPECT_EQ(a.message, u"");
  a = ParseAlert(u"[title]" + WideText(100, u't') + u"[/title][message]" + WideText(300, u'm') + u"[/message]");
  EXPECT_EQ(a.title.size(), 63u);
  EXPECT_EQ(a.message.size(), 255u);
}

TEST(ManifestTexts, KillProcessItems) {
  auto items = ParseKillProcess(
      u"[cnt]4[/cnt][1]Brantel_Stock_Class;NULL_NAME;32778;\\TARGET-DIRECTORY\\BrantelStock;[/1]"
      u"[3]NULL_CLASS;Helper[/3][4]a;b;0;c;d;e[/4]");
  ASSERT_EQ(items.size(), 3u);  // item 2 has no markers
  EXPECT_EQ(items[0].wnd_class, u"Brantel_Stock_Class");
  EXPECT_EQ(items[0].wnd_name, u"NULL_NAME");
  EXPECT_EQ(items[0].close_msg, 32778u);
  EXPECT_EQ(items[0].exec_path, u"\\TARGET-DIRECTORY\\BrantelStock");
  EXPECT_EQ(items[0].exec_parameter, u"");
  EXPECT_EQ(items[1].wnd_name, u"Helper");  // missing fields are empty
  EXPECT_EQ(items[1].close_msg, 0u);
  EXPECT_EQ(items[2].exec_parameter, u"d");
  EXPECT_TRUE(ParseKillProcess(u"").empty());
  EXPECT_TRUE(ParseKillProcess(u"[1]a;b[/1]").empty());  // no count

  // A hostile count is not walked through two billion times.
  const auto start = std::chrono::steady_clock::now();
  items = ParseKillProcess(u"[cnt]2147483647[/cnt][1]a;b;0;c;d[/1]");
  EXPECT_EQ(items.size(), 1u);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_EQ(ParseKillProcess(u"[cnt]1[/cnt][1]" + WideText(300, u'c') + u"[/1]")[0].wnd_class.size(), 99u);
}

TEST(UpdatePaths, PlaceholderTargetsStayInTheViewerFolder) {
  std::string out;
  ASSERT_TRUE(ResolveManifestPath(u"\\TARGET-DIRECTORY\\lib\\a.so", "/opt/v/", out));
  EXPECT_EQ(out, "/opt/v/lib/a.so");
  ASSERT_TRUE(ResolveManifestPath(u"\\TARGET-DIRECTORY\\lib\\..\\b", "/opt/v", out));
  EXPECT_EQ(NormalizePath(out), "/opt/v/b");
  EXPECT_FALSE(ResolveManifestPath(u"\\TARGET-DIRECTORY\\..\\x", "/opt/v/", out));
  EXPECT_FALSE(ResolveManifestPath(u"\\TARGET-DIRECTORY\\lib\\..\\..\\..\\etc\\passwd", "/opt/v/", out));
  EXPECT_FALSE(ResolveManifestPath(u"x\\TARGET-DIRECTORY\\a", "/opt/v/", out));
  EXPECT_TRUE(out.empty());
  // Without the placeholder a path is taken as given.
  ASSERT_TRUE(ResolveManifestPath(u"\\Windows\\a.dll", "/opt/v/", out));
  EXPECT_EQ(out, "/Windows/a.dll");

  EXPECT_EQ(NormalizePath("/a//b/./../c/"), "/a/c");
  EXPECT_EQ(NormalizePath("/../x"), "/x");
  EXPECT_TRUE(IsInsideFolder("/opt/v/a", "/opt/v/"));
  EXPECT_FALSE(IsInsideFolder("/opt/vx/a", "/opt/v"));
}

TEST(UpdatePaths, EntryNamesGiveSafeFileNames) {
  EXPECT_EQ(SafeEntryFileName(u"BrantelStock"), "BrantelStock");
  EXPECT_EQ(SafeEntryFileName(u"../../etc/passwd"), "_.._.._etc_passwd");
  EXPECT_EQ(SafeEntryFileName(u"..\\x"), "_.._x");
  EXPECT_EQ(SafeEntryFileName(u".."), "_..");
  EXPECT_EQ(SafeEntryFileName(u""), "_");
  EXPECT_EQ(SafeEntryFileName(u"a\nb"), "a_b");
  const std::string cut = SafeEntryFileName(WideText(150, u'가'));  // 3 bytes each
  EXPECT_LE(cut.size(), 200u);
  EXPECT_EQ(cut.size() % 3, 0u);
}

}  // namespace
}  // namespace brantel
