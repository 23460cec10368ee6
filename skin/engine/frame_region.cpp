#include "skin/engine/frame_region.h"

#include <algorithm>

#include "skin/skin_draw.h"
#include "skin/skin_elements.h"

namespace skin {

namespace {

bool HasImage(const TDataSkinBorder* b) {
    return b && !b->Map.empty();
}

int Frames(const TDataSkinBorder* b) {
    return std::max(1, b->frame);
}

// Top and bottom images hold their states stacked.
bool Stacked(int index) {
    return index == 2 || index == 3;
}

bool Transparent(const TDataSkinBorder* b) {
    return HasImage(b) && b->trans == 1;
}

}  // namespace

TFrameWidths BorderWidths(const TBorderSet& borders) {
    TFrameWidths bw;
    if (HasImage(borders[0]))
        bw.Left = borders[0]->Map.width() / Frames(borders[0]);
    if (HasImage(borders[1]))
        bw.Right = borders[1]->Map.width() / Frames(borders[1]);
    if (HasImage(borders[2]))
        bw.Top = borders[2]->Map.height() / Frames(borders[2]);
    if (HasImage(borders[3]))
        bw.Bottom = borders[3]->Map.height() / Frames(borders[3]);
    return bw;
}

gdi::Bitmap BorderPicture(const TDataSkinBorder* border, int index, int width, int height,
                          bool active) {
    if (!HasImage(border) || width <= 0 || height <= 0)
        return {};
    const int state = (active || Frames(border) <= 1) ? 1 : 2;
    // "Stretch" 1 (stored in Tile) stretches the middle; 0 tiles it.
    return GetHMap(width, height, border->Map, Stacked(index), border->Tile == 0, Frames(border),
                   state, border->r);
}

gdi::Region FrameRegion(int w, int h, const TFrameWidths& bw, const TBorderSet& borders) {
    if (w <= 0 || h <= 0)
        return {};
    const gdi::Rect whole{0, 0, w, h};
    if (!Transparent(borders[0]) && !Transparent(borders[1]) && !Transparent(borders[2]))
        return gdi::Region(whole);
    const gdi::Rect parts[4] = {
        {0, 0, bw.Left, h},
        {w - bw.Right, 0, w, h},
        {0, 0, w, bw.Top},
        {bw.Left, h - bw.Bottom, w - bw.Right, h},
    };
    gdi::Region region(gdi::Rect{bw.Left, bw.Top, w - bw.Right, h - bw.Bottom}.intersect(whole));
    for (int i = 0; i < 4; ++i) {
        const gdi::Rect part = parts[i].intersect(whole);
        if (part.empty())
            continue;
        const bool full_bottom = i == 3 && bw.Bottom < 2;
        if (!Transparent(borders[i]) || full_bottom) {
            region |= gdi::Region(part);
            continue;
        }
        const gdi::Bitmap pic =
            BorderPicture(borders[i], i, parts[i].width(), parts[i].height(), true);
        if (pic.empty())
            continue;
        // The picture covers the border's whole rectangle; the part inside the window is what
        // counts.
        const gdi::Rect area{part.left - parts[i].left, part.top - parts[i].top,
                             part.right - parts[i].left, part.bottom - parts[i].top};
        region |= gdi::Region::from_mask(pic, gdi::kMagenta, area, {part.left, part.top});
    }
    return region;
}

}  // namespace skin
