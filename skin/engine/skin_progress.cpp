#include "skin/engine/skin_progress.h"

#include <algorithm>

#include "platform/win/message.h"
#include "platform/win/window.h"
#include "skin/engine/skin_data.h"
#include "skin/skin_draw.h"

namespace skin {

ProgressLook ReadProgressLook(win::HWND hwnd) {
    ProgressLook look;
    win::PBRANGE range;
    win::SendMessage(hwnd, win::PBM_GETRANGE, 0, reinterpret_cast<win::LPARAM>(&range));
    look.range.SetRange(range.iLow, range.iHigh);
    look.range.SetPosition(win::SendMessage(hwnd, win::PBM_GETPOS, 0, 0));
    const auto style = static_cast<win::DWORD>(win::GetWindowLongPtr(hwnd, win::GWL_STYLE));
    look.vertical = (style & win::PBS_VERTICAL) != 0;
    look.smooth = (style & win::PBS_SMOOTH) != 0;
    return look;
}

void DrawSkinProgress(gdi::DC& dc, const gdi::Rect& r, const TDataSkinObject& frame,
                      const TDataSkinObject* chunk, const ProgressLook& look, gdi::Color face,
                      gdi::Color highlight) {
    if (r.empty() || frame.Map.empty())
        return;
    dc.fill_rect(r, face);
    const int frames = std::max(1, frame.frame);
    const int frame_state = look.vertical && frames >= 2 ? 2 : 1;
    DrawRect2(dc, r, frame.Map, false, frame.Tile != 0, frame.trans == 1, frames, frame_state,
              frame.r);
    // The well inside the frame's fixed edges; a bar too small for them has none.
    const gdi::Rect well{r.left + std::max(0, frame.r.left), r.top + std::max(0, frame.r.top),
                         r.right - std::max(0, frame.r.right),
                         r.bottom - std::max(0, frame.r.bottom)};
    if (well.empty())
        return;
    const int length = look.vertical ? well.height() : well.width();
    const int filled = look.range.FilledLength(length);
    if (filled <= 0)
        return;
    const gdi::Rect span = look.vertical
                               ? gdi::Rect{well.left, well.bottom - filled, well.right, well.bottom}
                               : gdi::Rect{well.left, well.top, well.left + filled, well.bottom};
    if (!chunk || chunk->Map.empty()) {
        dc.fill_rect(span, highlight);
        return;
    }
    int chunk_frames = std::max(1, chunk->frame);
    gdi::Bitmap image = chunk->Map;
    gdi::Rect margins = chunk->r;
    if (look.vertical) {
        // The first state image, a quarter turn anticlockwise: the chunk's right edge (the gap
        // between blocks) faces up.
        const gdi::Rect s = state_rect(chunk->Map, false, chunk_frames, 1);
        gdi::Bitmap first(s.width(), s.height());
        gdi::DC(first).bit_blt(0, 0, s.width(), s.height(), chunk->Map, s.left, s.top);
        image = gdi::rotate(first, 270);
        chunk_frames = 1;
        margins = {chunk->r.top, chunk->r.right, chunk->r.bottom, chunk->r.left};
    }
    const bool tile = chunk->Tile != 0;
    const bool trans = chunk->trans == 1;
    if (look.smooth) {
        DrawRect2(dc, span, image, look.vertical, tile, trans, chunk_frames, 1, margins);
        return;
    }
    const gdi::Rect one = state_rect(image, look.vertical, chunk_frames, 1);
    const int block = std::max(1, look.vertical ? one.height() : one.width());
    const int saved = dc.save();
    dc.intersect_clip_rect(span);
    for (int at = 0; at < filled; at += block) {
        const gdi::Rect b =
            look.vertical
                ? gdi::Rect{well.left, well.bottom - at - block, well.right, well.bottom - at}
                : gdi::Rect{well.left + at, well.top, well.left + at + block, well.bottom};
        DrawRect2(dc, b, image, look.vertical, tile, trans, chunk_frames, 1, margins);
    }
    dc.restore(saved);
}

bool TSkinProgress::CanPaint() const {
    return fsd && fsd->progress && !fsd->progress->Map.empty();
}

void TSkinProgress::DrawControl(gdi::DC& dc, const gdi::Rect& r) {
    if (!CanPaint() || r.empty())
        return;
    // Composed off-screen and copied in one piece, so the bar never flickers through its
    // frame and blocks.
    BeginOffscreen(offscreen_, r, false);
    gdi::DC mem(offscreen_);
    DrawSkinProgress(mem, r, *fsd->progress, fsd->progresschunk.get(), ReadProgressLook(hwnd),
                     SkinColor(csButtonFace), SkinColor(csHilight));
    dc.bit_blt(r.left, r.top, r.width(), r.height(), offscreen_, 0, 0);
}

}  // namespace skin
