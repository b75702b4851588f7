#pragma once
// The updater's command line: "<viewer folder>|<manifest address>".

#include <string>

#include "platform/text.h"

namespace brantel {

inline constexpr size_t kMaxUpdaterCommandLine = 511;

struct UpdaterCommandLine {
  std::string viewer_dir;     // ends in "/"
  WideText manifest_address;
};

// False for an empty text or one longer than the format allows (a cut text
// would name another folder or address).
bool ParseUpdaterCommandLine(WideView text, UpdaterCommandLine& out);

}  // namespace brantel
