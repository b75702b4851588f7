#pragma once
// The one exception type of the database layer. Every failing SQLite result
// and every misuse of the wrapper becomes one of these; the cache operations
// catch it at their outer level, so it never reaches a screen.

#include <exception>

namespace brantel {

// Code of errors raised by the wrapper itself rather than by SQLite.
inline constexpr int kWrapperErrorCode = 1000;

class SQLite3Exception : public std::exception {
 public:
  // Composes "<code name>[<code>]: <detail>"; a null detail reads as "".
  SQLite3Exception(int code, const char* detail);
  SQLite3Exception(const SQLite3Exception& other);
  SQLite3Exception& operator=(const SQLite3Exception& other);
  virtual ~SQLite3Exception();

  int ErrorCode() const { return code_; }
  // The composed message; "" when it could not be allocated.
  const char* ErrorMessage() const { return message_ ? message_ : ""; }
  const char* what() const noexcept override { return ErrorMessage(); }

  static const char* ErrorCodeName(int code);

 private:
  int code_;
  char* message_;  // allocated by sqlite3_mprintf, released with sqlite3_free
};

}  // namespace brantel
