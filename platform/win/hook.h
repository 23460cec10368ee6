#pragma once

#include "platform/win/messages.h"
#include "platform/win/types.h"

namespace win {

constexpr int WH_CBT = 5;

// Codes of the CBT hook.
constexpr int HCBT_MOVESIZE = 0;
constexpr int HCBT_MINMAX = 1;
constexpr int HCBT_QS = 2;
constexpr int HCBT_CREATEWND = 3;   // wParam: new window; lParam: CBT_CREATEWND*
constexpr int HCBT_DESTROYWND = 4;  // wParam: window
constexpr int HCBT_ACTIVATE = 5;    // wParam: window; lParam: CBTACTIVATESTRUCT*
constexpr int HCBT_CLICKSKIPPED = 6;
constexpr int HCBT_KEYSKIPPED = 7;
constexpr int HCBT_SYSCOMMAND = 8;
constexpr int HCBT_SETFOCUS = 9;  // wParam: window gaining focus; lParam: losing

struct CBT_CREATEWND {
    CREATESTRUCT* lpcs = nullptr;
    HWND hwndInsertAfter = nullptr;
};
struct CBTACTIVATESTRUCT {
    BOOL fMouse = FALSE;
    HWND hWndActive = nullptr;
};

// Installs a hook for this (the only) thread; the newest hook is called first. A non-zero
// result of HCBT_CREATEWND / HCBT_DESTROYWND / HCBT_ACTIVATE / HCBT_SETFOCUS refuses the
// operation. Only WH_CBT is supported; other kinds return nullptr.
HHOOK SetWindowsHookEx(int idHook, HOOKPROC proc, HINSTANCE module = nullptr, DWORD threadId = 0);
// Calls the next hook in the chain (0 when there is none).
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);
// Removes a hook; safe while that hook is running (it is freed after the call unwinds).
bool UnhookWindowsHookEx(HHOOK hook);

}  // namespace win
