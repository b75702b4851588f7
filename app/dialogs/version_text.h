#pragma once
// The text the version dialog shows: the lines of "VersionInfo.txt" beside
// the program, without line ends.

#include <string>
#include <vector>

#include "platform/text.h"

namespace brantel {

inline constexpr char16_t kVersionInfoFileName[] = u"VersionInfo.txt";
inline constexpr size_t kVersionLineLimit = 2048;

// The file's lines (UTF-8 text) with every "\r" and "\n" removed; a line
// longer than 2048 characters is cut into pieces of that length. Empty when
// the file is missing or empty. At most the first MiB and 4096 lines are read.
std::vector<WideText> ReadVersionLines(const std::string& path);
// "VersionInfo.txt" in the program folder.
std::string VersionInfoPath();

// The rows the dialog draws: the non-empty lines, or the program's file
// version when there is none.
std::vector<WideText> VersionRows(const std::vector<WideText>& lines, WideView file_version);

}  // namespace brantel
