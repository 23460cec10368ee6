#include "forms/automation/runner.h"

#include <cstdio>
#include <unordered_map>
#include <vector>

#include "forms/automation/array_element_name.h"
#include "forms/forms.h"
#include "forms/utf8.h"
#include "platform/clock/clock.h"
#include "platform/gdi/png.h"
#include "platform/win/input.h"
#include "platform/win/menu.h"
#include "platform/win/message.h"
#include "platform/win/painting.h"
#include "platform/win/test_driver.h"
#include "platform/win/timer.h"
#include "platform/win/window.h"

namespace forms::automation {

namespace {

constexpr win::UINT_PTR kTimerId = 1;
constexpr int64_t kStepMs = 10;

std::unordered_map<win::HWND, ScriptRunner*>& Drivers() {
    static std::unordered_map<win::HWND, ScriptRunner*> drivers;
    return drivers;
}

std::string HexColor(gdi::Color c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", gdi::red_of(c), gdi::green_of(c),
                  gdi::blue_of(c));
    return buf;
}

std::string Lower(std::string s) {
    for (char& ch : s)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return s;
}

std::string Quote(const std::string& s) {
    return "\"" + s + "\"";
}

std::string JoinQuoted(const std::vector<std::string>& words) {
    std::string out;
    for (const std::string& w : words)
        out += (out.empty() ? "" : " ") + Quote(w);
    return out;
}

// An item of the innermost open pop-up menu as a script names it: its text without the
// accelerator marks and the shortcut ("-" for a separator).
struct OpenMenuItem {
    std::string label;
    bool separator = false;
    bool grayed = false;
    win::RECT rect;  // on the screen
};

std::string MenuLabel(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch == '\t')
            break;
        if (ch == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        out += ch;
    }
    return out;
}

bool ReadOpenMenu(std::vector<OpenMenuItem>* out) {
    const auto windows = win::OpenMenuWindows();
    if (windows.empty())
        return false;
    const win::HWND h = windows.back();
    auto menu = reinterpret_cast<win::HMENU>(win::SendMessage(h, win::MN_GETHMENU, 0, 0));
    const int n = win::GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        const auto pos = static_cast<win::UINT>(i);
        const win::UINT state = win::GetMenuState(menu, pos, win::MF_BYPOSITION);
        OpenMenuItem item;
        item.separator = (state & win::MF_SEPARATOR) != 0;
        item.grayed = (state & (win::MF_GRAYED | win::MF_DISABLED)) != 0;
        item.label =
            item.separator ? "-" : MenuLabel(win::GetMenuString(menu, pos, win::MF_BYPOSITION));
        win::GetMenuItemRect(h, menu, pos, &item.rect);
        out->push_back(std::move(item));
    }
    return true;
}

void PressKey(int vk, const std::string& text = {}) {
    win::InjectKey(vk, true, text);
    win::InjectKey(vk, false);
}

}  // namespace

bool WriteWindowShot(win::HWND hwnd, const std::string& file) {
    if (!win::IsWindow(hwnd))
        return false;
    win::UpdateAllWindows();
    // The screen where the window is: drop-down lists and boxes over it are part of the view.
    const gdi::Bitmap screen = win::ComposeScreen();
    const gdi::Bitmap shot = screen.copy(win::GetWindowRect(hwnd));
    return !shot.empty() && gdi::write_png_file(file, shot);
}

void TypeCharacter(const std::string& ch) {
    // Every character goes through a key press, so that it stays in order with the other
    // keys: letters and digits on their own keys, the rest on a key that only types.
    int vk = KeyFromName(ch, nullptr);
    if (vk <= 0)
        vk = ch == "." ? 0xBE : 0xE5;
    win::InjectKey(vk, true, ch);
    win::InjectKey(vk, false);
}

TComponent* FindComponentDeep(TComponent* root, const std::string& name) {
    if (!root || name.empty())
        return nullptr;
    for (TComponent* c : root->ComponentList()) {
        if (c->Name() == name)
            return c;
    }
    for (TComponent* c : root->ComponentList()) {
        if (TComponent* found = FindComponentDeep(c, name))
            return found;
    }
    return nullptr;
}

ScriptRunner::ScriptRunner(TForm* form, ParsedScript script, std::string script_name)
    : form_(form), script_(std::move(script)), script_name_(std::move(script_name)) {
    Output = [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); };
    OnFinished = [](int code) {
        if (Application)
            Application->Terminate(code);
    };
}

ScriptRunner::~ScriptRunner() {
    if (driver_) {
        Drivers().erase(driver_);
        if (win::IsWindow(driver_))
            win::DestroyWindow(driver_);
    }
}

win::LRESULT ScriptRunner::DriverProc(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    if (msg == win::WM_TIMER && wp == kTimerId) {
        auto it = Drivers().find(h);
        if (it != Drivers().end())
            it->second->Tick();
        return 0;
    }
    return win::DefWindowProc(h, msg, wp, lp);
}

void ScriptRunner::Start() {
    if (started_)
        return;
    started_ = true;
    if (script_.error) {
        ScriptCommand where;
        where.line = script_.error->line;
        Error(where, script_.error->message);
        return;
    }
    static bool registered = false;
    if (!registered) {
        win::WNDCLASS wc;
        wc.lpfnWndProc = &ScriptRunner::DriverProc;
        wc.lpszClassName = "TScriptDriver";
        win::RegisterClass(wc);
        registered = true;
    }
    driver_ = win::CreateWindowEx(0, "TScriptDriver", "", win::WS_POPUP, 0, 0, 0, 0, nullptr,
                                  nullptr, nullptr, nullptr);
    Drivers()[driver_] = this;
    Schedule(kStepMs);
}

void ScriptRunner::Schedule(int64_t ms) {
    if (!driver_)
        return;
    win::SetTimer(driver_, kTimerId, static_cast<win::UINT>(std::max<int64_t>(ms, 10)));
    next_due_ = clk::current().monotonic_ms() + std::max<int64_t>(ms, 10);
}

bool ScriptRunner::DriveIdle() {
    if (finished_)
        return false;
    // Time moves one millisecond at a time and the loop itself takes what falls due, so that
    // every loop (a box's nested one too) sees each message and can end when it should, and
    // every timer gets each of its ticks.
    if (clk::ManualClock* manual = clk::current_manual())
        manual->advance(1);
    // Even when the script has just ended, the loop has the quit message to take.
    return true;
}

void ScriptRunner::Finish(int code) {
    if (finished_)
        return;
    finished_ = true;
    exit_code_ = code;
    if (driver_)
        win::KillTimer(driver_, kTimerId);
    if (OnFinished)
        OnFinished(code);
}

bool ScriptRunner::Fail(const ScriptCommand& cmd, const std::string& expected,
                        const std::string& found) {
    std::string text = script_name_ + ":" + std::to_string(cmd.line) + ": " + cmd.text +
                       "\n  expected: " + expected + "\n  found:    " + found;
    report_ += text + "\n";
    if (Output)
        Output(text);
    Finish(1);
    return false;
}

bool ScriptRunner::Impossible(const ScriptCommand& cmd, const std::string& message) {
    std::string text =
        script_name_ + ":" + std::to_string(cmd.line) + ": " + cmd.text + "\n  " + message;
    report_ += text + "\n";
    if (Output)
        Output(text);
    Finish(1);
    return false;
}

bool ScriptRunner::Error(const ScriptCommand& cmd, const std::string& message) {
    std::string text = script_name_ + ":" + std::to_string(cmd.line) + ": error: " + message;
    report_ += text + "\n";
    if (Output)
        Output(text);
    Finish(2);
    return false;
}

TControl* ScriptRunner::FindControl(const std::string& name) const {
    if (form_ && form_->Name() == name)
        return form_;
    if (auto* found = dynamic_cast<TControl*>(FindComponentDeep(form_, name)))
        return found;
    // A start-up array element may be named by its indices: ChannelButton[1][3].
    if (const auto element = ArrayElementName(name))
        return dynamic_cast<TControl*>(FindComponentDeep(form_, *element));
    return nullptr;
}

void ScriptRunner::Tick() {
    if (finished_)
        return;
    // Back to the normal step after a wait.
    Schedule(kStepMs);
    if (!form_ || !win::IsWindow(form_->Handle())) {
        Finish(0);
        return;
    }
    if (pc_ >= script_.commands.size()) {
        Finish(0);
        return;
    }
    const ScriptCommand& cmd = script_.commands[pc_];
    const size_t at = pc_;
    if (!Execute(cmd))
        return;
    // A command that needs another tick leaves pc_ where it is and phase_ set.
    if (phase_ == 0 && pc_ == at)
        ++pc_;
}

bool ScriptRunner::ClickControl(const ScriptCommand& cmd, TControl* c, bool twice) {
    if (!c->Showing())
        return Impossible(cmd, cmd.args[0] + " is not visible");
    gdi::Point p = c->ClientToScreen({c->Width() / 2, c->Height() / 2});
    win::InjectMouse(win::MouseAction::Move, p);
    win::InjectMouse(win::MouseAction::LeftDown, p);
    win::InjectMouse(win::MouseAction::LeftUp, p);
    if (twice) {
        win::InjectMouse(win::MouseAction::LeftDown, p);
        win::InjectMouse(win::MouseAction::LeftUp, p);
    }
    return true;
}

bool ScriptRunner::Screenshot(const ScriptCommand& cmd, const std::string& file) {
    if (!WriteWindowShot(form_->Handle(), file))
        return Error(cmd, "cannot write the screenshot " + Quote(file));
    return true;
}

bool ScriptRunner::Execute(const ScriptCommand& cmd) {
    const std::string& name = cmd.name;
    auto control = [&](TControl** out) {
        *out = FindControl(cmd.args[0]);
        if (!*out)
            return Error(cmd, "unknown control " + Quote(cmd.args[0]));
        return true;
    };
    TControl* c = nullptr;

    if (name == "click" || name == "dblclick") {
        if (!control(&c))
            return false;
        return ClickControl(cmd, c, name == "dblclick");
    }
    if (name == "focus" || name == "type") {
        if (!control(&c))
            return false;
        auto* wc = dynamic_cast<TWinControl*>(c);
        if (!wc)
            return Error(cmd, cmd.args[0] + " cannot take the focus");
        if (!wc->CanFocus())
            return Impossible(cmd, cmd.args[0] + " cannot take the focus now");
        wc->SetFocus();
        if (name == "type" && dynamic_cast<TDateTimePicker*>(wc)) {
            // A picker takes its value field by field from the first: "07:30:00", "7:30:00".
            PressKey(win::VK_HOME);
            for (char32_t ch : Utf8ToU32(cmd.args[1]))
                TypeCharacter(CodePointToUtf8(ch));
            return true;
        }
        if (name == "type") {
            PressKey(win::VK_HOME);
            win::InjectKey(win::VK_SHIFT, true);
            PressKey(win::VK_END);
            win::InjectKey(win::VK_SHIFT, false);
            PressKey(win::VK_DELETE);
            for (char32_t ch : Utf8ToU32(cmd.args[1]))
                TypeCharacter(CodePointToUtf8(ch));
        }
        return true;
    }
    if (name == "key") {
        KeyChord chord;
        if (!ParseKeyChord(cmd.args[0], &chord))
            return Error(cmd, "unknown key " + Quote(cmd.args[0]));
        if (chord.vk < 0) {
            TypeCharacter(chord.text);
            return true;
        }
        for (int m : chord.modifiers)
            win::InjectKey(m, true);
        // With a modifier held the key types nothing of its own.
        PressKey(chord.vk, chord.modifiers.empty() ? chord.text : std::string());
        for (auto it = chord.modifiers.rbegin(); it != chord.modifiers.rend(); ++it)
            win::InjectKey(*it, false);
        return true;
    }
    if (name == "rclick") {
        if (!control(&c))
            return false;
        if (!c->Showing())
            return Impossible(cmd, cmd.args[0] + " is not visible");
        const gdi::Point p = c->ClientToScreen({c->Width() / 2, c->Height() / 2});
        win::InjectMouse(win::MouseAction::Move, p);
        win::InjectMouse(win::MouseAction::RightDown, p);
        win::InjectMouse(win::MouseAction::RightUp, p);
        return true;
    }
    if (name == "menu" || name == "expect-menu") {
        std::vector<OpenMenuItem> items;
        const bool open = ReadOpenMenu(&items);
        std::vector<std::string> found;
        for (const OpenMenuItem& item : items)
            found.push_back(item.label);
        if (name == "expect-menu") {
            if (!open)
                return Fail(cmd, "an open menu " + JoinQuoted(cmd.args), "no menu");
            if (found != cmd.args)
                return Fail(cmd, JoinQuoted(cmd.args), JoinQuoted(found));
            return true;
        }
        if (!open)
            return Impossible(cmd, "no menu is open");
        for (const OpenMenuItem& item : items) {
            if (item.separator || item.label != cmd.args[0])
                continue;
            if (item.grayed)
                return Impossible(cmd, "the menu item " + Quote(cmd.args[0]) + " is grayed");
            const gdi::Point p{(item.rect.left + item.rect.right) / 2,
                               (item.rect.top + item.rect.bottom) / 2};
            win::InjectMouse(win::MouseAction::Move, p);
            win::InjectMouse(win::MouseAction::LeftDown, p);
            win::InjectMouse(win::MouseAction::LeftUp, p);
            return true;
        }
        return Impossible(
            cmd, "the menu has no item " + Quote(cmd.args[0]) + "; it has " + JoinQuoted(found));
    }
    if (name == "select") {
        if (!control(&c))
            return false;
        auto* combo = dynamic_cast<TComboBox*>(c);
        if (!combo)
            return Error(cmd, cmd.args[0] + " is not a combo box");
        int index = -1;
        const std::string& what = cmd.args[1];
        bool numeric = !what.empty() && what.find_first_not_of("0123456789") == std::string::npos;
        if (numeric && what.size() < 8) {
            index = std::stoi(what);
        } else {
            index = combo->Items().IndexOf(what);
        }
        if (index < 0 || index >= combo->Items().Count())
            return Error(cmd, cmd.args[0] + " has no item " + Quote(what));
        if (phase_ == 0) {
            if (!combo->Showing())
                return Impossible(cmd, cmd.args[0] + " is not visible");
            if (!combo->Enabled())
                return Impossible(cmd, cmd.args[0] + " is disabled");
            if (!combo->DroppedDown()) {
                gdi::Rect b = combo->ButtonRect();
                gdi::Point p =
                    combo->ClientToScreen({(b.left + b.right) / 2, (b.top + b.bottom) / 2});
                win::InjectMouse(win::MouseAction::Move, p);
                win::InjectMouse(win::MouseAction::LeftDown, p);
                win::InjectMouse(win::MouseAction::LeftUp, p);
            }
            phase_ = 1;
            return true;
        }
        phase_ = 0;
        if (!combo->DroppedDown())
            return Impossible(cmd, "the list of " + cmd.args[0] + " did not open");
        gdi::Rect item;
        if (combo->ItemScreenRect(index, &item)) {
            gdi::Point p{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
            win::InjectMouse(win::MouseAction::Move, p);
            win::InjectMouse(win::MouseAction::LeftDown, p);
            win::InjectMouse(win::MouseAction::LeftUp, p);
        } else {
            // Not in view: walk there with the keyboard, as an operator would.
            PressKey(win::VK_HOME);
            for (int i = 0; i < index; ++i)
                PressKey(win::VK_DOWN);
            PressKey(win::VK_RETURN);
        }
        ++pc_;
        return true;
    }
    if (name == "page") {
        TPageControl* pc = dynamic_cast<TPageControl*>(FindComponentDeep(form_, "PageControl1"));
        if (!pc) {
            for (TComponent* comp : form_->ComponentList())
                if ((pc = dynamic_cast<TPageControl*>(comp)))
                    break;
        }
        if (!pc)
            return Error(cmd, "the window has no page control");
        const int index = std::stoi(cmd.args[0]);
        if (index >= pc->PageCount())
            return Error(cmd, "there is no page " + cmd.args[0]);
        if (!pc->Showing())
            return Impossible(cmd, "the page control is not visible");
        gdi::Rect t = pc->TabRect(index);
        gdi::Point p = pc->ClientToScreen({(t.left + t.right) / 2, (t.top + t.bottom) / 2});
        win::InjectMouse(win::MouseAction::Move, p);
        win::InjectMouse(win::MouseAction::LeftDown, p);
        win::InjectMouse(win::MouseAction::LeftUp, p);
        return true;
    }
    if (name == "wait") {
        const int64_t ms = std::stoll(cmd.args[0]);
        ++pc_;
        if (ms > 0)
            Schedule(ms);
        return true;
    }
    if (name == "answer") {
        const auto& boxes = OpenMessageBoxes();
        if (boxes.empty())
            return Impossible(cmd, "no message box is open");
        const int id = cmd.args[0] == "OK" ? IDOK : IDCANCEL;
        win::HWND button = win::GetDlgItem(boxes.back()->hwnd, id);
        if (!button)
            return Impossible(cmd, "the message box has no " + cmd.args[0] + " button");
        win::RECT r = win::GetWindowRect(button);
        gdi::Point p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        win::InjectMouse(win::MouseAction::Move, p);
        win::InjectMouse(win::MouseAction::LeftDown, p);
        win::InjectMouse(win::MouseAction::LeftUp, p);
        return true;
    }
    if (name == "expect") {
        std::string target = cmd.args[0], prop = "text";
        const size_t dot = target.rfind('.');
        if (dot != std::string::npos && target.find(']', dot) == std::string::npos) {
            prop = target.substr(dot + 1);
            target = target.substr(0, dot);
        }
        c = FindControl(target);
        if (!c)
            return Error(cmd, "unknown control " + Quote(target));
        std::string found;
        bool case_blind = false;
        if (prop == "text") {
            found = c->Text();
        } else if (prop == "checked") {
            auto* box = dynamic_cast<TCheckBox*>(c);
            if (!box)
                return Error(cmd, target + " has no property \"checked\"");
            found = box->Checked() ? "true" : "false";
            case_blind = true;
        } else if (prop == "enabled") {
            found = c->Enabled() ? "true" : "false";
            case_blind = true;
        } else if (prop == "visible") {
            found = c->Showing() ? "true" : "false";
            case_blind = true;
        } else if (prop == "index") {
            if (auto* combo = dynamic_cast<TComboBox*>(c)) {
                found = std::to_string(combo->ItemIndex());
            } else if (auto* pages = dynamic_cast<TPageControl*>(c)) {
                found = std::to_string(pages->ActivePageIndex());
            } else if (auto* sheet = dynamic_cast<TTabSheet*>(c)) {
                found = std::to_string(sheet->PageIndex());
            } else {
                return Error(cmd, target + " has no property \"index\"");
            }
        } else if (prop == "color") {
            if (auto* shape = dynamic_cast<TShape*>(c)) {
                found = HexColor(ColorToRGB(shape->BrushColor()));
            } else {
                found = HexColor(ColorToRGB(c->Color()));
            }
            case_blind = true;
        } else {
            return Error(cmd, "unknown property " + Quote(prop));
        }
        const std::string& expected = cmd.args[1];
        const bool same = case_blind ? Lower(found) == Lower(expected) : found == expected;
        if (!same)
            return Fail(cmd, Quote(expected), Quote(found));
        return true;
    }
    if (name == "expect-box" || name == "expect-caption") {
        const auto& boxes = OpenMessageBoxes();
        const bool text = name == "expect-box";
        if (boxes.empty())
            return Fail(cmd, "a message box " + Quote(cmd.args[0]), "no message box");
        const std::string& found = text ? boxes.back()->text : boxes.back()->caption;
        if (found != cmd.args[0])
            return Fail(cmd, Quote(cmd.args[0]), Quote(found));
        return true;
    }
    if (name == "expect-no-box") {
        const auto& boxes = OpenMessageBoxes();
        if (!boxes.empty())
            return Fail(cmd, "no message box", "a message box " + Quote(boxes.back()->text));
        return true;
    }
    if (name == "expect-status") {
        TStatusBar* bar = nullptr;
        for (TComponent* comp : form_->ComponentList())
            if ((bar = dynamic_cast<TStatusBar*>(comp)))
                break;
        if (!bar)
            return Error(cmd, "the window has no status bar");
        const int n = std::stoi(cmd.args[0]);
        if (n >= bar->PanelCount())
            return Error(cmd, "the status bar has no panel " + cmd.args[0]);
        const std::string& found = bar->Panels(n).Text();
        if (found != cmd.args[1])
            return Fail(cmd, Quote(cmd.args[1]), Quote(found));
        return true;
    }
    if (name == "screenshot")
        return Screenshot(cmd, cmd.args[0]);
    return Error(cmd, "unknown command " + Quote(name));
}

}  // namespace forms::automation
