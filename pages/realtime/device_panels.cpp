// The four device panels of the Real-time Control page: built at start-up, each with its ID,
// 17 channel indicators and buttons, 16 mask boxes, the lock display and the panel's command
// buttons; their captions in the three languages; the stored panel IDs; and how a panel shows
// one channel's state.

#include <string>

#include "app/main_form.h"
#include "forms/button.h"
#include "forms/edit.h"
#include "forms/label.h"
#include "forms/make_control.h"
#include "forms/panel.h"
#include "pages/device_setup/checks/device_id.h"
#include "pages/realtime/realtime_texts.h"
#include "protocol/device_state.h"
#include "settings/settings_loader.h"
#include "settings/settings_writers.h"

using forms::MakeControl;

namespace {

// Every channel's indicator, label, button and mask box stand in one column this wide.
constexpr int kColumn = 43;
constexpr int kPanelPitch = 119;
constexpr int kIdMaxLength = 3;
constexpr int kPanelFontSize = 10;
// Label widths that read their longest captions whole, within the column and before the
// mask-all box (fixed, so that start-up measures no text).
constexpr int kChannelLabelWidth = kColumn - 3;
constexpr int kMaskLabelWidth = 120 - 24;
// Slots of a panel's button row.
constexpr int kSeqOnSlot = 1;
constexpr int kRevOffSlot = 2;
constexpr int kFirstChannelSlot = 3;
constexpr int kAllSlot = 20;

std::string Indexed(const char* array, int i) {
    return forms::IndexedName(array, i);
}
std::string Indexed(const char* array, int i, int j) {
    return forms::IndexedName(array, i, j);
}

// A start-up control of a panel, named by its array and indices, in the panel's font when it
// has one.
template <class T>
T* MakePanelControl(TForm1* form, forms::TWinControl* group, const std::string& name, int left,
                    int top, int width, int height, bool panel_font = true) {
    T* control = MakeControl<T>(form, group, name.c_str(), left, top, width, height);
    if (panel_font)
        control->Font().SetSize(kPanelFontSize);
    return control;
}

// Frees one start-up control and forgets it.
template <class T>
void Free(T*& control) {
    delete control;
    control = nullptr;
}

std::string ChannelName(int c) {
    return c == 0 ? "LCD" : "CH" + std::to_string(c);
}

}  // namespace

void TForm1::BuildDevicePanels() {
    const std::string on_text(realtime::kChannelOnText.zh_cn);
    for (int d = 0; d < kDevicePanels; ++d) {
        auto* group = MakeControl<forms::TGroupBox>(this, Panel1, Indexed("PanelGroup", d).c_str(),
                                                    6, 1 + kPanelPitch * d, 1200, 120);
        group->SetTabOrder(d);
        PanelGroup[d] = group;

        PanelIdLabel[d] = MakePanelControl<forms::TLabel>(this, group, Indexed("PanelIdLabel", d),
                                                          16, 23, 17, 16);
        PanelIdLabel[d]->SetCaption(realtime::kIdCaption);
        PanelIdEdit[d] =
            MakePanelControl<forms::TEdit>(this, group, Indexed("PanelIdEdit", d), 39, 22, 44, 24);
        PanelIdEdit[d]->SetMaxLength(kIdMaxLength);
        PanelIdEdit[d]->OnExit = [this](forms::TObject* s) { PanelIdEditExit(s); };
        PanelStatusLabel[d] = MakePanelControl<forms::TLabel>(
            this, group, Indexed("PanelStatusLabel", d), 115, 25, 82, 30);
        PanelStatusLabel[d]->SetCaption(realtime::kStatusCaption.zh_cn);

        for (int c = 0; c < kPanelChannels; ++c) {
            const int x = kColumn * c;
            auto* led = MakePanelControl<forms::TShape>(this, group, Indexed("ChannelLed", d, c),
                                                        219 + x, 20, 22, 22, false);
            led->SetShape(forms::TShapeType::stCircle);
            led->SetBrushColor(forms::clWhite);
            ChannelLed[d][c] = led;
            // As wide as the column allows: "CH10" to "CH16" do not fit in the indicator's
            // 22 pixels.
            ChannelLabel[d][c] = MakePanelControl<forms::TLabel>(
                this, group, Indexed("ChannelLabel", d, c), 219 + x, 45, kChannelLabelWidth, 16);
            ChannelLabel[d][c]->SetCaption(ChannelName(c));
        }

        PanelLockBox[d] = MakePanelControl<forms::TCheckBox>(
            this, group, Indexed("PanelLockBox", d), 970, 45, 60, 17);
        PanelLockBox[d]->SetCaption(realtime::kLockCaption);
        PanelLockBox[d]->SetEnabled(false);  // shows the device's lock; not the operator's
        // Up to the all box: the English caption does not fit in 64 pixels.
        PanelMaskLabel[d] = MakePanelControl<forms::TLabel>(
            this, group, Indexed("PanelMaskLabel", d), 24, 63, kMaskLabelWidth, 20);
        PanelMaskLabel[d]->SetCaption(realtime::kMaskLabelCaption.zh_cn);
        PanelMaskAll[d] = MakePanelControl<forms::TCheckBox>(
            this, group, Indexed("PanelMaskAll", d), 120, 64, 100, 17);
        PanelMaskAll[d]->SetCaption(realtime::kMaskAllCaption.zh_cn);
        PanelMaskAll[d]->OnClick = [this](forms::TObject* s) { PanelMaskAllClick(s); };
        for (int m = 0; m < kPanelMasks; ++m) {
            auto* mask = MakePanelControl<forms::TCheckBox>(
                this, group, Indexed("ChannelMask", d, m), 259 + kColumn * m, 64, 46, 17);
            mask->SetCaption(realtime::kMaskCaption);
            mask->OnClick = [this](forms::TObject* s) { ChannelMaskClick(s); };
            ChannelMask[d][m] = mask;
        }

        PanelSeqOnButton[d] = MakePanelControl<forms::TButton>(
            this, group, Indexed("PanelSeqOnButton", d), 16, 84, 82, 30, false);
        PanelSeqOnButton[d]->SetCaption(realtime::kSeqOnCaption.zh_cn);
        PanelSeqOnButton[d]->OnClick = [this](forms::TObject* s) { PanelSeqOnClick(s); };
        PanelRevOffButton[d] = MakePanelControl<forms::TButton>(
            this, group, Indexed("PanelRevOffButton", d), 104, 84, 82, 30, false);
        PanelRevOffButton[d]->SetCaption(realtime::kRevOffCaption.zh_cn);
        PanelRevOffButton[d]->OnClick = [this](forms::TObject* s) { PanelRevOffClick(s); };
        for (int c = 0; c < kPanelChannels; ++c) {
            auto* button = MakePanelControl<forms::TButton>(
                this, group, Indexed("ChannelButton", d, c), 212 + kColumn * c, 84, 37, 30, false);
            button->SetCaption(on_text);
            button->OnClick = [this](forms::TObject* s) { ChannelButtonClick(s); };
            ChannelButton[d][c] = button;
        }
        PanelAllButton[d] = MakePanelControl<forms::TButton>(
            this, group, Indexed("PanelAllButton", d), 950, 84, 82, 30, false);
        PanelAllButton[d]->SetCaption(realtime::kAllCaption);
        PanelAllButton[d]->OnClick = [this](forms::TObject* s) { PanelAllButtonClick(s); };

        PanelButtons[d] = {};
        PanelButtons[d][kSeqOnSlot] = PanelSeqOnButton[d];
        PanelButtons[d][kRevOffSlot] = PanelRevOffButton[d];
        for (int c = 0; c < kPanelChannels; ++c)
            PanelButtons[d][kFirstChannelSlot + c] = ChannelButton[d][c];
        PanelButtons[d][kAllSlot] = PanelAllButton[d];
        DeviceRunning[d] = false;
        CountPanelChanges(d);
    }
    Captions.SetDynamic(i18n::DynamicCaptions::DevicePanels,
                        [this](int language) { ApplyPanelCaptions(language); });
}

void TForm1::CountPanelChanges(int d) {
    // The record tells what the controls show, whatever device they show it for: whoever else
    // changes that makes it stale, and the next status reply writes the panel whole. A new ID
    // alone leaves it true; the ID edit and the all-mask box count all the same, which costs
    // one whole write after they change.
    uint32_t* counter = &PanelShownStatus[d].changes;
    PanelIdEdit[d]->SetChangeCounter(counter);
    PanelLockBox[d]->SetChangeCounter(counter);
    PanelMaskAll[d]->SetChangeCounter(counter);
    for (int c = 0; c < kPanelChannels; ++c) {
        ChannelLed[d][c]->SetChangeCounter(counter);
        ChannelButton[d][c]->SetChangeCounter(counter);
    }
    for (forms::TCheckBox* mask : ChannelMask[d])
        mask->SetChangeCounter(counter);
    PanelShownStatus[d] = {};
}

void TForm1::ReleaseDevicePanels() {
    // An ID edit that holds the focus loses it while it is being freed; its exit handler must
    // not run on a half-destroyed edit (closing the window stores nothing).
    for (forms::TEdit* edit : PanelIdEdit) {
        if (edit)
            edit->OnExit = nullptr;
    }
    for (int d = 0; d < kDevicePanels; ++d) {
        // Nothing may point at a freed control: the slot row names the buttons freed below.
        PanelButtons[d] = {};
        for (int c = 0; c < kPanelChannels; ++c) {
            Free(ChannelLed[d][c]);
            Free(ChannelLabel[d][c]);
            Free(ChannelButton[d][c]);
        }
        for (int m = 0; m < kPanelMasks; ++m)
            Free(ChannelMask[d][m]);
        Free(PanelSeqOnButton[d]);
        Free(PanelRevOffButton[d]);
        Free(PanelAllButton[d]);
        Free(PanelIdLabel[d]);
        Free(PanelStatusLabel[d]);
        Free(PanelMaskLabel[d]);
        Free(PanelMaskAll[d]);
        Free(PanelLockBox[d]);
        Free(PanelIdEdit[d]);
        Free(PanelGroup[d]);
    }
}

void TForm1::ApplyPanelCaptions(int language) {
    const std::string on_text(i18n::PickText(realtime::kChannelOnText, language));
    for (int d = 0; d < kDevicePanels; ++d) {
        if (!PanelGroup[d])
            continue;
        PanelStatusLabel[d]->SetCaption(i18n::PickText(realtime::kStatusCaption, language));
        PanelMaskLabel[d]->SetCaption(i18n::PickText(realtime::kMaskLabelCaption, language));
        PanelMaskAll[d]->SetCaption(i18n::PickText(realtime::kMaskAllCaption, language));
        PanelSeqOnButton[d]->SetCaption(i18n::PickText(realtime::kSeqOnCaption, language));
        PanelRevOffButton[d]->SetCaption(i18n::PickText(realtime::kRevOffCaption, language));
        // Every channel button takes the on-text whatever its channel's state; the panel's next
        // status answer puts the right captions back.
        for (forms::TButton* button : ChannelButton[d])
            button->SetCaption(on_text);
    }
}

void TForm1::LoadPanelIds(const settings::LoadedSettings& loaded) {
    // Entry 1 + d of the stored IDs; the loader gives the text of a value from 1 to 254 and
    // an empty text for anything else.
    for (int d = 0; d < kDevicePanels; ++d) {
        const auto& stored = loaded.saved_ids[1 + d];
        if (stored.present && PanelIdEdit[d])
            PanelIdEdit[d]->SetText(stored.value);
    }
}

void TForm1::PanelIdEditExit(forms::TObject* sender) {
    const int d = PanelOf(sender);
    if (d < 0)
        return;
    // Stored at once; a file that cannot be opened is skipped silently. The new ID takes
    // effect for the next click and the next polling turn without further ado.
    settings::WriteSavedIdText(SettingsPath, 1 + d, PanelIdEdit[d]->Text());
}

int TForm1::PanelOf(const forms::TObject* control) const {
    const auto* c = dynamic_cast<const forms::TControl*>(control);
    if (c == nullptr)
        return -1;
    for (int d = 0; d < kDevicePanels; ++d) {
        if (PanelGroup[d] != nullptr && c->Parent() == PanelGroup[d])
            return d;
    }
    return -1;
}

std::optional<uint8_t> TForm1::PanelDeviceId(int d) const {
    if (d < 0 || d >= kDevicePanels || !PanelIdEdit[d])
        return std::nullopt;
    const int32_t id = device_setup::ParseDeviceId(PanelIdEdit[d]->Text());
    if (!device_setup::IsDeviceId(id))
        return std::nullopt;
    return static_cast<uint8_t>(id);
}

void TForm1::ShowChannel(int d, int c, bool on) {
    if (d < 0 || d >= kDevicePanels || c < 0 || c >= kPanelChannels || !ChannelLed[d][c])
        return;
    ChannelLed[d][c]->SetBrushColor(on ? forms::clRed : forms::clWhite);
    ChannelButton[d][c]->SetCaption(
        i18n::PickText(on ? realtime::kChannelOffText : realtime::kChannelOnText, LanguageIndex));
}

void TForm1::ShowUnmaskedChannels(int d, bool on) {
    if (d < 0 || d >= kDevicePanels)
        return;
    ShowChannel(d, 0, on);
    for (int m = 0; m < kPanelMasks; ++m) {
        if (ChannelMask[d][m] && !ChannelMask[d][m]->Checked())
            ShowChannel(d, protocol::channel_of_mask_index(m), on);
    }
}
