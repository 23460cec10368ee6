// Costs of the operations a frame of the console is composed of, on a bitmap the size of the
// main window (1265 x 693).
#include <benchmark/benchmark.h>

#include "platform/gdi/dc.h"
#include "platform/gdi/region.h"

namespace {

constexpr int kW = 1265;
constexpr int kH = 693;

gdi::Bitmap element(int w, int h) {
    gdi::Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.set_color(x, y, (x + y) % 7 == 0 ? gdi::kMagenta : gdi::rgb(x * 3, y * 5, 90));
    return b;
}

void BM_FillWholeWindow(benchmark::State& state) {
    gdi::Bitmap b(kW, kH);
    gdi::DC dc(b);
    for (auto _ : state) {
        dc.fill_rect({0, 0, kW, kH}, gdi::rgb(240, 240, 240));
        benchmark::DoNotOptimize(b.data());
    }
    state.SetBytesProcessed(state.iterations() * int64_t{kW} * kH * 4);
}
BENCHMARK(BM_FillWholeWindow);

void BM_BlitWholeWindow(benchmark::State& state) {
    gdi::Bitmap src = element(kW, kH);
    gdi::Bitmap b(kW, kH);
    gdi::DC dc(b);
    for (auto _ : state) {
        dc.bit_blt(0, 0, kW, kH, src, 0, 0);
        benchmark::DoNotOptimize(b.data());
    }
    state.SetBytesProcessed(state.iterations() * int64_t{kW} * kH * 4);
}
BENCHMARK(BM_BlitWholeWindow);

void BM_BlitThroughClipRegion(benchmark::State& state) {
    // A window whose visible part is cut by 20 overlapping rectangles.
    gdi::Bitmap src = element(kW, kH);
    gdi::Bitmap b(kW, kH);
    gdi::DC dc(b);
    gdi::Region visible(gdi::Rect{0, 0, kW, kH});
    for (int i = 0; i < 20; ++i)
        visible -= gdi::Region(gdi::Rect::from_xywh(i * 60, i * 30, 40, 40));
    dc.set_visible_region(&visible);
    for (auto _ : state) {
        dc.bit_blt(0, 0, kW, kH, src, 0, 0);
        benchmark::DoNotOptimize(b.data());
    }
}
BENCHMARK(BM_BlitThroughClipRegion);

void BM_StretchButtonFace(benchmark::State& state) {
    // A 5-state button strip of 23 x 23 states stretched to a 75 x 25 button.
    gdi::Bitmap strip = element(115, 23);
    gdi::Bitmap b(kW, kH);
    gdi::DC dc(b);
    for (auto _ : state) {
        dc.stretch_blt(100, 100, 75, 25, strip, 23, 0, 23, 23);
        benchmark::DoNotOptimize(b.data());
    }
}
BENCHMARK(BM_StretchButtonFace);

void BM_StretchWholeWindow(benchmark::State& state) {
    gdi::Bitmap src = element(400, 300);
    gdi::Bitmap b(kW, kH);
    gdi::DC dc(b);
    for (auto _ : state) {
        dc.stretch_blt(0, 0, kW, kH, src, 0, 0, 400, 300);
        benchmark::DoNotOptimize(b.data());
    }
}
BENCHMARK(BM_StretchWholeWindow);

void BM_TransparentBlitElement(benchmark::State& state) {
    gdi::Bitmap src = element(75, 25);
    gdi::Bitmap b(kW, kH);
    gdi::DC dc(b);
    for (auto _ : state) {
        dc.transparent_blt(10, 10, 75, 25, src, 0, 0, 75, 25);
        benchmark::DoNotOptimize(b.data());
    }
}
BENCHMARK(BM_TransparentBlitElement);

void BM_TransparentBlitWholeWindow(benchmark::State& state) {
    gdi::Bitmap src = element(kW, kH);
    gdi::Bitmap b(kW, kH);
    gdi::DC dc(b);
    for (auto _ : state) {
        dc.transparent_blt(0, 0, kW, kH, src, 0, 0, kW, kH);
        benchmark::DoNotOptimize(b.data());
    }
}
BENCHMARK(BM_TransparentBlitWholeWindow);

void BM_DrawTextCaption(benchmark::State& state) {
    gdi::Bitmap b(kW, kH);
    gdi::DC dc(b);
    dc.select_font(gdi::Font{"MS Sans Serif", -11});
    dc.set_bk_mode(gdi::BkMode::Transparent);
    const gdi::Rect r{10, 10, 85, 35};
    for (auto _ : state) {
        gdi::Rect rr = r;
        dc.draw_text("Sequence on", rr, gdi::DT_SINGLELINE | gdi::DT_CENTER | gdi::DT_VCENTER);
        benchmark::DoNotOptimize(b.data());
    }
}
BENCHMARK(BM_DrawTextCaption);

void BM_DrawTextChineseCaption(benchmark::State& state) {
    gdi::Bitmap b(kW, kH);
    gdi::DC dc(b);
    dc.select_font(gdi::Font{"宋体", -12});
    dc.set_bk_mode(gdi::BkMode::Transparent);
    const gdi::Rect r{10, 10, 85, 35};
    for (auto _ : state) {
        gdi::Rect rr = r;
        dc.draw_text("顺序开", rr, gdi::DT_SINGLELINE | gdi::DT_CENTER | gdi::DT_VCENTER);
        benchmark::DoNotOptimize(b.data());
    }
}
BENCHMARK(BM_DrawTextChineseCaption);

void BM_WordBreakMeasure(benchmark::State& state) {
    gdi::Bitmap b(kW, kH);
    gdi::DC dc(b);
    for (auto _ : state) {
        gdi::Rect rr{0, 0, 71, 0};
        benchmark::DoNotOptimize(dc.draw_text("please input a valid ID, range: 1-255", rr,
                                              gdi::DT_WORDBREAK | gdi::DT_CALCRECT));
    }
}
BENCHMARK(BM_WordBreakMeasure);

void BM_RegionFromMask(benchmark::State& state) {
    gdi::Bitmap src = element(200, 30);
    for (auto _ : state) {
        benchmark::DoNotOptimize(gdi::Region::from_mask(src));
    }
}
BENCHMARK(BM_RegionFromMask);

void BM_RegionSubtract800Controls(benchmark::State& state) {
    // A form's visible region with its child controls cut out, one by one, as a window system
    // clipping children does: 800 controls of 60 x 20 on a grid.
    for (auto _ : state) {
        gdi::Region r(gdi::Rect{0, 0, kW, kH});
        for (int i = 0; i < 800; ++i) {
            r -= gdi::Region(gdi::Rect::from_xywh((i % 20) * 63, (i / 20) * 17, 60, 15));
        }
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_RegionSubtract800Controls)->Unit(benchmark::kMicrosecond);

void BM_RegionFromRects800Controls(benchmark::State& state) {
    std::vector<gdi::Rect> rects;
    for (int i = 0; i < 800; ++i) {
        rects.push_back(gdi::Rect::from_xywh((i % 20) * 63, (i / 20) * 17, 60, 15));
    }
    for (auto _ : state) {
        const gdi::Region children = gdi::Region::from_rects(rects);
        benchmark::DoNotOptimize(gdi::Region(gdi::Rect{0, 0, kW, kH}) - children);
    }
}
BENCHMARK(BM_RegionFromRects800Controls)->Unit(benchmark::kMicrosecond);

void BM_DcForAWindow(benchmark::State& state) {
    // What a window system does to hand out a DC for one control: place it and give it the
    // control's visible part (here a 75 x 25 button partly covered by two siblings).
    gdi::Bitmap b(kW, kH);
    gdi::Region visible(gdi::Rect{0, 0, 75, 25});
    visible -= gdi::Region(gdi::Rect{60, 0, 75, 10});
    visible -= gdi::Region(gdi::Rect{0, 20, 10, 25});
    for (auto _ : state) {
        gdi::DC dc(b);
        dc.set_dc_origin({300, 200});
        dc.set_visible_region(&visible);
        dc.fill_rect({0, 0, 75, 25}, gdi::rgb(240, 240, 240));
        benchmark::DoNotOptimize(b.data());
    }
}
BENCHMARK(BM_DcForAWindow);

}  // namespace
