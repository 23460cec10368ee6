#include "platform/win/metrics.h"

#include "platform/win/internal.h"

namespace win {

using detail::state;

namespace {

// The classic Windows scheme.
constexpr COLORREF kClassicColors[31] = {
    gdi::rgb(192, 192, 192),  // COLOR_SCROLLBAR
    gdi::rgb(0, 128, 128),    // COLOR_BACKGROUND
    gdi::rgb(0, 0, 128),      // COLOR_ACTIVECAPTION
    gdi::rgb(128, 128, 128),  // COLOR_INACTIVECAPTION
    gdi::rgb(192, 192, 192),  // COLOR_MENU
    gdi::rgb(255, 255, 255),  // COLOR_WINDOW
    gdi::rgb(0, 0, 0),        // COLOR_WINDOWFRAME
    gdi::rgb(0, 0, 0),        // COLOR_MENUTEXT
    gdi::rgb(0, 0, 0),        // COLOR_WINDOWTEXT
    gdi::rgb(255, 255, 255),  // COLOR_CAPTIONTEXT
    gdi::rgb(192, 192, 192),  // COLOR_ACTIVEBORDER
    gdi::rgb(192, 192, 192),  // COLOR_INACTIVEBORDER
    gdi::rgb(128, 128, 128),  // COLOR_APPWORKSPACE
    gdi::rgb(0, 0, 128),      // COLOR_HIGHLIGHT
    gdi::rgb(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    gdi::rgb(192, 192, 192),  // COLOR_BTNFACE
    gdi::rgb(128, 128, 128),  // COLOR_BTNSHADOW
    gdi::rgb(128, 128, 128),  // COLOR_GRAYTEXT
    gdi::rgb(0, 0, 0),        // COLOR_BTNTEXT
    gdi::rgb(192, 192, 192),  // COLOR_INACTIVECAPTIONTEXT
    gdi::rgb(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    gdi::rgb(64, 64, 64),     // COLOR_3DDKSHADOW
    gdi::rgb(223, 223, 223),  // COLOR_3DLIGHT
    gdi::rgb(0, 0, 0),        // COLOR_INFOTEXT
    gdi::rgb(255, 255, 225),  // COLOR_INFOBK
    gdi::rgb(180, 180, 180),  // 25 (unused)
    gdi::rgb(0, 0, 255),      // COLOR_HOTLIGHT
    gdi::rgb(16, 132, 208),   // COLOR_GRADIENTACTIVECAPTION
    gdi::rgb(181, 181, 181),  // COLOR_GRADIENTINACTIVECAPTION
    gdi::rgb(0, 0, 128),      // COLOR_MENUHILIGHT
    gdi::rgb(192, 192, 192),  // COLOR_MENUBAR
};

bool g_colors_set = false;
bool g_screen_set = false;

void init_colors() {
    if (g_colors_set)
        return;
    g_colors_set = true;
    auto& s = state();
    for (int i = 0; i < 31; ++i)
        s.sys_colors[i] = kClassicColors[i];
}

}  // namespace

int GetSystemMetrics(int index) {
    auto& s = state();
    SIZE screen = s.screen;
    if (s.driver && !g_screen_set)
        screen = s.driver->screen_size();
    switch (index) {
        case SM_CXSCREEN:
        case SM_CXFULLSCREEN:
        case SM_CXVIRTUALSCREEN:
            return screen.cx;
        case SM_CYSCREEN:
        case SM_CYVIRTUALSCREEN:
            return screen.cy;
        case SM_CYFULLSCREEN:
            return screen.cy - 23;
        case SM_CXVSCROLL:
        case SM_CYHSCROLL:
        case SM_CYVSCROLL:
        case SM_CXHSCROLL:
        case SM_CYVTHUMB:
        case SM_CXHTHUMB:
            return 17;
        case SM_CYCAPTION:
            return 23;
        case SM_CXBORDER:
        case SM_CYBORDER:
            return 1;
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME:
            return 3;
        case SM_CXFRAME:
        case SM_CYFRAME:
            return 4;
        case SM_CXEDGE:
        case SM_CYEDGE:
            return 2;
        case SM_CXICON:
        case SM_CYICON:
        case SM_CXCURSOR:
        case SM_CYCURSOR:
            return 32;
        case SM_CXSMICON:
        case SM_CYSMICON:
            return 16;
        case SM_CYMENU:
        case SM_CYMENUSIZE:
        case SM_CXMENUSIZE:
            return 20;
        case SM_CYSMCAPTION:
            return 17;
        case SM_CXSIZE:
            return 22;
        case SM_CYSIZE:
            return 22;
        case SM_CXSMSIZE:
        case SM_CYSMSIZE:
            return 16;
        case SM_CXMIN:
            return 112;
        case SM_CYMIN:
            return 27;
        case SM_CXDOUBLECLK:
        case SM_CYDOUBLECLK:
            return 4;
        case SM_CXMINIMIZED:
            return 160;
        case SM_CYMINIMIZED:
            // The caption bar of a minimized window within its sizing frame.
            return 23 + 2 * 4;
        case SM_CXMAXIMIZED:
            return screen.cx + 8;
        case SM_CYMAXIMIZED:
            return screen.cy + 8;
        case SM_CXMENUCHECK:
        case SM_CYMENUCHECK:
            return 13;
        case SM_CMONITORS:
            return 1;
        default:
            return 0;
    }
}

void SetScreenSize(int width, int height) {
    auto& s = state();
    s.screen = {width > 0 ? width : 1280, height > 0 ? height : 1024};
    g_screen_set = true;
}

bool SystemParametersInfo(UINT action, UINT, void* pvParam, UINT) {
    auto& s = state();
    if (action == SPI_GETWORKAREA) {
        if (!pvParam)
            return false;
        const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        RECT area = s.work_area ? *s.work_area : s.driver ? s.driver->work_area() : screen;
        area = area.intersect(screen);
        *static_cast<RECT*>(pvParam) = area.empty() ? screen : area;
        return true;
    }
    if (action == SPI_SETWORKAREA) {
        const RECT* r = static_cast<const RECT*>(pvParam);
        if (r && !r->empty())
            s.work_area = *r;
        else
            s.work_area.reset();
        return true;
    }
    return false;
}

COLORREF GetSysColor(int index) {
    init_colors();
    if (index < 0 || index >= 31)
        return 0;
    return state().sys_colors[index];
}

void SetSysColor(int index, COLORREF color) {
    init_colors();
    if (index >= 0 && index < 31)
        state().sys_colors[index] = color;
}

gdi::EdgeColors SystemEdgeColors() {
    gdi::EdgeColors e;
    e.highlight = GetSysColor(COLOR_3DHILIGHT);
    e.light = GetSysColor(COLOR_3DLIGHT);
    e.face = GetSysColor(COLOR_3DFACE);
    e.shadow = GetSysColor(COLOR_3DSHADOW);
    e.dark_shadow = GetSysColor(COLOR_3DDKSHADOW);
    e.window = GetSysColor(COLOR_WINDOW);
    e.frame = GetSysColor(COLOR_WINDOWFRAME);
    return e;
}

gdi::Font GetCaptionFont() {
    gdi::Font f;
    f.face = "MS Sans Serif";
    f.height = -11;
    f.weight = gdi::FW_BOLD;
    return f;
}

gdi::Font GetDefaultGuiFont() {
    gdi::Font f;
    f.face = "MS Sans Serif";
    f.height = -11;
    return f;
}

}  // namespace win
