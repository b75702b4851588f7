#include "protocol/data_connection.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "protocol/registry_key.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

class Connection : public ::testing::Test {
 protected:

  void SetDeviceValue(WideView name, uint32_t value) {
    RegistryKey key;
    ASSERT_TRUE(key.Create(HKEY_LOCAL_MACHINE, u"SOFTWARE\\BRANTEL\\Device"));
    ASSERT_TRUE(key.SetDword(name, value));
  }

  testing::TempDataFolder home_{"brantel_connection"};
};

// Records which status events ran.
class RecordingConnection : public DataConnection {
 public:
  ~RecordingConnection() override { Release(); }
  int32_t OnConnectedOk() override { return events += "ok ", 0; }
  int32_t OnFailure(uint32_t status) override {
    events += "failure ";
    return DataConnection::OnFailure(status);
  }
  int32_t OnConnected() override {
    events += "connected ";
    return DataConnection::OnConnected();
  }
  int32_t OnDisconnected() override {
    events += "disconnected ";
    return DataConnection::OnDisconnected();
  }
  int32_t OnRelease() override { return events += "release ", 0; }
  std::string events;
};

TEST_F(Connection, ConnectedAtOnceByDefault) {
  const size_t open_before = OpenConnectionCountForTesting();
  {
    RecordingConnection c;
    EXPECT_TRUE(c.TestConnection(u"http://127.0.0.1:8470/", 0));
    EXPECT_EQ(OpenConnectionCountForTesting(), open_before);  // the test request is released
    EXPECT_TRUE(c.Establish(u"http://127.0.0.1:8470/", 0));
    EXPECT_EQ(c.events, "ok connected ");
    EXPECT_EQ(c.status(), kConnectionStatusConnected);
    EXPECT_TRUE(c.has_details());
    EXPECT_EQ(c.destination_url(), u"http://127.0.0.1:8470/");
    EXPECT_EQ(OpenConnectionCountForTesting(), open_before + 1);
  }
  EXPECT_EQ(OpenConnectionCountForTesting(), open_before);  // released with the object
}

TEST_F(Connection, NoDataConnectionAndDisconnectedStatus) {
  SetDeviceValue(u"DataConnection", 0);
  const int reports = ReportedConnectionErrorCountForTesting();
  RecordingConnection c;
  EXPECT_FALSE(c.TestConnection(u"http://127.0.0.1/", 0));
  EXPECT_FALSE(c.Establish(u"http://127.0.0.1/", 0));
  EXPECT_FALSE(c.connected());
  EXPECT_EQ(c.events, "failure failure ");  // the request failed, then its failure-class status
  EXPECT_EQ(c.release_value(), 0);
  EXPECT_GT(ReportedConnectionErrorCountForTesting(), reports);
  EXPECT_EQ(LastReportedConnectionErrorForTesting(), kConnectionStatusNoPath);

  SetDeviceValue(u"DataConnection", 1);
  SetDeviceValue(u"ConnectionStatus", kConnectionStatusDisconnected);
  RecordingConnection d;
  EXPECT_FALSE(d.Establish(u"http://127.0.0.1/", 0));
  EXPECT_EQ(d.events, "failure disconnected ");
  EXPECT_EQ(d.release_value(), 1);
}

}  // namespace
}  // namespace brantel
