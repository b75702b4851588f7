#include <gtest/gtest.h>

#include "platform/registry/reg_file_import.h"
#include "platform/registry/reg_file_writer.h"
#include "platform/text.h"
#include "tests/support/registry_test_support.h"

namespace brantel {
namespace {

using testing::TempDataFolder;

std::string Utf16Bytes(std::u16string_view text, bool terminator) {
  std::string out;
  for (char16_t c : text) {
    out.push_back(char(c & 0xFF));
    out.push_back(char(c >> 8));
  }
  if (terminator) out.append(2, '\0');
  return out;
}

class RegFileTest : public ::testing::Test {
 protected:
  TempDataFolder folder_;
  std::shared_ptr<RegistryStore> store_ = RegistryStore::Shared();

  // The value's bytes, or "<missing>".
  std::string Value(RegRoot root, const std::string& key, const std::string& name, uint32_t* type = nullptr) {
    RegKeyId id = 0;
    if (store_->OpenKey(root, key, &id) != ERROR_SUCCESS) return "<missing>";
    RegValue v;
    if (store_->QueryValue(id, name, &v) != ERROR_SUCCESS) return "<missing>";
    if (type) *type = v.type;
    return v.data;
  }
  bool KeyExists(RegRoot root, const std::string& key) {
    RegKeyId id = 0;
    return store_->OpenKey(root, key, &id) == ERROR_SUCCESS;
  }
};

TEST_F(RegFileTest, ImportsEveryLineForm) {
  // Something for the deletions below to remove.
  ASSERT_TRUE(ImportRegText(*store_,
                            "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Old\\Deep]\n\"x\"=dword:1\n"
                            "[HKLM\\SOFTWARE\\Keep]\n\"gone\"=\"bye\"\n\"stays\"=\"hi\"\n")
                  .ok);
  const std::string script =
      "Windows Registry Editor Version 5.00\r\n"
      "\r\n"
      "; a comment line\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\BRANTEL\\BrantelStock]\r\n"
      "\"text\"=\"a \\\"quoted\\\" C:\\\\path 삼성\"\r\n"
      "@=\"default\"\r\n"
      "\"display_info\"=dword:0000002a\r\n"
      "\"bytes\"=hex:00,ff,10\r\n"
      "\"expand\"=hex(2):25,00,41,00,25,00,00,00\r\n"
      "\"multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
      "\"qword\"=hex(b):01,02,03,04,\\\r\n"
      "  05,06,\\\r\n"
      "  07,08\r\n"
      "\"none\"=hex(0):\r\n"
      "  \"spaced\" = dword:FFFFFFFF  \r\n"
      "\"trailing backslash\"=\"C:\\\\\"\r\n"
      "[HKCU\\ControlPanel\\MotionSensor]\n"
      "\"AutoOrientation\"=dword:1\n"
      "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Old]\n"
      "[HKLM\\SOFTWARE\\Keep]\n"
      "\"gone\"=-\n"
      "\"never there\"=-\n"
      "[-HKLM\\SOFTWARE\\NeverThere]\n";
  const RegImportResult r = ImportRegText(*store_, script);
  ASSERT_TRUE(r.ok) << DescribeRegFileError(r.error);
  EXPECT_EQ(r.keys, 3u);
  EXPECT_EQ(r.deleted_keys, 1u);
  EXPECT_EQ(r.deleted_values, 1u);

  const std::string key = "SOFTWARE\\BRANTEL\\BrantelStock";
  uint32_t type = 0;
  EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, key, "text", &type), Utf16Bytes(u"a \"quoted\" C:\\path 삼성", true));
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, key, ""), Utf16Bytes(u"default", true));
  EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, key, "display_info", &type), std::string("\x2a\0\0\0", 4));
  EXPECT_EQ(type, REG_DWORD);
  EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, key, "bytes", &type), std::string("\x00\xff\x10", 3));
  EXPECT_EQ(type, REG_BINARY);
  EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, key, "expand", &type), Utf16Bytes(u"%A%", true));
  EXPECT_EQ(type, REG_EXPAND_SZ);
  EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, key, "multi", &type), std::string("a\0\0\0b\0\0\0\0\0", 10));
  EXPECT_EQ(type, REG_MULTI_SZ);
  EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, key, "qword", &type), std::string("\1\2\3\4\5\6\7\x8", 8));
  EXPECT_EQ(type, REG_QWORD);
  EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, key, "none", &type), "");
  EXPECT_EQ(type, REG_NONE);
  EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, key, "spaced"), std::string("\xff\xff\xff\xff", 4));
  EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, key, "trailing backslash"), Utf16Bytes(u"C:\\", true));
  EXPECT_EQ(Value(HKEY_CURRENT_USER, "ControlPanel\\MotionSensor", "AutoOrientation"), std::string("\1\0\0\0", 4));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Old"));
  EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, "SOFTWARE\\Keep", "gone"), "<missing>");
  EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, "SOFTWARE\\Keep", "stays"), Utf16Bytes(u"hi", true));
}

TEST_F(RegFileTest, ReadsUtf16ScriptsWithAByteOrderMark) {
  const std::u16string text = u"\uFEFFWindows Registry Editor Version 5.00\r\n\r\n[HKEY_USERS\\x]\r\n\"이름\"=\"값\"\r\n";
  const RegImportResult r = ImportRegText(*store_, Utf16Bytes(text, false));
  ASSERT_TRUE(r.ok) << DescribeRegFileError(r.error);
  EXPECT_EQ(Value(HKEY_USERS, "x", "이름"), Utf16Bytes(u"값", true));
}

TEST_F(RegFileTest, AMalformedLineNamesItsNumberAndImportsNothing) {
  const struct {
    std::string body;  // after a valid header and a key that must not survive
    size_t line;
    std::string says;
  } cases[] = {
      {"\"a\"=dword:123456789\n", 4, "dword"},
      {"\"a\"=dword:xyz\n", 4, "dword"},
      {"\"a\"=hex:01,zz\n", 4, "bad byte"},
      {"\"a\"=hex:01,,02\n", 4, "empty byte"},
      {"\"a\"=\"open\n", 4, "closing quote"},
      {"\"a\"=\"x\" junk\n", 4, "after the closing quote"},
      {"\"a\"=qword:1\n", 4, "unknown value form"},
      {"\"a\"=hex(7:00\n", 4, "hex("},
      {"\"a\"=hex(zz):00\n", 4, "type"},
      {"\"a\"=hexx:00\n", 4, "':'"},
      {"\"a\" dword:1\n", 4, "'='"},
      {"\n\n[HKEY_NOWHERE\\x]\n", 6, "unknown root"},
      {"[HKLM\\x\n", 4, "']'"},
      {"[-HKLM]\n", 4, "root key cannot be deleted"},
      {"just words\n", 4, "unrecognised"},
      {"[-HKLM\\SOFTWARE\\x]\n\"after\"=dword:1\n", 5, "outside a key"},
      {"\"a\"=hex:01,\\\n  02,\\\n  zz\n", 4, "bad byte"},  // a continued line reports its first line
      {"[HKLM\\" + std::string(300, 'k') + "]\n", 4, "cannot create the key"},
  };
  for (const auto& c : cases) {
    const std::string script = "REGEDIT4\n; new key\n[HKLM\\SOFTWARE\\Half]\n" + c.body;
    const RegImportResult r = ImportRegText(*store_, script);
    EXPECT_FALSE(r.ok) << c.body;
    EXPECT_EQ(r.error.line, c.line) << c.body << " -> " << r.error.message;
    EXPECT_NE(r.error.message.find(c.says), std::string::npos) << c.body << " -> " << r.error.message;
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Half")) << c.body;
  }
  RegImportResult r = ImportRegText(*store_, "[HKLM\\x]\n");
  EXPECT_EQ(r.error.line, 1u);
  r = ImportRegText(*store_, "");
  EXPECT_FALSE(r.ok);
  r = ImportRegFile(*store_, folder_.path() + "/absent.reg");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error.line, 0u);
}

TEST_F(RegFileTest, ExportReadsBackWithExactTypesAndBytes) {
  RegKeyId key = 0, sub = 0;
  ASSERT_EQ(store_->CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\BRANTEL\\BrantelStock", &key), ERROR_SUCCESS);
  ASSERT_EQ(store_->CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\BRANTEL\\BrantelStock\\LastUpdate", &sub), ERROR_SUCCESS);
  std::string long_binary;
  for (int i = 0; i < 300; ++i) long_binary.push_back(char(i * 7));
  const std::vector<RegValue> values = {
      {"", REG_SZ, Utf16Bytes(u"기본", true)},
      {"plain", REG_SZ, Utf16Bytes(u"with \"quotes\" and \\ slashes", true)},
      {"no terminator", REG_SZ, Utf16Bytes(u"abc", false)},
      {"line break", REG_SZ, Utf16Bytes(u"a\nb", true)},
      {"multi", REG_MULTI_SZ, Utf16Bytes(u"20261207", false)},
      {"dword", REG_DWORD, std::string("\x01\x02\x03\x04", 4)},
      {"short dword", REG_DWORD, std::string("\x01\x02", 2)},
      {"binary", REG_BINARY, long_binary},
      {"empty", REG_BINARY, ""},
      {"odd \"name\" \\", 0x12345678, "z"},
  };
  for (const auto& v : values) ASSERT_EQ(store_->SetValue(key, v.name, v.type, v.data), ERROR_SUCCESS);
  ASSERT_EQ(store_->SetValue(sub, "2", REG_MULTI_SZ, Utf16Bytes(u"12/07 10:30", false)), ERROR_SUCCESS);

  std::string text;
  ASSERT_EQ(ExportRegText(*store_, HKEY_LOCAL_MACHINE, "software\\brantel", &text), ERROR_SUCCESS);
  EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\BRANTEL]\n", 0), 0u);
  EXPECT_NE(text.find("\"dword\"=dword:04030201\n"), std::string::npos);
  for (const auto& line : Split(Widen(text), u"\n")) EXPECT_LE(line.size(), 80u);

  TempDataFolder other_folder;
  auto other = RegistryStore::Shared();
  ASSERT_NE(other->path(), store_->path());
  const RegImportResult r = ImportRegText(*other, text);
  ASSERT_TRUE(r.ok) << DescribeRegFileError(r.error);
  RegKeyId again = 0;
  ASSERT_EQ(other->OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\BRANTEL\\BrantelStock", &again), ERROR_SUCCESS);
  std::vector<RegValue> read;
  ASSERT_EQ(other->EnumValues(again, &read), ERROR_SUCCESS);
  ASSERT_EQ(read.size(), values.size());
  for (const auto& want : values) {
    RegValue got;
    ASSERT_EQ(other->QueryValue(again, want.name, &got), ERROR_SUCCESS) << want.name;
    EXPECT_EQ(got.name, want.name);
    EXPECT_EQ(got.type, want.type) << want.name;
    EXPECT_EQ(got.data, want.data) << want.name;
  }
  ASSERT_EQ(other->OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\BRANTEL\\BrantelStock\\LastUpdate", &again), ERROR_SUCCESS);

  // A name with a line break cannot be written, and saying so beats a
  // script that reads back wrong.
  ASSERT_EQ(store_->SetValue(key, "two\nlines", REG_SZ, ""), ERROR_SUCCESS);
  EXPECT_EQ(ExportRegText(*store_, HKEY_LOCAL_MACHINE, "SOFTWARE", &text), ERROR_INVALID_DATA);
  // Nor can a name holding a zero character: a script never carries one.
  ASSERT_EQ(store_->DeleteValue(key, "two\nlines"), ERROR_SUCCESS);
  ASSERT_EQ(ExportRegText(*store_, HKEY_LOCAL_MACHINE, "SOFTWARE", &text), ERROR_SUCCESS);
  ASSERT_EQ(store_->SetValue(key, std::string("a\0b", 3), REG_SZ, ""), ERROR_SUCCESS);
  EXPECT_EQ(ExportRegText(*store_, HKEY_LOCAL_MACHINE, "SOFTWARE", &text), ERROR_INVALID_DATA);
  EXPECT_EQ(ExportRegText(*store_, HKEY_LOCAL_MACHINE, "SOFTWARE\\Nothing", &text), ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace brantel
