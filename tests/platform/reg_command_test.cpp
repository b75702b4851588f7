#include "platform/registry/reg_command.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/folders.h"
#include "tests/support/registry_test_support.h"

namespace brantel {
namespace {

class RegCommandTest : public ::testing::Test {
 protected:
  struct Run {
    int code;
    std::string out, err;
  };
  Run Reg(std::vector<std::string> args, const std::string& input = "") {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int code = RunRegCommand(args, in, out, err);
    return {code, out.str(), err.str()};
  }
  testing::TempDataFolder folder_;
};

TEST_F(RegCommandTest, SetsAndQueriesEveryType) {
  const std::string key = "HKLM\\SOFTWARE\\BRANTEL\\Device";
  EXPECT_EQ(Reg({"set", key, "CellularNumber", "REG_SZ", "01012345678"}).code, 0);
  EXPECT_EQ(Reg({"set", key, "DataConnection", "REG_DWORD", "0x2a"}).code, 0);
  EXPECT_EQ(Reg({"set", key, "Big", "reg_qword", "18446744073709551615"}).code, 0);
  EXPECT_EQ(Reg({"set", key, "Items", "REG_MULTI_SZ", "a\\0b"}).code, 0);
  EXPECT_EQ(Reg({"set", key, "Raw", "REG_BINARY", "00,ff,10"}).code, 0);
  EXPECT_EQ(Reg({"set", key, "@", "REG_EXPAND_SZ", "%HOME%"}).code, 0);

  Run r = Reg({"query", "hkey_local_machine\\software\\brantel\\device", "datacONNECTION"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "HKEY_LOCAL_MACHINE\\SOFTWARE\\BRANTEL\\Device\n    DataConnection    REG_DWORD    0x2a (42)\n");

  r = Reg({"query", key});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            "HKEY_LOCAL_MACHINE\\SOFTWARE\\BRANTEL\\Device\n"
            "    (Default)    REG_EXPAND_SZ    %HOME%\n"
            "    Big    REG_QWORD    0xffffffffffffffff\n"
            "    CellularNumber    REG_SZ    01012345678\n"
            "    DataConnection    REG_DWORD    0x2a (42)\n"
            "    Items    REG_MULTI_SZ    a\\0b\n"
            "    Raw    REG_BINARY    00FF10\n");
  r = Reg({"query", "HKLM\\SOFTWARE\\BRANTEL"});
  EXPECT_NE(r.out.find("\nHKEY_LOCAL_MACHINE\\SOFTWARE\\BRANTEL\\Device\n"), std::string::npos);
}

TEST_F(RegCommandTest, BadInputGetsClearTextAndANonZeroExit) {
  Run r = Reg({"set", "HKXX\\SOFTWARE", "a", "REG_SZ", "x"});
  EXPECT_EQ(r.code, kRegCommandUsage);
  EXPECT_NE(r.err.find("bad key 'HKXX\\SOFTWARE'"), std::string::npos);
  r = Reg({"set", "HKLM\\SOFTWARE", "a", "REG_WORD", "1"});
  EXPECT_EQ(r.code, kRegCommandUsage);
  EXPECT_NE(r.err.find("bad type 'REG_WORD'"), std::string::npos);
  for (const char* bad : {"4294967296", "-1", "12abc", "", "0x"}) {
    r = Reg({"set", "HKLM\\SOFTWARE", "a", "REG_DWORD", bad});
    EXPECT_EQ(r.code, kRegCommandUsage) << bad;
  }
  EXPECT_EQ(Reg({"set", "HKLM\\SOFTWARE", "a", "REG_BINARY", "0f0"}).code, kRegCommandUsage);
  EXPECT_EQ(Reg({"query", "HKLM\\SOFTWARE\\Nothing"}).code, kRegCommandFailed);
  EXPECT_EQ(Reg({"query", "HKLM", "nothing"}).code, kRegCommandFailed);
  EXPECT_EQ(Reg({"delete", "HKLM"}).code, kRegCommandFailed);
  EXPECT_EQ(Reg({"frobnicate"}).code, kRegCommandUsage);
  EXPECT_EQ(Reg({}).code, kRegCommandUsage);
  EXPECT_EQ(Reg({"query"}).code, kRegCommandUsage);
}

TEST_F(RegCommandTest, ExportDeleteImportRestoresTheKey) {
  ASSERT_EQ(Reg({"set", "HKCU\\Software\\BRANTEL\\MotionSettings", "Rotation", "REG_DWORD", "90"}).code, 0);
  ASSERT_EQ(Reg({"set", "HKCU\\Software\\BRANTEL\\MotionSettings\\Sub", "x", "REG_SZ", "한글"}).code, 0);
  const std::string file = folder_.path() + "/motion.reg";
  ASSERT_EQ(Reg({"export", "HKCU\\Software\\BRANTEL", file}).code, 0);
  const Run shown = Reg({"query", "HKCU\\Software\\BRANTEL\\MotionSettings\\Sub"});

  ASSERT_EQ(Reg({"delete", "HKCU\\Software\\BRANTEL\\MotionSettings", "rotation"}).code, 0);
  EXPECT_EQ(Reg({"query", "HKCU\\Software\\BRANTEL\\MotionSettings", "Rotation"}).code, kRegCommandFailed);
  ASSERT_EQ(Reg({"delete", "HKCU\\Software\\BRANTEL"}).code, 0);
  EXPECT_EQ(Reg({"query", "HKCU\\Software\\BRANTEL\\MotionSettings\\Sub"}).code, kRegCommandFailed);

  Run r = Reg({"import", file});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("3 keys, 2 values"), std::string::npos) << r.out;
  EXPECT_EQ(Reg({"query", "HKCU\\Software\\BRANTEL\\MotionSettings\\Sub"}).out, shown.out);
  EXPECT_NE(Reg({"query", "HKCU\\Software\\BRANTEL\\MotionSettings", "Rotation"}).out.find("0x5a (90)"),
            std::string::npos);

  // Standard streams work both ways.
  r = Reg({"export", "HKCU\\Software\\BRANTEL\\MotionSettings", "-"});
  EXPECT_EQ(r.out.rfind("Windows Registry Editor Version 5.00\n", 0), 0u);
  r = Reg({"import", "-"}, "REGEDIT4\n[HKU\\piped]\n\"v\"=dword:7\n");
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Reg({"query", "HKU\\piped", "v"}).code, 0);
}

TEST_F(RegCommandTest, AMalformedScriptNamesItsLineAndImportsNothing) {
  const std::string file = folder_.path() + "/bad.reg";
  ASSERT_TRUE(WriteFileAtomically(file, "REGEDIT4\n\n[HKLM\\SOFTWARE\\New]\n\"ok\"=dword:1\n\"bad\"=dword:nope\n"));
  const Run r = Reg({"import", file});
  EXPECT_EQ(r.code, kRegCommandFailed);
  EXPECT_NE(r.err.find(file + ": line 5: dword:"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("nothing was imported"), std::string::npos);
  EXPECT_EQ(Reg({"query", "HKLM\\SOFTWARE\\New"}).code, kRegCommandFailed);
  EXPECT_EQ(Reg({"import", folder_.path() + "/missing.reg"}).code, kRegCommandFailed);
}

}  // namespace
}  // namespace brantel
