#include "cache/sqlite3_exception.h"

#include <sqlite3.h>

#include <utility>

namespace brantel {

SQLite3Exception::SQLite3Exception(int code, const char* detail)
    : code_(code),
      message_(sqlite3_mprintf("%s[%d]: %s", ErrorCodeName(code), code, detail ? detail : "")) {}

SQLite3Exception::SQLite3Exception(const SQLite3Exception& other)
    : std::exception(other),
      code_(other.code_),
      message_(other.message_ ? sqlite3_mprintf("%s", other.message_) : nullptr) {}

SQLite3Exception& SQLite3Exception::operator=(const SQLite3Exception& other) {
  if (this != &other) {
    SQLite3Exception copy(other);
    std::swap(code_, copy.code_);
    std::swap(message_, copy.message_);
  }
  return *this;
}

SQLite3Exception::~SQLite3Exception() { sqlite3_free(message_); }

const char* SQLite3Exception::ErrorCodeName(int code) {
  switch (code) {
    case 0: return "SQLITE_OK";
    case 1: return "SQLITE_ERROR";
    case 2: return "SQLITE_INTERNAL";
    case 3: return "SQLITE_PERM";
    case 4: return "SQLITE_ABORT";
    case 5: return "SQLITE_BUSY";
    case 6: return "SQLITE_LOCKED";
    case 7: return "SQLITE_NOMEM";
    case 8: return "SQLITE_READONLY";
    case 9: return "SQLITE_INTERRUPT";
    case 10: return "SQLITE_IOERR";
    case 11: return "SQLITE_CORRUPT";
    case 12: return "SQLITE_NOTFOUND";
    case 13: return "SQLITE_FULL";
    case 14: return "SQLITE_CANTOPEN";
    case 15: return "SQLITE_PROTOCOL";
    case 16: return "SQLITE_EMPTY";
    case 17: return "SQLITE_SCHEMA";
    case 18: return "SQLITE_TOOBIG";
    case 19: return "SQLITE_CONSTRAINT";
    case 20: return "SQLITE_MISMATCH";
    case 21: return "SQLITE_MISUSE";
    case 22: return "SQLITE_NOLFS";
    case 23: return "SQLITE_AUTH";
    case 24: return "SQLITE_FORMAT";
    case 25: return "SQLITE_RANGE";
    case 100: return "SQLITE_ROW";
    case 101: return "SQLITE_DONE";
    case kWrapperErrorCode: return "CPPSQLITE_ERROR";
    default: return "UNKNOWN_ERROR";
  }
}

}  // namespace brantel
