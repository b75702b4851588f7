#pragma once
// Two device services the updater window asks for: a Yes/No question box
// and keeping the device awake.
// Both can be replaced by tests.

#include <functional>

#include "platform/text.h"
#include "platform/ui/ui_types.h"

namespace brantel {

// Asks a Yes/No question (question icon) over `owner`; true for Yes.
using QuestionBox = std::function<bool(HWND owner, WideView text, WideView caption)>;
void SetQuestionBoxForTesting(QuestionBox box);  // empty: the real box
bool AskYesNo(HWND owner, WideView text, WideView caption);

// Asks the power manager to keep the system powered on while the update
// works: takes logind's sleep inhibitor once (later calls keep it). True
// also without logind: the update goes on unprotected then.
bool KeepSystemPowerOn();
// Lets the system sleep again: releases the inhibitor when held.
void AllowSystemSleep();
// Whether the inhibitor is held now (tests).
bool SystemPowerHeldForTesting();

}  // namespace brantel
