#pragma once
// The message queue: one per thread, created on first use.
//
// PostMessage works from any thread. SendMessage runs the handler at once when
// the window belongs to the calling thread; otherwise it blocks until the
// window's thread has handled it (that thread handles sent messages whenever it
// pumps or waits). Timers produce coalesced WM_TIMER; WM_PAINT is produced for
// invalid windows when nothing else is queued. Handles of gone windows are
// simply ignored: posting to them drops the message, sending returns 0.
//
// A handle's high 32 bits hold the id of the process that owns it; posting to
// a handle of another process hands the message to the cross-process route
// (FindWindow can return such handles).

#include <cstdint>
#include <functional>

#include "platform/ui/clock.h"
#include "platform/gfx/geometry.h"
#include "platform/ui/messages.h"
#include "platform/ui/ui_types.h"
#include "platform/ui/window.h"

namespace brantel {

constexpr uint32_t INFINITE = 0xFFFFFFFF;

bool PostMessage(HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessage(HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam);
// Like SendMessage, but gives up after `timeout_ms` when the window's thread
// does not answer (the message may still be handled later). False on timeout
// or when the window is gone.
bool SendMessageTimeout(HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam, uint32_t timeout_ms,
                        LRESULT* result);

// Peeks at the calling thread's queue. `filter` 0 means any window; min/max 0/0
// means any message. Sent messages from other threads are handled first.
bool PeekMessage(Message* msg, HWND filter, uint32_t min, uint32_t max, uint32_t remove);
// Waits for a message; false when it is WM_QUIT (msg then holds it), or at
// once when `filter` names a window that is gone (msg then holds WM_NULL).
// A queue holds at most 10000 posted messages; PostMessage fails beyond.
bool GetMessage(Message* msg, HWND filter, uint32_t min, uint32_t max);
// Turns key presses of keys with a character (Back, Enter, Escape, Tab) into
// a posted WM_CHAR. Text input arrives as WM_CHAR already.
bool TranslateMessage(const Message* msg);
LRESULT DispatchMessage(const Message* msg);
void PostQuitMessage(int exit_code);

// Waits until the calling thread's queue has something (a posted or sent
// message, a due timer, a paint) or `timeout_ms` passed. True when woken.
bool WaitMessage(uint32_t timeout_ms = INFINITE);

// Threads, for posting to a thread's queue rather than to a window.
ThreadId GetCurrentThreadId();
bool PostThreadMessage(ThreadId thread, uint32_t message, WPARAM wParam, LPARAM lParam);

// Timers of a window. Setting an existing id restarts it with the new period.
// A WM_TIMER is queued at most once per timer however late the loop is; it is
// safe to set and kill timers inside any handler, including the WM_TIMER one.
// Timers die with their window. hwnd 0 makes a thread timer (WM_TIMER with
// hwnd 0 on the calling thread); its id is returned.
uintptr_t SetTimer(HWND hwnd, uintptr_t id, uint32_t elapse_ms);
bool KillTimer(HWND hwnd, uintptr_t id);

// The standard loop: get, run the pre-dispatch hooks of the target window and
// its ancestors (Window::PreTranslateMessage), translate, dispatch, until
// WM_QUIT. Returns the exit code given to PostQuitMessage.
int RunMessageLoop();
// Handles everything that is queued now (including paints) without waiting.
// False when WM_QUIT was seen; the quit is posted again so an outer loop ends.
bool PumpPendingMessages();
// The same for loops that wait for something else (a socket) and stop at one
// message: handles what is queued now, each timer at most once, and reports
// whether it ran dry, met `stop_message` (taken from the queue, not
// dispatched) or met WM_QUIT (posted again).
enum class PumpResult { kEmpty, kStopMessage, kQuit };
PumpResult PumpPendingMessagesUntil(uint32_t stop_message);
// Runs the pre-dispatch hooks for `msg`; true when one of them consumed it.
bool PreDispatchMessage(Message* msg);

// The application's main window: the data service sends it requests such as
// the connection check. 0 when none was named.
void SetMainWindow(HWND hwnd);
HWND GetMainWindow();

// True while the calling thread has nothing queued, no paint pending and no
// sent message waiting (timers that are not yet due do not count).
bool IsQueueIdle();

}  // namespace brantel
