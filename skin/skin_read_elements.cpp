// The readers of the element sections of a skin description.
#include "skin/builtin_bitmaps.h"
#include "skin/skin_data_core.h"

namespace skin {

namespace {

// "Tile" and "Stretch" keys: a value above 1 becomes `above`.
int32_t clamp_tile(int32_t v, int32_t above) {
    return v > 1 ? above : v;
}

std::string key(std::string_view a, std::string_view b) {
    std::string k(a);
    k += b;
    return k;
}

}  // namespace

gdi::Color TSkinDataCore::GetColor(std::string_view section, std::string_view name,
                                   gdi::Color def) const {
    return GetColor(ini_->FindSection(section), name, def);
}

gdi::Color TSkinDataCore::GetColor(int section, std::string_view name, gdi::Color def) const {
    const std::string_view text = ini_->Value(section, name);
    return text.empty() ? def : strcolor(text);
}

void TSkinDataCore::ReadCommon(TDataSkinObject& o, std::string_view name, int section,
                               bool with_frame) {
    o.IDName = name;
    o.style = ini_->ReadInteger(section, "Style", 0);
    o.r.left = ini_->ReadInteger(section, "LeftWidth", 0);
    o.r.right = ini_->ReadInteger(section, "RightWidth", 0);
    o.r.top = ini_->ReadInteger(section, "TopHeight", 0);
    o.r.bottom = ini_->ReadInteger(section, "BottomHeight", 0);
    if (with_frame) {
        o.frame = ini_->ReadInteger(section, "Frame", 0);
    }
    o.trans = ini_->ReadInteger(section, "Trans", 0);
    o.Tile = clamp_tile(ini_->ReadInteger(section, "Tile", 0), 0);
    o.Normalcolor = ini_->ReadInteger(section, "NormalColour", -1);
    o.Overcolor = ini_->ReadInteger(section, "MouseOverColour", -1);
    o.Downcolor = ini_->ReadInteger(section, "PressedColour", -1);
    const gdi::Color text = Colors[csButtonText];
    o.Normalcolor2 = GetColor(section, "NormalColour2", text);
    o.Overcolor2 = GetColor(section, "MouseOverColour2", text);
    o.Downcolor2 = GetColor(section, "PressedColour2", text);
}

std::unique_ptr<TDataSkinObject> TSkinDataCore::ReadObject(std::string_view name) {
    const int section = ini_->FindSection(name);
    const std::string_view image = ini_->Value(section, "Image");
    if (image.empty()) {
        return nullptr;
    }
    auto o = std::make_unique<TDataSkinObject>();
    ReadCommon(*o, name, section, true);
    Readbmp(o->Map, image);
    return o;
}

std::unique_ptr<TDataSkinBorder> TSkinDataCore::ReadObject2(std::string_view name,
                                                            std::string_view mask_key) {
    const int section = ini_->FindSection(name);
    const std::string_view image = ini_->Value(section, "Image");
    if (image.empty()) {
        return nullptr;
    }
    auto o = std::make_unique<TDataSkinBorder>();
    ReadCommon(*o, name, section, false);
    Readbmp(o->Map, image);
    const std::string_view mask = ini_->Value(section, mask_key);
    if (!mask.empty()) {
        Readbmp(o->MaskMap, mask);
    }
    return o;
}

std::unique_ptr<TDataSkinObject> TSkinDataCore::ReadProgress(std::string_view name) {
    const int section = ini_->FindSection(name);
    const std::string_view image = ini_->Value(section, "Bitmap");
    if (image.empty()) {
        return nullptr;
    }
    auto o = std::make_unique<TDataSkinObject>();
    o->IDName = name;
    o->style = ini_->ReadInteger(section, "Style", 0);
    o->r.left = ini_->ReadInteger(section, "LeftWidth", 0);
    o->r.right = ini_->ReadInteger(section, "RightWidth", 0);
    o->r.top = ini_->ReadInteger(section, "TopHeight", 0);
    o->r.bottom = ini_->ReadInteger(section, "BottomHeight", 0);
    o->trans = ini_->ReadInteger(section, "Trans", 0);
    o->Tile = clamp_tile(ini_->ReadInteger(section, "Tile", 0), 1);
    Readbmp(o->Map, image);
    return o;
}

std::unique_ptr<TDataSkinBoxLabel> TSkinDataCore::ReadBoxLabel(std::string_view name) {
    const int section = ini_->FindSection(name);
    const std::string_view image = ini_->Value(section, "Image");
    if (image.empty()) {
        return nullptr;
    }
    auto o = std::make_unique<TDataSkinBoxLabel>();
    ReadCommon(*o, name, section, false);
    Readbmp(o->Map, image);
    o->Alignment = ini_->ReadInteger(section, "BackgroundAlignment", 0);
    o->LeftShift = ini_->ReadInteger(section, "BackgroundLeftShift", 0);
    o->RightShift = ini_->ReadInteger(section, "BackgroundRightShift", 0);
    return o;
}

std::unique_ptr<TDataSkinObject> TSkinDataCore::ReadMenuBar() {
    const int personality = ini_->FindSection("Personality");
    const std::string_view image = ini_->Value(personality, "menuBar");
    if (image.empty()) {
        return nullptr;
    }
    auto o = std::make_unique<TDataSkinObject>();
    o->IDName = "MenuBar";
    o->r.top = 0;
    o->r.bottom = 0;
    o->Tile = clamp_tile(ini_->ReadInteger(personality, "TileMenu", 1), 1);
    o->r.left = ini_->ReadInteger(personality, "TileLeftMenu", 1);
    o->r.right = ini_->ReadInteger(personality, "TileRightMenu", 1);
    Readbmp(o->Map, image);
    return o;
}

void TSkinDataCore::ReadTrack() {
    TrackBar = ReadObject("Track");
    TrackBarVert = ReadObject("TRACKVERT");
    auto builtin = [](std::string_view name) {
        auto o = std::make_unique<TDataSkinObject>();
        o->IDName = name;
        o->Map = builtin_bitmap(name);
        o->r = {3, 3, 3, 3};
        o->Tile = 0;
        o->frame = 1;
        return o;
    };
    if (!TrackBar) {
        TrackBar = builtin("TRACK");
    }
    if (!TrackBarVert) {
        TrackBarVert = builtin("TRACKVERT");
    }
}

void TSkinDataCore::ReadBord() {
    const int personality = ini_->FindSection("Personality");
    for (size_t i = 0; i < border.size(); ++i) {
        auto b = std::make_unique<TDataSkinBorder>();
        const std::string_view name = border[i]->IDName;
        b->IDName = name;
        Readbmp(b->Map, ini_->Value(personality, name));
        const int32_t first = ini_->ReadInteger(personality, key(name, "TopHeight"), 0);
        const int32_t last = ini_->ReadInteger(personality, key(name, "BotHeight"), 0);
        if (i < 2) {  // left and right: fixed top and bottom heights
            b->r.top = first;
            b->r.bottom = last;
        } else {  // top and bottom: fixed left and right widths
            b->r.left = first;
            b->r.right = last;
        }
        b->frame = ini_->ReadInteger(personality, key(name, "Frame"), 1);
        b->Tile = clamp_tile(ini_->ReadInteger(personality, key(name, "Stretch"), 1), 1);
        b->trans = ini_->ReadInteger(personality, key(name, "Trans"), 1);
        border[i] = std::move(b);
    }
}

gdi::Color TSkinDataCore::ReadRGB(std::string_view section, std::string_view prefix,
                                  gdi::Color def) const {
    return ReadRGB(ini_->FindSection(section), prefix, def);
}

gdi::Color TSkinDataCore::ReadRGB(int section, std::string_view prefix, gdi::Color def) const {
    const int32_t r = ini_->ReadInteger(section, key(prefix, "R"), -1);
    const int32_t g = ini_->ReadInteger(section, key(prefix, "G"), -1);
    const int32_t b = ini_->ReadInteger(section, key(prefix, "B"), -1);
    if (r < 0 || g < 0 || b < 0) {
        return def;
    }
    return gdi::rgb(static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b));
}

void TSkinDataCore::ReadTitle() {
    auto t = std::make_unique<TDataSkinTitle>();
    const int personality = ini_->FindSection("Personality");
    t->IDName = "Title";
    Readbmp(t->Map, ini_->Value(personality, "TextBack"));
    t->r.left = ini_->ReadInteger(personality, "TextShift", 0);
    t->r.top = ini_->ReadInteger(personality, "TextShiftVert", 0);
    t->r.right = ini_->ReadInteger(personality, "TextRightClip", 0);
    t->r.bottom = 0;
    t->Aligment = ini_->ReadInteger(personality, "TextAlignment", 0);
    t->BackGround = ini_->ReadInteger(personality, "Textbackground", 0);
    t->FontHeight = ini_->ReadInteger("Fonts", "FontHeight", 14);
    t->backleft = ini_->ReadInteger(personality, "TXTBackleft", 0);
    t->backright = ini_->ReadInteger(personality, "TXTBackRight", 0);
    t->activetext = ReadRGB(personality, "ActiveText", kNoColor);
    t->inactivetext = ReadRGB(personality, "InActiveText", kNoColor);
    Title = std::move(t);
}

void TSkinDataCore::ReadButton() {
    auto b = std::make_unique<TDataSkinButton>();
    const int s = ini_->FindSection("Buttons");
    b->IDName = "Buttons";
    b->r.left = ini_->ReadInteger(s, "LeftWidth", 0);
    b->r.right = ini_->ReadInteger(s, "RightWidth", 0);
    b->r.top = ini_->ReadInteger(s, "TopHeight", 0);
    b->r.bottom = ini_->ReadInteger(s, "BottomHeight", 0);
    b->trans = ini_->ReadInteger(s, "Trans", 0);
    b->Tile = clamp_tile(ini_->ReadInteger(s, "Tile", 0), 0);
    Readbmp(b->Map, ini_->Value(s, "Bitmap"));
    Readbmp(b->CheckMap, ini_->Value(s, "CheckButton"));
    Readbmp(b->RadioMap, ini_->Value(s, "RadioButton"));
    b->Normalcolor = ini_->ReadInteger(s, "NormalColour", -1);
    b->Overcolor = ini_->ReadInteger(s, "MouseOverColour", -1);
    b->Downcolor = ini_->ReadInteger(s, "PressedColour", -1);
    b->radioframe = ini_->ReadInteger(s, "RadioButtonFrame", 0);
    b->checkframe = ini_->ReadInteger(s, "CheckButtonFrame", 0);
    b->newnormal = !ini_->Value(s, "NormalColour2").empty();
    b->newover = !ini_->Value(s, "MouseOverColour2").empty();
    b->newdown = !ini_->Value(s, "PressedColour2").empty();
    const gdi::Color text = Colors[csButtonText];
    b->Normalcolor2 = GetColor(s, "NormalColour2", text);
    b->Overcolor2 = GetColor(s, "MouseOverColour2", text);
    b->Downcolor2 = GetColor(s, "PressedColour2", text);
    Button = std::move(b);
}

}  // namespace skin
