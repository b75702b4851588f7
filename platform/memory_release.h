#pragma once
// Hands the heap's free pages back to the system. After a large answer has
// been read and dropped, its many small pieces would otherwise stay resident.

#include <cstddef>

namespace brantel {

void ReturnFreedMemory();

}  // namespace brantel
