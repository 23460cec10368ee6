#pragma once

#include "platform/win/progress_bar.h"
#include "skin/engine/skin_control.h"

namespace skin {

// What a progress bar shows: its range and position (asked of the window, so framework bars
// and raw "msctls_progress32" windows read alike) and its style bits.
struct ProgressLook {
    win::ProgressRange range;
    bool vertical = false;
    bool smooth = false;
};
ProgressLook ReadProgressLook(win::HWND hwnd);

// Draws a progress bar from the skin's elements into `r`: the `progress` frame (state 1 for a
// horizontal bar, 2 for a vertical one when the image has two), then the filled part inside its
// margins as `progresschunk` blocks at the chunk image's own width (stacked upwards and turned a
// quarter round for a vertical bar), or one stretched chunk when smooth. Without a chunk image
// the filled part takes the skin's highlight colour.
void DrawSkinProgress(gdi::DC& dc, const gdi::Rect& r, const TDataSkinObject& frame,
                      const TDataSkinObject* chunk, const ProgressLook& look, gdi::Color face,
                      gdi::Color highlight);

// Progress bars: painted whole from the skin's progress elements; without a `progress` image
// the bar keeps the system look.
class TSkinProgress : public TSkinControl {
    FORMS_CLASS(TSkinProgress, TSkinControl)
  protected:
    void DrawControl(gdi::DC& dc, const gdi::Rect& r) override;
    bool CanPaint() const override;

  private:
    gdi::Bitmap offscreen_;
};

}  // namespace skin
