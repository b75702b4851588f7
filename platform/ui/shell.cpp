#include "platform/ui/shell.h"
namespace brantel {
void StartSystemBar() {}
void StopSystemBar() {}
}  // namespace brantel
