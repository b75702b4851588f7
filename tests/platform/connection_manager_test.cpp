#include "platform/device/connection_manager.h"

#include <gtest/gtest.h>

#include "platform/registry/registry_store.h"
#include "tests/support/registry_test_support.h"

namespace brantel {
namespace {

class ConnectionManagerTest : public ::testing::Test {
 protected:
  void SetSwitch(const char* name, uint32_t value) {
    auto store = RegistryStore::Shared();
    RegKeyId key = 0;
    ASSERT_EQ(store->CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\BRANTEL\\Device", &key), ERROR_SUCCESS);
    ASSERT_EQ(store->SetValue(key, name, REG_DWORD, std::string(reinterpret_cast<char*>(&value), 4)), ERROR_SUCCESS);
  }
  void TearDown() override { EXPECT_EQ(OpenConnectionCountForTesting(), 0u); }
  testing::TempDataFolder folder_;
};

TEST_F(ConnectionManagerTest, ConnectsAtOnceByDefault) {
  NetworkId dest{};
  ASSERT_EQ(ConnectionMapUrl(u"http://127.0.0.1:8470/", &dest), kConnectionOk);
  EXPECT_EQ(ConnectionMapUrl(u"", &dest), kConnectionBadArgument);

  ConnectionRequestInfo test_request;
  test_request.params = kConnectionParamDestination | kConnectionParamMaxLatency;
  test_request.disabled = true;
  test_request.destination = dest;
  ConnectionHandle h = 0;
  ASSERT_EQ(ConnectionEstablish(test_request, &h), kConnectionOk);
  EXPECT_TRUE(ConnectionWaitForEvent(h, 400));
  uint32_t status = 0;
  ASSERT_EQ(ConnectionGetStatus(h, &status), kConnectionOk);
  EXPECT_EQ(status, kConnectionStatusConnected);
  char details[1288] = {1};
  EXPECT_EQ(ConnectionProviderDetails(h, dest, details, sizeof details), kConnectionOk);
  EXPECT_EQ(details[0], 1);
  EXPECT_EQ(ConnectionRelease(h, 0), kConnectionOk);
  EXPECT_EQ(ConnectionRelease(h, 0), kConnectionBadArgument);  // released once only

  ConnectionRequestInfo sync = test_request;
  sync.disabled = false;
  ASSERT_EQ(ConnectionEstablishSync(sync, &h, 40000, &status), kConnectionOk);
  EXPECT_NE(h, 0u);
  EXPECT_EQ(status, kConnectionStatusConnected);
  EXPECT_EQ(ConnectionRelease(h, 1), kConnectionOk);
}

TEST_F(ConnectionManagerTest, RegistrySwitchesTakeEffectAtTheNextRequest) {
  SetSwitch("DataConnection", 0);
  ConnectionRequestInfo request;
  ConnectionHandle h = 0;
  uint32_t status = 0;
  EXPECT_EQ(ConnectionEstablishSync(request, &h, 40000, &status), kConnectionFailed);
  EXPECT_EQ(h, 0u);
  EXPECT_EQ(status, kConnectionStatusNoPath);
  ASSERT_EQ(ConnectionEstablish(request, &h), kConnectionOk);
  ASSERT_EQ(ConnectionGetStatus(h, &status), kConnectionOk);
  EXPECT_EQ(status, kConnectionStatusNoPath);
  char details[16] = {1};
  EXPECT_EQ(ConnectionProviderDetails(h, NetworkId{}, details, sizeof details), kConnectionFailed);
  EXPECT_EQ(ConnectionRelease(h, 0), kConnectionOk);

  SetSwitch("DataConnection", 1);
  SetSwitch("ConnectionStatus", kConnectionStatusWaitingForPath);
  ASSERT_EQ(ConnectionEstablish(request, &h), kConnectionOk);
  ASSERT_EQ(ConnectionGetStatus(h, &status), kConnectionOk);
  EXPECT_EQ(status, kConnectionStatusWaitingForPath);
  EXPECT_EQ(ConnectionRelease(h, 0), kConnectionOk);

  const int before = ReportedConnectionErrorCountForTesting();
  ReportConnectionError(0x21);
  EXPECT_EQ(LastReportedConnectionErrorForTesting(), 0x21u);
  EXPECT_EQ(ReportedConnectionErrorCountForTesting(), before + 1);
}

}  // namespace
}  // namespace brantel
