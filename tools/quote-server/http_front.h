#pragma once
// The HTTP side of the reference server: listens on 127.0.0.1, answers the
// four protocol paths through the QuoteService, serves a folder of files for
// GET and POST, and applies the delivery faults that tests ask for.

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "tools/quote-server/quote_service.h"
#include "tools/quote-server/server_options.h"

namespace httplib {
class Server;
struct Response;
}

namespace brantel::quote_server {

// Maps a request path to a file below `root`. False for a path that climbs
// out of the folder (through ".." or a link), names a folder, or does not
// exist.
bool ResolveServedFile(const std::string& root, std::string_view url_path, std::string& full);

// Bytes that a delivery sends: how many the head announces and how many
// are really written before the connection closes.
struct DeliveryPlan {
  size_t announced = 0;
  size_t sent = 0;
};
DeliveryPlan PlanDelivery(size_t size, const DeliveryFaults& faults);
// The noise that --garbage sends in place of byte `offset` (never a dash,
// so it can never be read as a multipart delimiter).
char GarbageByte(size_t offset);

class HttpFront {
 public:
  HttpFront(const ServerOptions& options, const QuoteService& service);
  ~HttpFront();

  // Binds 127.0.0.1 on the configured port (0: any free one). Returns the
  // port, or -1 when it cannot be bound.
  int Bind();
  // Serves until Stop; returns false when the server failed.
  bool Run();
  void Stop();

 private:
  void Install();
  void AnswerProtocol(const std::string& path, const std::string& body, httplib::Response& res);
  void ServeFile(const std::string& path, httplib::Response& res);
  void LogRequest(const std::string& method, const std::string& path, const std::string& body);

  ServerOptions options_;
  const QuoteService& service_;
  std::unique_ptr<httplib::Server> server_;
};

}  // namespace brantel::quote_server
