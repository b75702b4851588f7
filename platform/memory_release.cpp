#include "platform/memory_release.h"

#include <malloc.h>

namespace brantel {

void ReturnFreedMemory() { malloc_trim(0); }

}  // namespace brantel
