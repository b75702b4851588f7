#pragma once
// SHA-256 of a file, for the optional check of a downloaded update file.

#include <cstdint>
#include <string>

namespace brantel {

// Lower-case hex digest of the file's bytes; empty when it cannot be read.
std::string Sha256OfFile(const std::string& path);
// Digest of bytes in memory.
std::string Sha256OfBytes(std::string_view bytes);

}  // namespace brantel
