#pragma once

#include <functional>

#include "platform/win/messages.h"
#include "platform/win/types.h"

namespace win {

// Calls the window's procedure now and returns its result. Re-entrant: a procedure may send
// further messages, also to itself. An invalid handle gives 0.
LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Queues a message for the message loop. hwnd nullptr posts a thread message (MSG.hwnd null).
// False for an invalid window handle.
bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
inline bool PostThreadMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return PostMessage(nullptr, msg, wParam, lParam);
}
// Asks the loop to end: GetMessage returns 0 (WM_QUIT with wParam = code) once the posted
// messages before it are handled.
void PostQuitMessage(int exitCode);

constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;
constexpr UINT PM_NOYIELD = 0x0002;

// Retrieval order, as in Win32: posted messages, WM_QUIT, input (mouse, keys), WM_PAINT for
// windows with an update region, WM_TIMER for due timers. Filter: hwnd (nullptr = any, also
// thread messages) and a message range (0, 0 = all).
// GetMessage waits (sleeping until the next timer falls due or the display has an event) and
// returns 0 for WM_QUIT, else 1.
BOOL GetMessage(MSG* msg, HWND hwnd = nullptr, UINT filterMin = 0, UINT filterMax = 0);
// Does not wait; false when nothing is ready.
bool PeekMessage(MSG* msg, HWND hwnd = nullptr, UINT filterMin = 0, UINT filterMax = 0,
                 UINT remove = PM_REMOVE);
// Posts WM_CHAR (WM_SYSCHAR) for the text of a key-down message. True when it did.
bool TranslateMessage(const MSG* msg);
// Sends the message to its window's procedure (WM_TIMER with a timer procedure calls that).
LRESULT DispatchMessage(const MSG* msg);
// Waits until a message is ready (or time is up under the test driver).
void WaitMessage();

// A message loop: GetMessage, TranslateMessage, DispatchMessage until WM_QUIT or until
// `done` (checked after each message) returns true. Loops nest: a modal box runs one inside
// a handler and everything keeps flowing. Returns the WM_QUIT code, or 0 when `done` ended
// it; a WM_QUIT that ends a nested loop is posted again so that the outer loop ends too.
int RunMessageLoop(const std::function<bool()>& done = {});
// The same, ending when `done` becomes true (a flag of the caller that outlives the loop).
int RunMessageLoopUntil(const bool& done);
// How deep the loops are nested right now (0 outside any loop).
int MessageLoopDepth();

// Time (clock milliseconds) and cursor position of the message last retrieved.
DWORD GetMessageTime();
POINT GetMessagePos();
// True while any SendMessage is being handled (the window procedure stack is not empty).
bool InSendMessage();

}  // namespace win
