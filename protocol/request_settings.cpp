#include "protocol/request_settings.h"

#include <mutex>

namespace brantel {

namespace {

std::mutex g_mutex;
WideText g_host;
int g_port = kDefaultInformationServerPort;

}  // namespace

void SetInformationServer(WideView host, int port) {
  std::lock_guard<std::mutex> hold(g_mutex);
  g_host = WideText(host);
  g_port = port;
}

WideText InformationServerHost() {
  std::lock_guard<std::mutex> hold(g_mutex);
  return g_host;
}

int InformationServerPort() {
  std::lock_guard<std::mutex> hold(g_mutex);
  return g_port;
}

}  // namespace brantel
