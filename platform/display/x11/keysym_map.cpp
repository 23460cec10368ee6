#include "platform/display/x11/keysym_map.h"

#include <X11/keysym.h>

#include "platform/win/messages.h"

namespace display {

int vk_from_keysym(unsigned long k) {
    using namespace win;
    if (k >= XK_a && k <= XK_z)
        return static_cast<int>(k - XK_a) + 'A';
    if (k >= XK_A && k <= XK_Z)
        return static_cast<int>(k - XK_A) + 'A';
    if (k >= XK_0 && k <= XK_9)
        return static_cast<int>(k - XK_0) + '0';
    if (k >= XK_KP_0 && k <= XK_KP_9)
        return static_cast<int>(k - XK_KP_0) + VK_NUMPAD0;
    if (k >= XK_F1 && k <= XK_F12)
        return static_cast<int>(k - XK_F1) + VK_F1;
    switch (k) {
        case XK_BackSpace:
            return VK_BACK;
        case XK_Tab:
        case XK_ISO_Left_Tab:
            return VK_TAB;
        case XK_Return:
        case XK_KP_Enter:
            return VK_RETURN;
        case XK_Escape:
            return VK_ESCAPE;
        case XK_space:
            return VK_SPACE;
        case XK_Prior:
        case XK_KP_Prior:
            return VK_PRIOR;
        case XK_Next:
        case XK_KP_Next:
            return VK_NEXT;
        case XK_End:
        case XK_KP_End:
            return VK_END;
        case XK_Home:
        case XK_KP_Home:
            return VK_HOME;
        case XK_Left:
        case XK_KP_Left:
            return VK_LEFT;
        case XK_Up:
        case XK_KP_Up:
            return VK_UP;
        case XK_Right:
        case XK_KP_Right:
            return VK_RIGHT;
        case XK_Down:
        case XK_KP_Down:
            return VK_DOWN;
        case XK_Insert:
        case XK_KP_Insert:
            return VK_INSERT;
        case XK_Delete:
        case XK_KP_Delete:
            return VK_DELETE;
        case XK_Shift_L:
            return VK_SHIFT;
        case XK_Shift_R:
            return VK_SHIFT;
        case XK_Control_L:
        case XK_Control_R:
            return VK_CONTROL;
        case XK_Alt_L:
        case XK_Alt_R:
        case XK_Meta_L:
        case XK_Meta_R:
            return VK_MENU;
        case XK_Caps_Lock:
            return VK_CAPITAL;
        case XK_Pause:
            return VK_PAUSE;
        case XK_KP_Multiply:
            return VK_MULTIPLY;
        case XK_KP_Add:
            return VK_ADD;
        case XK_KP_Subtract:
            return VK_SUBTRACT;
        case XK_KP_Decimal:
            return VK_DECIMAL;
        case XK_KP_Divide:
            return VK_DIVIDE;
        case XK_period:
        case XK_greater:
            return VK_OEM_PERIOD;
        case XK_comma:
        case XK_less:
            return VK_OEM_COMMA;
        case XK_minus:
        case XK_underscore:
            return VK_OEM_MINUS;
        case XK_equal:
        case XK_plus:
            return VK_OEM_PLUS;
        case XK_semicolon:
        case XK_colon:
            return VK_OEM_1;
        case XK_slash:
        case XK_question:
            return VK_OEM_2;
        case XK_grave:
        case XK_asciitilde:
            return VK_OEM_3;
        case XK_bracketleft:
        case XK_braceleft:
            return VK_OEM_4;
        case XK_backslash:
        case XK_bar:
            return VK_OEM_5;
        case XK_bracketright:
        case XK_braceright:
            return VK_OEM_6;
        case XK_apostrophe:
        case XK_quotedbl:
            return VK_OEM_7;
        default:
            return 0;
    }
}

std::string latin1_to_utf8(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::string typed_text(unsigned long keysym, const std::string& latin1) {
    // Unicode key symbols are 0x01000000 plus the code point; below U+0100 X uses the Latin-1
    // symbols instead, and surrogates are no characters.
    constexpr unsigned long kUnicodeBase = 0x01000000;
    if (keysym >= kUnicodeBase + 0x100 && keysym <= kUnicodeBase + 0x10FFFF) {
        const unsigned long cp = keysym - kUnicodeBase;
        if (cp >= 0xD800 && cp <= 0xDFFF) {
            return {};
        }
        std::string out;
        if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        }
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        return out;
    }
    return latin1_to_utf8(latin1);
}

}  // namespace display
