#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/button.h"
#include "forms/edit.h"
#include "forms/label.h"
#include "forms/page_control.h"
#include "forms/timer.h"
#include "platform/win/input.h"
#include "platform/win/test_driver.h"
#include "protocol/requests.h"
#include "settings/settings_file.h"
#include "tests/link/link_test_support.h"

namespace realtime_test {

using Bytes = std::vector<uint8_t>;

constexpr forms::TColor kRed = forms::clRed;
constexpr forms::TColor kWhite = forms::clWhite;

// The main window on the Real-time Control page, its Ethernet link connected to a loopback
// endpoint that plays the devices and sees every frame the page sends. Time moves only when a
// test says so (the manual clock), 10 ms at a time where the queue's ticks matter.
class RealtimeTest : public link_test::LinkWindowTest {
  protected:
    void StartPage(std::initializer_list<const char*> ids = {"", "", "", ""}) {
        StartLinkWindow();
        ConnectTcp(device_.port());
        ASSERT_TRUE(device_.Accept());
        int d = 0;
        for (const char* id : ids)
            Form1->PanelIdEdit[d++]->SetText(id);
        Form1->PageControl1->SetActivePage(Form1->TabSheet3);
        win::PumpPending();
        Frames(20);  // whatever went out before the test begins
    }

    // A settings file as a first start writes it, with these stored IDs of the four panels.
    void WriteStoredPanelIds(const int32_t (&ids)[4]) const {
        auto image = settings::DefaultSettingsImage(0.0);
        Bytes bytes(image.begin(), image.end());
        for (int d = 0; d < 4; ++d)
            settings::PutInt32(
                std::span<uint8_t>(bytes).subspan(settings::SettingsFile::SavedIds(1 + d), 4),
                ids[d]);
        WriteFileBytes(bytes);
    }

    // The short frames that reached the device since the last look.
    std::vector<Bytes> Frames(int wait_ms = 30) {
        const Bytes stream = device_.Receive(4096, wait_ms);
        std::vector<Bytes> frames;
        for (size_t at = 0; at < stream.size(); at += protocol::kShortFrameSize) {
            const size_t end = std::min(stream.size(), at + protocol::kShortFrameSize);
            frames.emplace_back(stream.begin() + static_cast<long>(at),
                                stream.begin() + static_cast<long>(end));
        }
        return frames;
    }

    // The frame a request payload makes on the wire.
    static Bytes Wire(std::initializer_list<uint8_t> payload) {
        return protocol::build_frame(Bytes(payload));
    }
    static Bytes Poll(uint8_t id) { return Wire({id, 0xA8, 0x00, 0x00}); }

    // Operator input through the display's entry point and hit testing.
    static void ClickAt(forms::TControl* control, int x, int y) {
        const gdi::Point p = control->ClientToScreen({x, y});
        win::InjectClick({p.x, p.y});
        win::PumpPending();
    }
    static void Click(forms::TControl* control) {
        ClickAt(control, control->Width() / 2, control->Height() / 2);
    }
    // A check box is clicked on its box, at the left.
    static void Toggle(forms::TControl* box) { ClickAt(box, 7, box->Height() / 2); }

    // What one channel of a panel shows: its indicator's brush and its button's caption.
    static forms::TColor Led(int d, int c) { return Form1->ChannelLed[d][c]->BrushColor(); }
    static std::string Caption(int d, int c) { return Form1->ChannelButton[d][c]->Caption(); }
    // The channel shown on (red, off-text) or off (white, on-text) in English.
    static bool ShownOn(int d, int c) { return Led(d, c) == kRed && Caption(d, c) == "off"; }
    static bool ShownOff(int d, int c) { return Led(d, c) == kWhite && Caption(d, c) == "on"; }

    static void SetLanguage(int language) {
        Form1->CB_language->SetItemIndex(language);
        Form1->CB_languageChange(Form1->CB_language);
    }

    std::string BoxTexts() const {
        std::string all;
        for (const auto& box : SeenBoxes())
            all += box.caption + "|" + box.text + "\n";
        return all;
    }

    link_test::LoopbackServer device_;
};

}  // namespace realtime_test
