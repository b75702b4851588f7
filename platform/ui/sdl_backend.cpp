#include "platform/ui/sdl_backend.h"

namespace brantel {
std::unique_ptr<DisplayBackend> MakeSdlBackend(int) { return nullptr; }
}  // namespace brantel
