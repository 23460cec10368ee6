// The title-bar buttons of a skin description.
#include "skin/data/ansi_text.h"
#include "skin/skin_data_core.h"

namespace skin {

namespace {

bool is_title_button_section(const std::string& upper) {
    return upper.rfind("BUTTON", 0) == 0 && upper != "BUTTONS" && upper != "BUTTON.RADIO" &&
           upper != "BUTTON.CHECKBOX" && upper != "BUTTON";
}

}  // namespace

void TSkinDataCore::ReadSysButton() {
    SysBtn.clear();
    bool have_position = false;
    int32_t copy_x = 0;
    int32_t copy_y = 0;
    for (const std::string& section : sections_) {
        const std::string upper = ansi_upper(section);
        if (!is_title_button_section(upper)) {
            continue;
        }
        const int sec = ini_->FindSection(section);
        const int32_t action = ini_->ReadInteger(sec, "Action", 0);
        if (action == -1 && ini_->ReadInteger(sec, "Visibility", -1) != 0) {
            continue;
        }
        auto b = std::make_unique<TDataSkinSysButton>();
        b->IDName = upper;
        b->Action = action;
        b->Align = ini_->ReadInteger(sec, "Align", 0);
        b->XCoord = ini_->ReadInteger(sec, "Xcoord", 0);
        b->YCoord = ini_->ReadInteger(sec, "Ycoord", 0);
        b->Visibility = ini_->ReadInteger(sec, "Visibility", 0);
        b->Visibility1 = ini_->ReadInteger(sec, "Visibility1", action == -1 ? -1 : 0);
        b->CombineOp = ini_->ReadInteger(sec, "CombineOp", -1);
        b->frame = ini_->ReadInteger(sec, "frame", 0);
        Readbmp(b->Map, ini_->Value(sec, "ButtonImage"));

        // A button with action 4 sits where the one with action 1 and visibility 2 sits; one
        // that comes before any such button keeps its own place.
        if (b->Action == 1 && b->Visibility == 2) {
            have_position = true;
            copy_x = b->XCoord;
            copy_y = b->YCoord;
        } else if (b->Action == 4 && have_position) {
            b->XCoord = copy_x;
            b->YCoord = copy_y;
        }

        if (b->frame == 0) {
            b->frame = 6;
            if (!b->Map.empty()) {
                const double ratio =
                    static_cast<double>(b->Map.width()) / static_cast<double>(b->Map.height());
                b->frame = ratio <= 3.8 ? 3 : 6;
            }
            if (b->Action < 0) {
                b->frame = 6;
            }
            // Drawn from the window icon instead.
            if (b->Action == 3 || b->Action == 11) {
                b->Map = gdi::Bitmap();
            }
        }
        SysBtn.push_back(std::move(b));
    }
    // The caption buttons of a maximized child window, shown in the menu bar.
    for (int32_t action : {7, 8, 9}) {
        auto b = std::make_unique<TDataSkinSysButton>();
        b->IDName = "MDIBUTTON" + std::to_string(action);
        b->Action = action;
        b->Align = 100;
        b->Visibility = 100;
        b->Visibility1 = 100;
        b->frame = 4;
        SysBtn.push_back(std::move(b));
    }
    CreateMdibtn();
}

void TSkinDataCore::CreateMdibtn() {
    const std::string_view image = ini_->Value(ini_->FindSection("MDICONTROLS"), "Image");
    if (image.empty() || SysBtn.size() < 3) {
        return;
    }
    gdi::Bitmap source;
    Readbmp(source, image);
    if (source.empty()) {
        return;
    }
    const int a = source.width() / 12;
    const int h = source.height();
    for (int j = 0; j < 3; ++j) {
        TDataSkinSysButton& b = *SysBtn[SysBtn.size() - 3 + static_cast<size_t>(j)];
        b.Map = source.copy(gdi::Rect::from_xywh(4 * a * j, 0, 4 * a, h));
        b.XCoord = (a + 4) * (3 - j);
    }
}

}  // namespace skin
