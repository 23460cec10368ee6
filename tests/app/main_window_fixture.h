#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "forms/application.h"
#include "forms/combo_box.h"
#include "forms/message_box.h"
#include "forms/status_bar.h"
#include "forms/timer.h"
#include "platform/clock/clock.h"
#include "platform/files/settings_directory.h"
#include "platform/win/input.h"
#include "platform/win/message.h"
#include "platform/win/messages.h"
#include "platform/win/metrics.h"
#include "platform/win/test_driver.h"
#include "settings/settings_file.h"

namespace velmor_test {

// Starts the real main window on the headless display with the manual clock and a settings
// directory of its own, and drives it as an operator does.
class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("velmor-app-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        files::set_settings_directory(dir_);
        win::SetScreenSize(1280, 1024);
    }

    void TearDown() override {
        win::SetIdleScript(nullptr);
        CloseWindow();
        files::set_settings_directory({});
        std::error_code ec;
        std::filesystem::permissions(SettingsFile(), std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(dir_, ec);
    }

    std::filesystem::path SettingsFile() const {
        return dir_ / std::string(settings::SettingsFile::kFileName);
    }

    void StartWindow() {
        forms::Application->Reset();
        forms::Application->CreateForm(&Form1);
        Form1->Show();
        win::PumpPending();
    }

    void CloseWindow() {
        delete Form1;
        Form1 = nullptr;
        win::PumpPending();
    }

    void RestartWindow() {
        CloseWindow();
        StartWindow();
    }

    std::vector<uint8_t> FileBytes() const {
        std::ifstream in(SettingsFile(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    void WriteFileBytes(const std::vector<uint8_t>& bytes) const {
        std::ofstream out(SettingsFile(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }

    // A complete file with the defaults, one 32-bit field changed.
    void WriteFileWith(size_t offset, int32_t value) const {
        auto image = settings::DefaultSettingsImage(0.0);
        std::vector<uint8_t> bytes(image.begin(), image.end());
        settings::PutInt32(std::span<uint8_t>(bytes).subspan(offset, 4), value);
        WriteFileBytes(bytes);
    }

    static int32_t Int32At(const std::vector<uint8_t>& bytes, size_t offset) {
        return settings::GetInt32(std::span<const uint8_t>(bytes).subspan(offset, 4));
    }

    static std::string Panel(int i) { return Form1->StatusBar1->Panels(i).Text(); }

    // Presses a key with the focus where it is, as the keyboard would.
    static void PressKey(int vk) {
        win::InjectKey(vk, true);
        win::InjectKey(vk, false);
        win::PumpPending();
    }

    // The operator picks an item of a drop-down list with the keyboard.
    static void PickItem(forms::TComboBox* box, int index) {
        box->SetFocus();
        win::PumpPending();
        int current = box->ItemIndex();
        if (current < 0) {
            PressKey(win::VK_HOME);
            current = 0;
            if (index == 0)
                return;
        }
        while (current < index) {
            PressKey(win::VK_DOWN);
            ++current;
        }
        while (current > index) {
            PressKey(win::VK_UP);
            --current;
        }
    }

    // Answers every message box that opens with OK, remembering what each showed.
    struct SeenBox {
        std::string text;
        std::string caption;
    };
    void AnswerBoxes() {
        auto seen = std::make_shared<std::vector<SeenBox>>();
        seen_ = seen;
        win::SetIdleScript([seen] {
            const auto& boxes = forms::OpenMessageBoxes();
            if (boxes.empty())
                return false;
            forms::MessageBoxInfo* box = boxes.back();
            seen->push_back({box->text, box->caption});
            win::InjectKey(win::VK_RETURN, true);
            win::InjectKey(win::VK_RETURN, false);
            return true;
        });
    }
    std::vector<SeenBox> SeenBoxes() const { return seen_ ? *seen_ : std::vector<SeenBox>{}; }

    clk::ManualClock clock_{{2026, 3, 2, 9, 30, 0, 0, 1}};
    clk::ScopedClock scoped_clock_{clock_};
    std::filesystem::path dir_;
    std::shared_ptr<std::vector<SeenBox>> seen_;
};

}  // namespace velmor_test
