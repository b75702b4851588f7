#pragma once
// The one-shot multimedia timer: after a delay (real milliseconds), a
// callback runs on a thread of its own, not on the UI thread. The inertial
// scrolling uses it; the callback may run for a long time, kill its own timer
// and post messages to windows, but must not touch windows directly.

#include <cstdint>
#include <functional>

namespace brantel {

// Starts a one-shot timer and returns its id (never 0).
uint32_t StartOneShotTimer(uint32_t delay_ms, std::function<void(uint32_t id)> callback);
// Cancels a timer that has not fired: true. Also true while its callback
// runs: it is not interrupted, and the call waits until it has returned, so
// the callback's owner may be destroyed right after; called from the
// callback itself it returns at once. False for an id that is done or unknown.
bool KillOneShotTimer(uint32_t id);

// The device's names, for code that ports the calls literally.
using MultimediaTimerProc = void (*)(uint32_t id, uint32_t msg, uintptr_t user, uintptr_t dw1, uintptr_t dw2);
constexpr uint32_t TIME_ONESHOT = 0x0000;
constexpr uint32_t TIMERR_NOERROR = 0;
constexpr uint32_t MMSYSERR_INVALPARAM = 11;
// Only one-shot timers are supported; other flags return 0.
uint32_t timeSetEvent(uint32_t delay_ms, uint32_t resolution_ms, MultimediaTimerProc proc, uintptr_t user,
                      uint32_t flags);
uint32_t timeKillEvent(uint32_t id);

}  // namespace brantel
