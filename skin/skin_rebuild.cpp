// Frame counts and the images derived after a description has been read.
#include <algorithm>

#include "skin/skin_data_core.h"
#include "skin/skin_draw.h"

namespace skin {

namespace {

void set_frame(const std::unique_ptr<TDataSkinObject>& o, int32_t n) {
    if (o) {
        o->frame = n;
    }
}

// Check and radio images: the width over 13 (images under 16 pixels high) or 16, at least 4.
int32_t state_count_of(const gdi::Bitmap& image) {
    const int s = image.height() < 16 ? 13 : 16;
    return std::max(4, image.width() / s);
}

}  // namespace

void TSkinDataCore::SetFrame() {
    Button->frame = 5;
    if (Button->radioframe == 0) {
        Button->radioframe = state_count_of(Button->RadioMap);
    }
    if (Button->checkframe == 0) {
        Button->checkframe = state_count_of(Button->CheckMap);
    }
    Title->frame = 2;
    set_frame(Menubar, 2);
    set_frame(Box, 2);
    if (progress) {
        progress->frame = progress->style != 0 ? 1 : 2;
    }
    set_frame(Toolbar, 1);
    set_frame(TabSheet, 1);
    if (boxlabel) {
        boxlabel->frame = 1;
    }
    set_frame(MenuitemBG, 1);
    for (auto* o : {&Toolbarbtn, &ExtraImages, &MenuItem, &TrackHorz, &TrackVert, &TrackLeft,
                    &Trackright, &Tracktop, &Trackbottom}) {
        set_frame(*o, 5);
    }
    if (tab) {
        tab->frame = 5;
    }
    if (Header && Header->frame == 0) {
        Header->frame = 5;
    }
    set_frame(StatusBar, 3);
    if (combox) {
        combox->frame = 4;
    }
    set_frame(Comboxborder, 4);
    set_frame(HBar, 4);
    set_frame(VBar, 4);
    set_frame(SArrow, 23);
    if (HSpin) {
        HSpin->frame = 8;
    }
    if (VSpin) {
        VSpin->frame = 8;
    }
    set_frame(HSlider, ini_->ReadInteger("HorzScrollThumb", "FrameCount", 3));
    set_frame(VSlider, ini_->ReadInteger("VertScrollThumb", "FrameCount", 3));
}

void TSkinDataCore::ReBuildCombobox() {
    if (!Comboxborder || !combox) {
        return;
    }
    const int n = std::max(1, Comboxborder->frame);
    const int bw = system.hscroll_arrow_width + 2;
    constexpr int kW = 50;
    constexpr int kH = 21;
    const gdi::Pixel magenta = gdi::pixel_of(gdi::kMagenta);
    gdi::Bitmap strip(kW * n, kH, magenta);
    gdi::DC dc(strip);
    for (int k = 1; k <= n; ++k) {
        const int x0 = (k - 1) * kW;
        DrawRect2(dc, gdi::Rect::from_xywh(x0, 0, kW, kH), Comboxborder->Map, false,
                  Comboxborder->Tile == 1, Comboxborder->trans == 1, n, k, Comboxborder->r);
        const gdi::Rect button{x0 + kW - bw, 0, x0 + kW, kH};
        DrawRect2(dc, button, combox->Map, false, combox->Tile == 1, true, combox->frame, k,
                  combox->r);
        if (ExtraImages) {
            DrawRect3(dc, button, ExtraImages->Map, ExtraImages->frame, k, true);
        }
        dc.fill_rect(gdi::Rect{x0 + 2, 2, x0 + kW - bw, kH - 2}, gdi::kMagenta);
    }
    // The layout with the button on the left mirrors each state image in its own place, so
    // that state k stays state k.
    gdi::Bitmap mirrored(kW * n, kH, magenta);
    for (int k = 0; k < n; ++k) {
        const gdi::Bitmap one =
            gdi::mirror_left_right(strip.copy(gdi::Rect::from_xywh(k * kW, 0, kW, kH)));
        gdi::DC m(mirrored);
        m.bit_blt(k * kW, 0, kW, kH, one, 0, 0);
    }
    combox->style = 2;
    combox->r = Comboxborder->r;
    combox->r.left = 2;
    combox->r.right = bw + 2;
    combox->frame = n;
    combox->Map = std::move(strip);
    Comboxborder->r.left = bw + 2;
    Comboxborder->r.right = 2;
    Comboxborder->Map = std::move(mirrored);
}

void TSkinDataCore::ReBuildComboxArrow() {
    auto arrow = std::make_unique<TDataSkinObject>();
    arrow->IDName = "ComboxArrow";
    arrow->frame = 1;
    if (!Comboxborder) {
        if (combox) {
            const gdi::Pixel face = gdi::pixel_of(Color(csButtonFace));
            // Magenta whatever the pixel's top byte: the colour alone is compared.
            constexpr gdi::Pixel kColourBits = 0x00FFFFFFu;
            const gdi::Pixel magenta = gdi::pixel_of(gdi::kMagenta) & kColourBits;
            arrow->Map = combox->Map;
            gdi::Pixel* p = arrow->Map.data();
            const size_t n = static_cast<size_t>(arrow->Map.width()) * arrow->Map.height();
            for (size_t i = 0; i < n; ++i) {
                if ((p[i] & kColourBits) == magenta) {
                    p[i] = face;
                }
            }
            arrow->frame = combox->frame;
        }
    } else if (combox && combox->style == 2) {
        const int n = std::max(1, Comboxborder->frame);
        const int w = combox->Map.width() / std::max(1, combox->frame);
        gdi::Bitmap strip(17 * n, 17, gdi::pixel_of(gdi::kMagenta));
        gdi::DC dc(strip);
        for (int i = 0; i < n; ++i) {
            dc.bit_blt(17 * i, 0, 17, 17, combox->Map, (i + 1) * w - 19, 2);
        }
        arrow->Map = std::move(strip);
        arrow->frame = n;
    }
    comboxarrow = std::move(arrow);
}

void TSkinDataCore::RebuildToolbar() {
    if (!Toolbar) {
        Toolbar = std::make_unique<TDataSkinObject>();
        Toolbar->IDName = "Toolbar";
    }
    Toolbar->frame = 1;
    const gdi::Color white = gdi::rgb(255, 255, 255);
    const gdi::Color caption = Resolve(GetCaptionColor());
    const gdi::Color c1 = blend(Color(csButtonFace), white, 150);
    gdi::Color c2 = blend(gdi::rgb(128, 128, 128), caption, 150);
    const int s = saturation_value(caption);
    if (s > 110) {
        c2 = blend(caption, white, (5625 - 25 * s) / 140 + 50);
    }
    gdi::Bitmap image(10, 40);
    fill_gradient(image, c1, c2, gradients);
    Toolbar->Map = std::move(image);
}

gdi::Color TSkinDataCore::GetCaptionColor() const {
    const TDataSkinBorder& top = *border[2];
    if (!top.Map.empty()) {
        const int frames = std::max(1, top.frame);
        return top.Map.color_at(top.Map.width() / 3, (top.Map.height() / frames) / 3);
    }
    return Colors[csButtonFace];
}

}  // namespace skin
