#pragma once
// Whether a process still runs, told apart from a later process that got
// the same id: a process is named by its id and its start time.

#include <cstdint>
#include <optional>

namespace brantel {

// The start time of process `pid` in clock ticks since boot (field 22 of
// /proc/PID/stat); nothing when it does not exist.
std::optional<uint64_t> ProcessStartTime(int pid);

// True when `pid` runs and is not a zombie; when `start_time` is given, it
// must also be the same process that had that start time.
bool IsProcessAlive(int pid, std::optional<uint64_t> start_time = std::nullopt);

}  // namespace brantel
