#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/button.h"
#include "forms/combo_box.h"
#include "forms/edit.h"
#include "forms/page_control.h"
#include "forms/panel.h"
#include "platform/win/input.h"
#include "platform/win/test_driver.h"
#include "protocol/requests.h"
#include "tests/link/link_test_support.h"

namespace device_setup_test {

using Bytes = std::vector<uint8_t>;

// The main window on the Device Setup page, its Ethernet link connected to a loopback endpoint
// that plays the device and sees every frame the page sends.
class DeviceSetupTest : public link_test::LinkWindowTest {
  protected:
    void StartPage() {
        StartLinkWindow();
        ConnectTcp(device_.port());
        ASSERT_TRUE(device_.Accept());
        Form1->PageControl1->SetActivePage(Form1->TabSheet2);
        win::PumpPending();
    }

    // The frames that reached the device since the last look, split by their headers. The
    // status polls of other pages are left out, so that only this page's requests are seen.
    std::vector<Bytes> Frames(int wait_ms = 100) {
        Bytes stream = device_.Receive(4096, wait_ms);
        std::vector<Bytes> frames;
        size_t at = 0;
        while (at < stream.size()) {
            const size_t n = stream[at] == protocol::kLongHeader ? protocol::kDelaysFrameSize
                                                                 : protocol::kShortFrameSize;
            Bytes frame(stream.begin() + static_cast<long>(at),
                        stream.begin() + static_cast<long>(std::min(stream.size(), at + n)));
            at += n;
            if (frame.size() > 2 && frame[2] == protocol::code_of(protocol::Command::PollStatus))
                continue;
            frames.push_back(frame);
        }
        return frames;
    }

    // The one frame the last action sent (empty when it sent none or several).
    Bytes OneFrame() {
        const auto frames = Frames();
        EXPECT_EQ(frames.size(), 1u);
        return frames.size() == 1 ? frames[0] : Bytes{};
    }

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
    // Types into an edit after selecting all of its text, as an operator replacing it.
    static void TypeInto(forms::TWinControl* edit, const std::string& text) {
        edit->SetFocus();
        win::PumpPending();
        win::InjectKey(win::VK_HOME, true);
        win::InjectKey(win::VK_HOME, false);
        win::InjectKey(win::VK_SHIFT, true);
        win::InjectKey(win::VK_END, true);
        win::InjectKey(win::VK_END, false);
        win::InjectKey(win::VK_SHIFT, false);
        win::InjectKey(win::VK_DELETE, true);
        win::InjectKey(win::VK_DELETE, false);
        win::InjectText(text);
        win::PumpPending();
    }

    // The frame a request payload makes on the wire.
    static Bytes Wire(std::initializer_list<uint8_t> payload) {
        return protocol::build_frame(Bytes(payload));
    }

    std::string BoxTexts() const {
        std::string all;
        for (const auto& box : SeenBoxes())
            all += box.caption + "|" + box.text + "\n";
        return all;
    }

    link_test::LoopbackServer device_;
};

}  // namespace device_setup_test
