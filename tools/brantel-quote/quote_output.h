#pragma once
// Terminal and JSON output of brantel-quote.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/text.h"
#include "tools/brantel-quote/quote_command.h"

namespace brantel::quote_tool {

// Columns a text takes in a terminal: Hangul and other wide letters take two.
size_t DisplayWidth(WideView text);

// Prints rows as columns padded to their widest cell; `right` marks columns
// aligned to the right (numbers).
void PrintTable(const std::vector<std::vector<WideText>>& rows, const std::vector<bool>& right);

// The change value with its sign ("▲ 12.34", "▼ 3.20"), in red or blue on a
// terminal.
WideText ChangeCell(WideView daebi, bool colour);

// A JSON string literal of `text`.
std::string JsonString(WideView text);

// Explains a failed request on stderr and returns the exit code for it.
int ReportRequestFailure(int32_t result, const char* what);

}  // namespace brantel::quote_tool
