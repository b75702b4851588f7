#include "platform/ui/script_player.h"
namespace brantel {
bool StartScriptFile(const std::string&) { return false; }
void StopScript() {}
}  // namespace brantel
