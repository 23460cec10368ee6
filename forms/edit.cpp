#include "forms/edit.h"

#include <algorithm>

#include "forms/component_tracker.h"
#include "forms/edit_commands.h"
#include "forms/form.h"
#include "forms/painter.h"
#include "forms/utf8.h"
#include "platform/win/input.h"

namespace forms {

namespace {
constexpr int kTextInset = 3;  // the 2-pixel sunken border and one pixel of space
}

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetInitialSize(121, 21);
    SetParentColor(false);
    TControl::SetColor(clWindow);
}

void TEdit::SetText(std::string_view text) {
    editor_.set_text(Utf8ToU32(text));
    SyncFromEditor();
}

void TEdit::SetMaxLength(int n) {
    editor_.set_max_length(n);
    if (n > 0 && static_cast<int>(editor_.text().size()) > n)
        SetText(caption_);
}

void TEdit::SyncFromEditor() {
    std::string t = U32ToUtf8(editor_.text());
    if (t != caption_) {
        caption_ = t;
        CountChange();
        TWinControl::TextChanged();
    } else {
        Invalidate();
    }
}

void TEdit::TextChanged() {
    // Text set through SetCaption(): keep the editor in step.
    if (U32ToUtf8(editor_.text()) != caption_)
        editor_.set_text(Utf8ToU32(caption_));
    TWinControl::TextChanged();
}

void TEdit::Change() {
    FireEvent(OnChange, this);
}

int TEdit::TextX(int chars) {
    gdi::Bitmap scratch(1, 1);
    gdi::DC dc(scratch);
    dc.select_font(Font().ToGdi());
    std::u32string prefix = editor_.text().substr(0, chars);
    return dc.get_text_extent(U32ToUtf8(prefix)).cx;
}

int TEdit::CharAt(int x) {
    const int n = static_cast<int>(editor_.text().size());
    int prev = 0;
    for (int i = 1; i <= n; ++i) {
        int w = TextX(i);
        if (x < (prev + w) / 2)
            return i - 1;
        prev = w;
    }
    return n;
}

void TEdit::WndProc(TMessage& m) {
    using namespace win;
    switch (m.Msg) {
        case WM_SETFOCUS: {
            TForm* form = ParentForm();
            if (form && form->FocusingByKeyboard())
                editor_.select_all();
            break;
        }
        case WM_KILLFOCUS:
            selecting_ = false;
            break;
        case WM_LBUTTONDOWN: {
            if (CanFocus() && !Focused())
                SetFocus();
            int x = GET_X_LPARAM(m.LParam) - kTextInset + scroll_x_;
            editor_.move_to(CharAt(x), (GetKeyState(VK_SHIFT) < 0));
            selecting_ = true;
            SetCapture(handle_);
            Invalidate();
            break;
        }
        case WM_LBUTTONDBLCLK:
            editor_.select_all();
            Invalidate();
            break;
        case WM_RBUTTONDOWN:
            // The context menu acts on this field: it takes the focus first.
            if (CanFocus() && !Focused())
                SetFocus();
            break;
        case WM_CONTEXTMENU:
            ContextMenu(m.LParam);
            m.Result = 0;
            return;
        case WM_MOUSEMOVE:
            if (selecting_) {
                int x = GET_X_LPARAM(m.LParam) - kTextInset + scroll_x_;
                editor_.move_to(CharAt(x), true);
                Invalidate();
            }
            break;
        case WM_LBUTTONUP:
            if (selecting_) {
                selecting_ = false;
                if (GetCapture() == handle_)
                    ReleaseCapture();
            }
            break;
        default:
            break;
    }
    TWinControl::WndProc(m);
}

void TEdit::DoEditCommand(EditCommand command) {
    const EditResult result = PerformEditCommand(editor_, command, read_only_);
    if (result == EditResult::Nothing)
        return;
    SyncFromEditor();
    if (result == EditResult::Changed)
        Change();
}

void TEdit::ContextMenu(win::LPARAM at) {
    win::POINT p;
    if (at == -1) {
        // From the keyboard: under the caret.
        p = ClientToScreen({kTextInset + TextX(editor_.caret()) - scroll_x_, Height() / 2});
    } else {
        p = win::MAKEPOINT(at);
    }
    TComponentTracker alive(this);
    const EditCommand command = TrackEditMenu(handle_, p, editor_, read_only_);
    // A handler that ran while the menu was open may have freed this field.
    if (command == EditCommand::None || alive.Deleted())
        return;
    DoEditCommand(command);
}

void TEdit::KeyDown(int& key, unsigned shift) {
    if (const EditCommand command = EditCommandOfKey(key, shift & ssShift, shift & ssCtrl);
        command != EditCommand::None) {
        DoEditCommand(command);
        return;
    }
    const auto result = editor_.handle_key(key, shift & ssShift, shift & ssCtrl, read_only_);
    if (result == LineEditor::KeyResult::NotHandled)
        return;
    SyncFromEditor();
    if (result == LineEditor::KeyResult::Changed)
        Change();
}

void TEdit::KeyPress(char32_t ch) {
    if (read_only_ || ch < 0x20 || ch == 0x7F)
        return;
    if (win::GetKeyState(win::VK_CONTROL) < 0 && win::GetKeyState(win::VK_MENU) >= 0)
        return;
    std::u32string s(1, ch);
    if (editor_.insert(s)) {
        SyncFromEditor();
        Change();
    }
}

void TEdit::Paint(gdi::DC& dc) {
    gdi::Rect r = ClientRect();
    unsigned flags = Enabled() ? 0u : unsigned(painter::kDisabled);
    gdi::Rect inner = painter::draw_edit_frame(dc, r, flags);
    if (Enabled())
        dc.fill_rect(inner, ColorToRGB(Color()));
    dc.select_font(Font().ToGdi());
    const int height = dc.get_text_metrics().height;
    const int text_y = inner.top + std::max(0, (inner.height() - height) / 2);
    const bool focused = Focused();
    // Keep the caret inside the visible part.
    const int caret_x = TextX(editor_.caret());
    const int visible_w = std::max(1, inner.width() - 2);
    if (caret_x - scroll_x_ > visible_w)
        scroll_x_ = caret_x - visible_w;
    if (caret_x < scroll_x_)
        scroll_x_ = caret_x;
    const int x0 = inner.left + 1 - scroll_x_;

    int saved = dc.save();
    dc.intersect_clip_rect(inner);
    dc.set_bk_mode(gdi::BkMode::Transparent);
    const std::string& text = caption_;
    dc.set_text_color(Enabled() ? ColorToRGB(Font().Color()) : painter::scheme().gray_text);
    dc.text_out(x0, text_y, text);
    if (focused && editor_.has_selection()) {
        const int a = TextX(editor_.sel_start());
        const int b = TextX(editor_.sel_start() + editor_.sel_length());
        gdi::Rect sel{x0 + a, text_y, x0 + b, text_y + height};
        dc.fill_rect(sel, painter::scheme().selection);
        dc.intersect_clip_rect(sel);
        dc.set_text_color(painter::scheme().selection_text);
        dc.text_out(x0, text_y, text);
    }
    dc.restore(saved);
    if (focused) {
        const int cx = x0 + caret_x;
        dc.fill_rect({cx, text_y, cx + 1, text_y + height}, painter::scheme().window_text);
    }
}

std::optional<std::string> TEdit::GetPropText(std::string_view name) const {
    if (name == "MaxLength")
        return std::to_string(MaxLength());
    if (name == "ReadOnly")
        return read_only_ ? "true" : "false";
    return TWinControl::GetPropText(name);
}

}  // namespace forms
