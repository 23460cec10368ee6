#include "tools/skin_tool/contact_sheet.h"

#include <algorithm>
#include <functional>
#include <string>

#include "platform/gdi/dc.h"
#include "skin/skin_draw.h"

namespace skin_tool {

namespace {

constexpr int kMargin = 12;
constexpr int kGap = 6;
constexpr int kMaxWidth = 1400;
constexpr int kLabelHeight = 16;
// A description may claim any number of states; the sheet shows at most this many.
constexpr int kMaxStatesShown = 64;

// Lays the sheet out once to measure it and once more to draw it.
class Sheet {
  public:
    explicit Sheet(gdi::DC* dc) : dc_(dc) {}

    void label(const std::string& text) {
        new_line();
        if (dc_ != nullptr) {
            gdi::Rect r{kMargin, y_, kMaxWidth, y_ + kLabelHeight};
            dc_->draw_text(text, r, gdi::DT_LEFT | gdi::DT_SINGLELINE | gdi::DT_NOPREFIX);
        }
        y_ += kLabelHeight;
        x_ = kMargin;
        line_height_ = 0;
    }

    // Reserves a w x h cell and calls draw with its rectangle.
    void cell(int w, int h, const std::function<void(gdi::DC&, const gdi::Rect&)>& draw) {
        if (x_ > kMargin && x_ + w > kMaxWidth - kMargin) {
            new_line();
        }
        const gdi::Rect r = gdi::Rect::from_xywh(x_, y_, w, h);
        if (dc_ != nullptr) {
            draw(*dc_, r);
        }
        x_ += w + kGap;
        width_ = std::max(width_, x_ - kGap + kMargin);
        line_height_ = std::max(line_height_, h);
    }

    void new_line() {
        if (line_height_ > 0) {
            y_ += line_height_ + kGap;
        }
        x_ = kMargin;
        line_height_ = 0;
    }

    int width() const { return std::max(width_, 400); }
    int height() const { return y_ + line_height_ + kMargin; }

  private:
    gdi::DC* dc_;
    int x_ = kMargin;
    int y_ = kMargin;
    int line_height_ = 0;
    int width_ = 0;
};

std::string margins_text(const skin::TDataSkinObject& o) {
    return "margins " + std::to_string(o.r.left) + "," + std::to_string(o.r.top) + "," +
           std::to_string(o.r.right) + "," + std::to_string(o.r.bottom);
}

// The sizes an element is shown at: its own state size, wider, and larger both ways.
std::vector<gdi::Size> sizes_for(const gdi::Rect& state) {
    const int w = std::clamp(state.width(), 1, 400);
    const int h = std::clamp(state.height(), 1, 300);
    std::vector<gdi::Size> out = {{w, h}};
    out.push_back({std::min(3 * w + 20, 240), h});
    out.push_back({std::min(2 * w + 10, 160), std::min(2 * h + 6, 120)});
    return out;
}

// How an element is drawn on the sheet. Window borders read "Stretch" into Tile (1 stretches)
// and title-bar buttons are always copied with magenta left out, as the frame painter does.
struct Drawing {
    bool vertical = false;
    bool tile = false;
    bool transparent = false;
    std::vector<gdi::Size> sizes;
};

void element(Sheet& s, const std::string& name, const skin::TDataSkinObject& o,
             const Drawing& how) {
    const int frames = std::max(1, o.frame);
    s.label(name + " [" + o.IDName + "]  " + std::to_string(o.Map.width()) + " x " +
            std::to_string(o.Map.height()) + ", " + std::to_string(frames) + " states, " +
            margins_text(o) + (how.tile ? ", tiled" : "") +
            (how.transparent ? ", magenta left out" : ""));
    if (skin::state_rect(o.Map, how.vertical, frames, 1).empty()) {
        return;
    }
    for (const gdi::Size& size : how.sizes) {
        for (int k = 1; k <= std::min(frames, kMaxStatesShown); ++k) {
            s.cell(size.cx, size.cy, [&](gdi::DC& dc, const gdi::Rect& r) {
                skin::DrawRect2(dc, r, o.Map, how.vertical, how.tile, how.transparent, frames, k,
                                o.r);
            });
        }
        s.new_line();
    }
}

Drawing drawing_for(const skin::TSkinDataCore& skin, const skin::TDataSkinObject& o) {
    Drawing how;
    how.tile = o.Tile == 1;
    how.transparent = o.trans == 1;
    bool side = false;
    bool band = false;
    for (size_t i = 0; i < skin.border.size(); ++i) {
        if (&o == skin.border[i].get()) {
            how.tile = o.Tile == 0;
            how.vertical = i >= 2;
            side = i < 2;
            band = i >= 2;
        }
    }
    bool title_button = false;
    for (const auto& b : skin.SysBtn) {
        if (&o == b.get()) {
            how.transparent = true;
            title_button = true;
        }
    }
    const gdi::Rect one = skin::state_rect(o.Map, how.vertical, std::max(1, o.frame), 1);
    const int w = std::clamp(one.width(), 1, 400);
    const int h = std::clamp(one.height(), 1, 300);
    if (title_button) {
        how.sizes = {{w, h}};
    } else if (side) {
        how.sizes = {{w, h}, {w, std::min(4 * h, 160)}};
    } else if (band) {
        how.sizes = {{w, h}, {std::min(5 * w, 320), h}};
    } else {
        how.sizes = sizes_for(one);
    }
    return how;
}

void strip_states(Sheet& s, const std::string& name, const gdi::Bitmap& image, int frames) {
    s.label(name + "  " + std::to_string(image.width()) + " x " + std::to_string(image.height()) +
            ", " + std::to_string(frames) + " states");
    const gdi::Rect one = skin::state_rect(image, false, frames, 1);
    for (int k = 1; k <= std::min(frames, kMaxStatesShown) && !one.empty(); ++k) {
        s.cell(std::min(one.width(), 400), std::min(one.height(), 300),
               [&](gdi::DC& dc, const gdi::Rect& r) {
                   skin::DrawRect3(dc, r, image, frames, k, true);
               });
    }
}

void swatch(Sheet& s, const std::string& name, gdi::Color c) {
    s.cell(150, 20, [&](gdi::DC& dc, const gdi::Rect& r) {
        dc.fill_rect(gdi::Rect::from_xywh(r.left, r.top, 20, 20), c);
        dc.frame_rect(gdi::Rect::from_xywh(r.left, r.top, 20, 20), gdi::rgb(0, 0, 0));
        gdi::Rect t{r.left + 24, r.top, r.right, r.bottom};
        dc.draw_text(name, t, gdi::DT_LEFT | gdi::DT_VCENTER | gdi::DT_SINGLELINE);
    });
}

void layout(Sheet& s, const skin::TSkinDataCore& skin) {
    s.label("Skin \"" + skin.SkinName + "\" from " + skin.IniName);
    for (const auto& [name, o] : skin.Elements()) {
        element(s, name, *o, drawing_for(skin, *o));
        if (o == skin.Button.get()) {
            strip_states(s, "Button.CheckMap", skin.Button->CheckMap, skin.Button->checkframe);
            strip_states(s, "Button.RadioMap", skin.Button->RadioMap, skin.Button->radioframe);
        }
        if (const auto* b = dynamic_cast<const skin::TDataSkinBorder*>(o);
            b != nullptr && !b->MaskMap.empty() && o != skin.combox.get()) {
            strip_states(s, name + ".MaskMap", b->MaskMap, b == skin.tab.get() ? 1 : b->frame);
        }
    }
    s.label("Colour slots");
    for (int i = 0; i < skin::kSchemeColorCount; ++i) {
        swatch(s,
               std::string(skin::scheme_color_name(i)) +
                   (skin.hasColors[static_cast<size_t>(i)] ? "" : " *"),
               skin.Color(static_cast<skin::TShemeColor>(i)));
    }
    s.label("ColorPreset and PresetColors (* = system default)");
    for (size_t i = 0; i < skin.ColorPreset.size(); ++i) {
        swatch(s, "ColorPreset " + std::to_string(i), skin.Resolve(skin.ColorPreset[i]));
    }
    s.new_line();
    for (size_t i = 0; i < skin.PresetColors.size(); ++i) {
        swatch(s, "Preset " + std::to_string(i), skin.Resolve(skin.PresetColors[i]));
    }
}

}  // namespace

gdi::Bitmap draw_contact_sheet(const skin::TSkinDataCore& skin) {
    Sheet measure(nullptr);
    layout(measure, skin);
    gdi::Bitmap out(measure.width(), measure.height(),
                    gdi::pixel_of(skin.Color(skin::csButtonFace)));
    gdi::DC dc(out);
    dc.set_bk_mode(gdi::BkMode::Transparent);
    dc.set_text_color(skin.Color(skin::csButtonText));
    dc.select_font(gdi::Font{"Tahoma", -11});
    Sheet draw(&dc);
    layout(draw, skin);
    return out;
}

}  // namespace skin_tool
