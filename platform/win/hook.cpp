#include "platform/win/hook.h"

#include <algorithm>

#include "platform/win/internal.h"

namespace win {

using detail::state;

namespace {

void drop_removed_hooks() {
    auto& s = state();
    if (s.hooks_running > 0)
        return;
    s.hooks.erase(
        std::remove_if(s.hooks.begin(), s.hooks.end(), [](const auto& h) { return h->removed; }),
        s.hooks.end());
}

// Calls the first live hook of the kind at or after position `from`.
LRESULT call_from(size_t from, int kind, int code, WPARAM wParam, LPARAM lParam) {
    auto& s = state();
    for (size_t i = from; i < s.hooks.size(); ++i) {
        auto h = s.hooks[i];  // keeps it alive while it runs
        if (h->removed || h->kind != kind)
            continue;
        ++s.hooks_running;
        LRESULT r = h->proc ? h->proc(code, wParam, lParam) : 0;
        --s.hooks_running;
        drop_removed_hooks();
        return r;
    }
    return 0;
}

}  // namespace

namespace detail {

LRESULT call_cbt(int code, WPARAM wParam, LPARAM lParam) {
    return call_from(0, WH_CBT, code, wParam, lParam);
}

}  // namespace detail

HHOOK SetWindowsHookEx(int idHook, HOOKPROC proc, HINSTANCE, DWORD) {
    auto& s = state();
    if (idHook != WH_CBT || !proc)
        return nullptr;
    auto h = std::make_shared<detail::HookEntry>();
    h->handle = reinterpret_cast<HHOOK>(s.next_hook);
    s.next_hook += 4;
    h->kind = idHook;
    h->proc = std::move(proc);
    s.hooks.insert(s.hooks.begin(), h);
    return h->handle;
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
    auto& s = state();
    for (size_t i = 0; i < s.hooks.size(); ++i) {
        if (s.hooks[i]->handle == hook) {
            return call_from(i + 1, s.hooks[i]->kind, code, wParam, lParam);
        }
    }
    return 0;
}

bool UnhookWindowsHookEx(HHOOK hook) {
    auto& s = state();
    for (auto& h : s.hooks) {
        if (h->handle == hook && !h->removed) {
            h->removed = true;
            drop_removed_hooks();
            return true;
        }
    }
    return false;
}

}  // namespace win
