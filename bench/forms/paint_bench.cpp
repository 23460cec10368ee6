// Building and painting a window of the main window's size with about 800 standard controls,
// as the console's pages hold them, on the headless display.
#include <benchmark/benchmark.h>

#include "forms/forms.h"
#include "platform/win/painting.h"

using namespace forms;

namespace {

TForm* BuildForm() {
    auto* form = new TForm(Application);
    form->SetBounds(8, 30, 1265, 693);
    form->SetBorderStyle(TFormBorderStyle::bsSingle);
    form->Font().SetHeight(-16);
    auto* pages = new TPageControl(form);
    pages->SetParent(form);
    pages->SetBounds(12, 3, 1239, 575);
    auto* sheet = new TTabSheet(form);
    sheet->SetPageControl(pages);
    sheet->SetCaption("实时控制");
    for (int d = 0; d < 4; ++d) {
        auto* group = new TGroupBox(form);
        group->SetParent(sheet);
        group->SetBounds(6, 1 + 119 * d, 1200, 120);
        for (int c = 0; c < 17; ++c) {
            auto* led = new TShape(form);
            led->SetParent(group);
            led->SetShape(TShapeType::stCircle);
            led->SetBounds(219 + 43 * c, 20, 22, 22);
            led->SetBrushColor(c % 2 ? clRed : clWhite);
            auto* label = new TLabel(form);
            label->SetParent(group);
            label->SetBounds(219 + 43 * c, 45, 22, 16);
            label->SetCaption(c == 0 ? "LCD" : "CH" + std::to_string(c));
            auto* button = new TButton(form);
            button->SetParent(group);
            button->SetBounds(212 + 43 * c, 84, 37, 30);
            button->SetCaption(c % 2 ? "关" : "开");
            if (c > 0) {
                auto* mask = new TCheckBox(form);
                mask->SetParent(group);
                mask->SetBounds(259 + 43 * (c - 1), 64, 46, 17);
                mask->SetCaption("M");
            }
        }
        auto* id = new TEdit(form);
        id->SetParent(group);
        id->SetBounds(39, 22, 44, 24);
        id->SetText(std::to_string(d + 1));
    }
    auto* status = new TStatusBar(form);
    status->SetParent(form);
    status->SetHeight(30);
    for (int w : {200, 150, 150, 150, 70})
        status->AddPanel(w, "状态:");
    return form;
}

int CountControls(TComponent* c) {
    return c->ComponentCount();
}

void BM_BuildAndFirstPaint(benchmark::State& state) {
    int controls = 0;
    for (auto _ : state) {
        TForm* form = BuildForm();
        form->Show();
        win::UpdateAllWindows();
        controls = CountControls(form);
        state.PauseTiming();
        delete form;
        state.ResumeTiming();
    }
    state.counters["controls"] = controls;
}
BENCHMARK(BM_BuildAndFirstPaint)->Unit(benchmark::kMillisecond);

void BM_FullRepaint(benchmark::State& state) {
    TForm* form = BuildForm();
    form->Show();
    win::UpdateAllWindows();
    for (auto _ : state) {
        win::RedrawWindow(form->Handle(), nullptr, nullptr,
                          win::RDW_INVALIDATE | win::RDW_ERASE | win::RDW_ALLCHILDREN);
        win::UpdateAllWindows();
    }
    delete form;
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond);

void BM_OneIndicatorChange(benchmark::State& state) {
    TForm* form = BuildForm();
    form->Show();
    win::UpdateAllWindows();
    TShape* led = nullptr;
    for (TComponent* c : form->ComponentList())
        if ((led = dynamic_cast<TShape*>(c)))
            break;
    bool red = false;
    for (auto _ : state) {
        red = !red;
        led->SetBrushColor(red ? clRed : clWhite);
        win::UpdateAllWindows();
    }
    delete form;
}
BENCHMARK(BM_OneIndicatorChange)->Unit(benchmark::kMicrosecond);

}  // namespace
