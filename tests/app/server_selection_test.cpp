#include "app/server_selection.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/folders.h"
#include "protocol/request_settings.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

class ServerSelectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetProgramFolderForTesting(folder_);
  }
  void TearDown() override {
    SetProgramFolderForTesting("");
  }
  ServerSelection Read(const std::string& content, bool* ok = nullptr) {
    EXPECT_TRUE(WriteFileAtomically(folder_ + "Config_MNUV.txt", content));
    ServerSelection s;
    const bool read = ReadServerSelection(&s);
    if (ok) *ok = read;
    return s;
  }
  testing::TempFolder temp_{"brantel-config"};
  std::string folder_ = temp_.path() + "/";
};

TEST_F(ServerSelectionTest, WithoutAFileTheBuiltInReferenceServerIsUsed) {
  ServerSelection s;
  s.server_type = 5;
  EXPECT_FALSE(ReadServerSelection(&s));
  EXPECT_EQ(s.server_type, 0);
  EXPECT_EQ(s.server_address, u"");
  EXPECT_EQ(s.server_port, 80);
  EXPECT_EQ(s.manifest_address, u"");
  ApplyBuiltInDefaults(&s);
  EXPECT_EQ(s.server_address, u"127.0.0.1");
  EXPECT_EQ(s.server_port, 8470);
  EXPECT_EQ(s.manifest_address, u"http://127.0.0.1:8470/update/q_stock_update.xml");
  EXPECT_EQ(DevelopmentTitle(s, u"증권정보 NUV"), u"증권정보 NUV");
}

TEST_F(ServerSelectionTest, TheSelectedSectionGivesAddressPortAndManifest) {
  bool ok = false;
  ServerSelection s = Read(
      "[SELECT_SERVER]\n"
      "; the development server\n"
      "[OTHER]\n"
      "server_type=2\n"  // found although another section began
      "[SERVER_1]\n"
      "server_ip=10.0.0.1\n"
      "server_port=8001\n"
      "[SERVER_2]\n"
      "server_ip=quotes.example\n"
      "server_port=8002\n"
      "[UPDATE]\n"
      "uri=/release/\n"
      "port=8080\n",
      &ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(s.server_type, 2);
  EXPECT_EQ(s.server_address, u"quotes.example");
  EXPECT_EQ(s.server_port, 8002);
  EXPECT_EQ(s.manifest_address, u"http://quotes.example:8080/release/q_stock_update.xml");
  EXPECT_EQ(DevelopmentTitle(s, u"증권정보 NUV"), u"DEV-증권정보 NUV");
  ApplyBuiltInDefaults(&s);  // nothing to fill
  EXPECT_EQ(s.server_address, u"quotes.example");
  EXPECT_EQ(s.server_port, 8002);
  SetCurrentServerSelection(s);
  EXPECT_EQ(CurrentServerSelection().manifest_address, s.manifest_address);
  EXPECT_EQ(InformationServerHost(), u"quotes.example");
  EXPECT_EQ(InformationServerPort(), 8002);
}

TEST_F(ServerSelectionTest, SectionsMatchAsPrefixesAndValuesAreTrimmed) {
  ServerSelection s = Read(
      "[ SELECT_SERVER ]\r\n"
      "server_type =  1  \r\n"
      "[SERVER_12]\r\n"
      "server_ip =   192.168.0.12   \r\n"
      "server_port= 8012\r\n"
      "[SERVER_1]\r\n"
      "server_ip=192.168.0.1\r\n"
      "server_port=8001\r\n"
      "[UPDATE]\r\n"
      "uri = /u/ \r\n"
      "port = 80\r\n");
  EXPECT_EQ(s.server_type, 1);
  EXPECT_EQ(s.server_address, u"192.168.0.12");
  EXPECT_EQ(s.server_port, 8012);
  EXPECT_EQ(s.manifest_address, u"http://192.168.0.12/u/q_stock_update.xml");  // port 80: no colon

  s = Read("[SERVER_0]\nserver_ip=h\n[UPDATE]\nport=080\nuri=/x/\n");
  EXPECT_EQ(s.server_type, 0);  // no SELECT_SERVER: server 0
  EXPECT_EQ(s.manifest_address, u"http://h/x/q_stock_update.xml");
  s = Read("[SELECT_SERVER]\nserver_type=abc\n[SERVER_0]\nserver_ip=zero\n");
  EXPECT_EQ(s.server_type, 0);
  EXPECT_EQ(s.server_address, u"zero");
  s = Read("[SELECT_SERVER]\nserver_type\nserver_type=3\n[SERVER_3]\nserver_ip=three\n");
  EXPECT_EQ(s.server_address, u"three");  // a key line without "=" is skipped
}

TEST_F(ServerSelectionTest, MissingLinesKeepSoundValues) {
  // No port line: port 80 stays (not 0). No update section: the default
  // manifest takes over, not an address built from nothing.
  ServerSelection s = Read("[SELECT_SERVER]\nserver_type=1\n[SERVER_1]\nserver_ip=10.1.1.1\n");
  EXPECT_EQ(s.server_port, 80);
  EXPECT_EQ(s.manifest_address, u"");
  ApplyBuiltInDefaults(&s);
  EXPECT_EQ(s.server_address, u"10.1.1.1");
  EXPECT_EQ(s.server_port, 80);
  EXPECT_EQ(s.manifest_address, u"http://127.0.0.1:8470/update/q_stock_update.xml");

  s = Read("[SERVER_0]\nserver_ip=h\nserver_port=99999\n[UPDATE]\nport=8080\n");
  EXPECT_EQ(s.server_port, 80);         // not a port
  EXPECT_EQ(s.manifest_address, u"");   // no uri: no usable address
  s = Read("[SERVER_0]\nserver_port=9000\n[UPDATE]\nuri=/u/\n");
  EXPECT_EQ(s.manifest_address, u"");   // no host
  ApplyBuiltInDefaults(&s);
  EXPECT_EQ(s.server_address, u"127.0.0.1");
  EXPECT_EQ(s.server_port, 9000);       // the file's port stays
  s = Read("[SERVER_0]\nserver_ip=h\n[UPDATE]\nuri=/u/\n");
  EXPECT_EQ(s.manifest_address, u"http://h/u/q_stock_update.xml");  // no port line: 80
}

TEST_F(ServerSelectionTest, KeysAreLookedForAcrossLaterSections) {
  ServerSelection s = Read("[SERVER_0]\nserver_ip=first\n[SERVER_9]\nserver_ip=later\nserver_port=9000\n");
  EXPECT_EQ(s.server_address, u"later");
  EXPECT_EQ(s.server_port, 9000);
  s = Read("[SERVER_0]\nserver_ip=first\nserver_port=81\n[SERVER_9]\nserver_ip=later\n");
  EXPECT_EQ(s.server_address, u"first");  // both found: the search stops
}

TEST_F(ServerSelectionTest, ReadsUtf16FilesAndSplitsOverlongLines) {
  const std::u16string text = u"\uFEFF[SERVER_0]\r\nserver_ip=서버\r\n";
  std::string bytes;
  for (char16_t c : text) bytes += {char(c & 0xFF), char(c >> 8)};
  EXPECT_EQ(Read(bytes).server_address, u"서버");
  // A line is read in pieces of at most 1023 characters, so a header past
  // that length is a line of its own.
  const ServerSelection s = Read("; " + std::string(1021, 'a') + "[SERVER_0]\nserver_ip=b\n");
  EXPECT_EQ(s.server_address, u"b");
}

TEST_F(ServerSelectionTest, TheUpdaterStartsOnlyWithoutAMarker) {
  ServerSelection s;
  s.manifest_address = u"http://127.0.0.1:8470/update/q_stock_update.xml";
  EXPECT_FALSE(StartUpdater(u"", s).started);  // not installed

  const std::string updater = folder_ + "StockUpdater";
  ASSERT_TRUE(WriteFileAtomically(updater, "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.args\"\n"));
  chmod(updater.c_str(), 0755);
  EXPECT_FALSE(ShouldStartUpdater(u"x [ STOCK_AUTO_UPDATE ] y"));
  EXPECT_FALSE(StartUpdater(u"UPDATE_USER_CANCEL", s).started);
  EXPECT_FALSE(FileExists(updater + ".args"));

  const char* argv[] = {"BrantelStock", "--headless"};
  const StartedProgram run = StartUpdater(CommandLineFromArguments(2, argv), s);
  ASSERT_TRUE(run.started);
  ASSERT_TRUE(WaitForProgram(run.pid, 5000));
  std::string args;
  ASSERT_TRUE(ReadWholeFile(updater + ".args", args));
  EXPECT_EQ(args, folder_ + "|http://127.0.0.1:8470/update/q_stock_update.xml");
}

}  // namespace
}  // namespace brantel
