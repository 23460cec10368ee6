// The delay grid of the Device Setup page: 17 power-on and 17 power-off delays, each an edit
// with its minutes box, built at start-up; restoring the factory values; writing all 34 to the
// working device.

#include <string>

#include "app/main_form.h"
#include "forms/button.h"
#include "forms/edit.h"
#include "forms/label.h"
#include "forms/make_control.h"
#include "forms/message_box.h"
#include "forms/panel.h"
#include "operator_input/delay_cells.h"
#include "pages/device_setup/checks/device_id.h"
#include "pages/device_setup/checks/device_setup_texts.h"

using forms::MakeControl;
using operator_input::kDelayChannels;
using operator_input::kDelayKinds;

namespace {

constexpr int kDelayMaxLength = 4;
// The cells of one group stand in two rows of nine (LCD to CH8, CH9 to CH16).
constexpr int kCellsPerRow = 9;
constexpr int kCellWidth = 134;
constexpr int kRowHeight = 48;
// Bn_default and Bn_app come after the two groups in the frame's tab order.
constexpr int kButtonsTabOrder = 38;

std::string DelayLabelText(int b) {
    return b == 0 ? "LCD:" : "CH" + std::to_string(b) + ":";
}

}  // namespace

void TForm1::BuildDelayGrid() {
    for (int k = 0; k < kDelayKinds; ++k) {
        auto* group = new forms::TGroupBox(this);
        group->SetName("DelayGroup" + std::to_string(k));
        group->SetParent(GroupBox_dly_setup);
        group->SetBounds(4, 28 + 132 * k, 1200, 126);
        group->SetCaption(device_setup::kDelayGroupCaptions[k].zh_cn);
        DelayGroup[k] = group;
        for (int b = 0; b < kDelayChannels; ++b) {
            const int r = b / kCellsPerRow;
            const int x = kCellWidth * (b - kCellsPerRow * r);
            const int y = kRowHeight * r;
            const std::string suffix = std::to_string(k) + "_" + std::to_string(b);
            // The two-digit labels start further left so that their colons line up.
            auto* label = new forms::TLabel(this);
            label->SetName("DelayLabel" + suffix);
            label->SetParent(group);
            label->SetBounds(b <= 9 ? x + 10 : x, y + 35, 46, 20);
            label->Font().SetName("MS Sans Serif");
            label->Font().SetSize(12);
            label->SetCaption(DelayLabelText(b));
            auto* edit = new forms::TEdit(this);
            edit->SetName("DelayEdit" + suffix);
            edit->SetParent(group);
            edit->SetBounds(x + 50, y + 32, 42, 28);
            edit->Font().SetSize(12);
            edit->SetMaxLength(kDelayMaxLength);
            auto* minutes = new forms::TCheckBox(this);
            minutes->SetName("DelayMinutes" + suffix);
            minutes->SetParent(group);
            minutes->SetBounds(x + 95, y + 29, 39, 33);
            minutes->Font().SetSize(12);
            minutes->SetCaption(device_setup::kMinutesCaption.zh_cn);
            DelayLabel[k][b] = label;
            DelayEdit[k][b] = edit;
            DelayMinutes[k][b] = minutes;
        }
    }
    Bn_default->SetTabOrder(kButtonsTabOrder);
    Bn_app->SetTabOrder(kButtonsTabOrder);
}

void TForm1::ReleaseDelayGrid() {
    for (int k = 0; k < kDelayKinds; ++k) {
        for (int b = 0; b < kDelayChannels; ++b) {
            delete DelayLabel[k][b];
            delete DelayEdit[k][b];
            delete DelayMinutes[k][b];
            DelayLabel[k][b] = nullptr;
            DelayEdit[k][b] = nullptr;
            DelayMinutes[k][b] = nullptr;
        }
        delete DelayGroup[k];
        DelayGroup[k] = nullptr;
    }
}

void TForm1::ApplyDelayCaptions(int language) {
    for (int k = 0; k < kDelayKinds; ++k) {
        if (!DelayGroup[k])
            continue;
        DelayGroup[k]->SetCaption(i18n::PickText(device_setup::kDelayGroupCaptions[k], language));
        // The unit boxes are relabelled; whether they are checked does not change.
        for (forms::TCheckBox* minutes : DelayMinutes[k])
            minutes->SetCaption(i18n::PickText(device_setup::kMinutesCaption, language));
    }
}

void TForm1::Bn_defaultClick(forms::TObject*) {
    // The working ID is checked although nothing is sent.
    if (!WorkingDeviceId())
        return;
    const auto& question = device_setup::kRestoreDefaultsQuestion;
    const int answer = forms::MessageBox(
        Handle(), std::string(i18n::PickText(question.text, LanguageIndex)),
        std::string(i18n::PickText(question.caption, LanguageIndex)), forms::MB_OKCANCEL);
    if (answer != forms::IDOK)
        return;
    const std::string unit(i18n::PickText(device_setup::kMinutesCaption, LanguageIndex));
    for (int b = 0; b < kDelayChannels; ++b) {
        DelayEdit[0][b]->SetText(operator_input::kDefaultOnDelay);
        DelayEdit[1][b]->SetText(operator_input::kDefaultOffDelay);
        for (int k = 0; k < kDelayKinds; ++k) {
            DelayMinutes[k][b]->SetCaption(unit);
            DelayMinutes[k][b]->SetChecked(false);
        }
    }
}

void TForm1::Bn_appClick(forms::TObject*) {
    const auto id = WorkingDeviceId();
    if (!id)
        return;
    operator_input::DelayCells cells;
    for (int k = 0; k < kDelayKinds; ++k) {
        for (int b = 0; b < kDelayChannels; ++b)
            cells[k][b] = {DelayEdit[k][b]->Text(), DelayMinutes[k][b]->Checked()};
    }
    const auto built = operator_input::BuildDelaysPayload(*id, cells);
    if (!built.payload) {
        device_setup::ShowRefusal(device_setup::kDelayErrorMessage, LanguageIndex);
        return;
    }
    SendFrame(*built.payload);
}
