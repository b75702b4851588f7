#pragma once
// Building statement texts: bounded formatting into the fixed sizes the
// cache uses, and SQL string literals for codes that came from the network.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace brantel {

// Statement buffer sizes.
inline constexpr size_t kSqlBufferSmall = 1024;
inline constexpr size_t kSqlBufferLarge = 4096;

// sqlite3_snprintf into a buffer of `buffer_size` bytes: a longer text is
// cut to buffer_size - 1 bytes (and then fails to compile, never overflows).
std::string FormatSql(size_t buffer_size, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Appends 'text' with every single quote doubled, so the text cannot end the literal.
void AppendSqlLiteral(std::string& out, std::string_view narrow);

// The inside of an IN list for codes: 'A','B','C' (each quoted as above),
// as wide text for FindMyPageCodes.
WideText BuildQuotedCodeList(std::span<const WideText> codes);

}  // namespace brantel
