#pragma once
// Two device services the updater window asks for that the platform does
// not offer as such: a Yes/No question box and keeping the device awake.
// Both can be replaced by tests.

#include <functional>

#include "platform/text.h"
#include "platform/ui/ui_types.h"

namespace brantel {

// Asks a Yes/No question (question icon) over `owner`; true for Yes.
using QuestionBox = std::function<bool(HWND owner, WideView text, WideView caption)>;
void SetQuestionBoxForTesting(QuestionBox box);  // empty: the real box
bool AskYesNo(HWND owner, WideView text, WideView caption);

// Asks the power manager to keep the system powered on (the device's "on"
// power state, forced). The stand-in has nothing to switch and succeeds.
bool KeepSystemPowerOn();

}  // namespace brantel
