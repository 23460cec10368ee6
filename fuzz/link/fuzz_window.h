#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "app/main_form.h"
#include "forms/application.h"
#include "forms/edit.h"
#include "platform/clock/clock.h"
#include "platform/files/settings_directory.h"
#include "platform/win/metrics.h"
#include "platform/win/test_driver.h"

namespace link_fuzz {

// The real main window on the headless display, on the manual clock, with a settings directory
// of its own and the two Device Setup edits the reply dispatcher uses. Made once per run.
class FuzzWindow {
  public:
    FuzzWindow() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "velmor-link-fuzz-XXXXXX").string();
        dir_ = ::mkdtemp(pattern.data());
        files::set_settings_directory(dir_);
        win::SetScreenSize(1280, 1024);
        forms::Application->Reset();
        forms::Application->CreateForm(&Form1);
        Form1->Show();
        win::PumpPending();
        if (!Form1->Ed_read_id)
            Form1->Ed_read_id = new forms::TEdit(Form1);
        if (!Form1->Ed_conn_id)
            Form1->Ed_conn_id = new forms::TEdit(Form1);
    }
    ~FuzzWindow() {
        delete Form1;
        Form1 = nullptr;
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    FuzzWindow(const FuzzWindow&) = delete;
    FuzzWindow& operator=(const FuzzWindow&) = delete;

    const std::filesystem::path& dir() const { return dir_; }

  private:
    clk::ManualClock clock_;
    clk::ScopedClock scoped_{clock_};
    std::filesystem::path dir_;
};

// Whether an ID edit shows what the dispatcher may write there: its start text or a decimal ID.
inline bool ShowsDecimalId(const std::string& text) {
    if (text.empty() || text.size() > 3)
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return std::stoi(text) <= 255;
}

}  // namespace link_fuzz
