#include "skin/skin_data_core.h"

#include <algorithm>

#include "platform/gdi/bmp.h"
#include "skin/built_in_description.h"
#include "skin/data/skin_stream.h"
#include "skin/embedded_skin.h"

namespace skin {

namespace {

// The four window borders, in the order of `border`.
constexpr std::string_view kBorderNames[4] = {"Left", "Right", "Top", "Bottom"};

}  // namespace

TSkinDataCore::TSkinDataCore() {
    Button = std::make_unique<TDataSkinButton>();
    Title = std::make_unique<TDataSkinTitle>();
    for (size_t i = 0; i < border.size(); ++i) {
        border[i] = std::make_unique<TDataSkinBorder>();
        border[i]->IDName = kBorderNames[i];
    }
    // Until a description says otherwise every slot follows the system.
    Colors[csText] = system_color(kSysWindowText);
    Colors[csTitleTextActive] = system_color(kSysCaptionText);
    Colors[csTitleTextNoActive] = system_color(kSysInactiveCaptionText);
    Colors[csButtonFace] = system_color(kSysBtnFace);
    Colors[csButtonText] = system_color(kSysBtnText);
    Colors[csButtonHilight] = system_color(kSysBtnHighlight);
    Colors[csButtonlight] = system_color(kSysBtnHighlight);
    Colors[csButtonShadow] = system_color(kSysBtnShadow);
    Colors[csButtonDkshadow] = system_color(kSys3DDkShadow);
    Colors[csSelectText] = system_color(kSysHighlightText);
    Colors[csSelectBg] = system_color(kSysHighlight);
    Colors[csHilightText] = system_color(kSysHighlightText);
    Colors[csHilight] = system_color(kSysHighlight);
    Colors[csMenuBar] = system_color(kSysBtnFace);
    Colors[csMenuBarText] = system_color(kSysMenuText);
    Colors[csMenuText] = system_color(kSysMenuText);
    Colors[csMenubg] = system_color(kSysMenu);
    Colors[csCaption] = system_color(kSysActiveCaption);
    Colors[csScrollbar] = system_color(kSysScrollbar);
    Colors[csTextDisable] = system_color(kSysGrayText);
    PresetColors.fill(gdi::rgb(255, 255, 255));
    bgbrush.color = Color(csButtonFace);
}

TSkinDataCore::~TSkinDataCore() = default;

gdi::Color TSkinDataCore::Color(TShemeColor slot) const {
    return Resolve(Colors[static_cast<size_t>(slot)]);
}

bool TSkinDataCore::ReadData(TStream& in) {
    switch (ReadSkinStream(in, data)) {
        case SkinStreamRead::Loaded:
            return LoadSkin();
        case SkinStreamRead::NoSkin:
        case SkinStreamRead::Damaged:
            break;
    }
    data.Clear();
    Empty = true;
    return false;
}

void TSkinDataCore::WriteData(TStream& out) const {
    WriteSkinStream(out, data);
}

bool TSkinDataCore::LoadFromStream(TStream* stream) {
    if (stream == nullptr) {
        return false;
    }
    stream->SetPosition(0);
    data.Clear();
    data.CopyFrom(*stream, stream->Size());
    return LoadSkin();
}

bool TSkinDataCore::LoadFromFile(const std::string& name) {
    TMemoryStream file;
    if (!file.LoadFromFile(name)) {
        return false;
    }
    data = std::move(file);
    return LoadSkin();
}

bool TSkinDataCore::LoadFromCollection(TSkinCollection& store, int index) {
    if (index < 0 || index >= store.Count()) {
        return false;
    }
    data.Clear();
    store.Items(index)->CopyData(&data);
    return LoadSkin();
}

bool TSkinDataCore::LoadFromBytes(std::span<const uint8_t> compressed) {
    data = TMemoryStream(std::vector<uint8_t>(compressed.begin(), compressed.end()));
    return LoadSkin();
}

bool TSkinDataCore::LoadSkin() {
    Empty = true;
    TSkinReader reader;
    data.SetPosition(0);
    // The built-in skin was decoded when the program was built; any other bytes are decoded.
    const std::optional<std::span<const uint8_t>> built_in = embedded_package_for(data.View());
    // Even its description was read then: the elements come straight from that reading.
    if (built_in && LoadBuiltIn()) {
        return true;
    }
    const bool read =
        built_in ? reader.LoadPackageInPlace(*built_in) : reader.Loadfromstream(&data);
    if (!read) {
        if (reader.LastError() == SkinReadError::OlderVersion) {
            ShowSkinMessage(kOlderSkinFileMessage);
        }
        return false;
    }
    // Its images too were read when the program was built.
    built_in_images_ = built_in.has_value();
    return LoadFromReader(reader);
}

bool TSkinDataCore::LoadBuiltIn() {
    ClearElements();
    if (!read_built_in_description(*this)) {
        return false;
    }
    FinishLoading();
    return true;
}

bool TSkinDataCore::LoadFromPackage(std::vector<uint8_t> package) {
    Empty = true;
    TSkinReader reader;
    if (!reader.LoadPackage(std::move(package))) {
        if (reader.LastError() == SkinReadError::OlderVersion) {
            ShowSkinMessage(kOlderSkinFileMessage);
        }
        return false;
    }
    return LoadFromReader(reader);
}

bool TSkinDataCore::ReadPackageDescription(std::vector<uint8_t> package) {
    Empty = true;
    TSkinReader reader;
    if (!reader.LoadPackage(std::move(package))) {
        return false;
    }
    return LoadFromReader(reader, false);
}

bool TSkinDataCore::LoadFromReader(TSkinReader& reader, bool finish) {
    TQuickIni ini;
    TMemoryStream text;
    reader.readIni(".ini", &text, IniName);
    const std::span<const uint8_t> bytes = text.View();
    ini.LoadFromText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));

    // The reader and description live only while loading, also when it ends by an exception.
    struct Loading {
        TSkinDataCore* self;
        ~Loading() {
            self->built_in_images_ = false;
            self->reader_ = nullptr;
            self->ini_ = nullptr;
            self->scratch_.Clear();
        }
    } loading{this};
    reader_ = &reader;
    ini_ = &ini;
    ReadDescription();
    if (finish) {
        FinishLoading();
    }
    return true;
}

void TSkinDataCore::ClearElements() {
    for (auto* p :
         {&progress,     &progresschunk, &Menubar,     &Box,      &StatusBar,   &TabSheet,
          &Toolbarbtn,   &Comboxborder,  &ExtraImages, &Header,   &MenuItem,    &MenuitemBG,
          &SArrow,       &HBar,          &VBar,        &HSlider,  &VSlider,     &TrackHorz,
          &TrackVert,    &TrackLeft,     &Trackright,  &Tracktop, &Trackbottom, &TrackBar,
          &TrackBarVert, &Toolbar,       &comboxarrow}) {
        p->reset();
    }
    boxlabel.reset();
    tab.reset();
    combox.reset();
    HSpin.reset();
    VSpin.reset();
}

void TSkinDataCore::LoadFromIni() {
    if (ini_ == nullptr) {
        return;
    }
    ReadDescription();
    FinishLoading();
}

void TSkinDataCore::ReadDescription() {
    if (ini_ == nullptr) {
        return;
    }
    Empty = true;
    ClearElements();
    pixels_read_ = 0;
    ini_->ReadSections(&sections_);
    SkinName = ini_->ReadString("TitlebarSkin", "SkinName", "");
    ReadBord();
    ReadColor();
    ReadSysButton();
    ReadButton();
    ReadTitle();
    progress = ReadProgress("Progress");
    progresschunk = ReadObject("Progress.Chunk");
    Menubar = ReadMenuBar();
    Box = ReadObject("GroupBoxEdge");
    boxlabel = ReadBoxLabel("GroupBox");
    tab = ReadObject2("Tabs", "Border");
    StatusBar = ReadObject("StatusBarEdges");
    TabSheet = ReadObject("Tab.Pane");
    if (TabSheet) {
        for (int* m :
             {&TabSheet->r.left, &TabSheet->r.top, &TabSheet->r.right, &TabSheet->r.bottom}) {
            if (*m > 4) {
                *m = 4;
            }
        }
    }
    Toolbarbtn = ReadObject("ToolBars");
    combox = ReadObject2("ComboButton", "****");
    Comboxborder = ReadObject("SunkEdge");
    if (combox && !combox->Map.empty()) {
        combox->MaskMap = gdi::mirror_left_right(combox->Map);
    }
    ExtraImages = ReadObject("ExtraImages");
    Header = ReadObject("Headerbar");
    MenuItem = ReadObject("MenuItem");
    MenuitemBG = ReadObject("MenuBackground");
    SArrow = ReadObject("Scrollbar");
    HBar = ReadObject("HorzScroll");
    VBar = ReadObject("VertScroll");
    HSlider = ReadObject("HorzScrollThumb");
    VSlider = ReadObject("VertScrollThumb");
    TrackHorz = ReadObject("Trackbar.ThumbHorz");
    TrackVert = ReadObject("Trackbar.ThumbVert");
    TrackLeft = ReadObject("Trackbar.ThumbLeft");
    Trackright = ReadObject("Trackbar.ThumbRight");
    Tracktop = ReadObject("Trackbar.ThumbUp");
    Trackbottom = ReadObject("Trackbar.ThumbDown");
    HSpin = ReadObject2("UpDown.Horz", "GlyphImage");
    VSpin = ReadObject2("UpDown.Vert", "GlyphImage");
    ReadTrack();
    SetFrame();
}

void TSkinDataCore::FinishLoading() {
    ReBuildCombobox();
    ReBuildComboxArrow();
    RebuildToolbar();
    Colors[csCaption] = GetCaptionColor();
    bgbrush = gdi::Brush{gdi::BrushStyle::Solid, Color(csButtonFace)};
    Empty = false;
}

void TSkinDataCore::Readbmp(gdi::Bitmap& bmp, std::string_view name) {
    bmp = gdi::Bitmap();
    const size_t slash = name.find_last_of("\\/:");
    if (slash != std::string_view::npos) {
        name = name.substr(slash + 1);
    }
    const size_t dot = name.rfind('.');
    if (name.empty() || dot == std::string_view::npos || name.substr(dot) != ".bmp" ||
        reader_ == nullptr) {
        return;
    }
    if (built_in_images_) {
        if (const EmbeddedImage* image = find_embedded_image(name)) {
            // Read in place: an element image of the built-in skin gets pixels of its own only
            // when something changes it.
            bmp = gdi::Bitmap::view_of(image->width, image->height, image->pixels);
            return;
        }
    }
    reader_->readfile(name, &scratch_);
    if (scratch_.Size() == 0) {
        return;
    }
    gdi::BmpResult result = gdi::read_bmp(scratch_.View(), kMaxSkinPixels - pixels_read_);
    if (result.ok()) {
        pixels_read_ += static_cast<int64_t>(result.bitmap.width()) * result.bitmap.height();
        bmp = std::move(result.bitmap);
    }
}

std::vector<std::pair<std::string, const TDataSkinObject*>> TSkinDataCore::Elements() const {
    std::vector<std::pair<std::string, const TDataSkinObject*>> out;
    auto add = [&](std::string_view name, const TDataSkinObject* o) {
        if (o != nullptr) {
            out.emplace_back(std::string(name), o);
        }
    };
    add("Button", Button.get());
    add("Title", Title.get());
    for (size_t i = 0; i < border.size(); ++i) {
        add(std::string("border ") + std::string(kBorderNames[i]), border[i].get());
    }
    for (const auto& b : SysBtn) {
        add("SysBtn " + b->IDName, b.get());
    }
    add("progress", progress.get());
    add("progresschunk", progresschunk.get());
    add("Menubar", Menubar.get());
    add("Box", Box.get());
    add("boxlabel", boxlabel.get());
    add("tab", tab.get());
    add("StatusBar", StatusBar.get());
    add("TabSheet", TabSheet.get());
    add("Toolbarbtn", Toolbarbtn.get());
    add("combox", combox.get());
    add("Comboxborder", Comboxborder.get());
    add("comboxarrow", comboxarrow.get());
    add("ExtraImages", ExtraImages.get());
    add("Header", Header.get());
    add("MenuItem", MenuItem.get());
    add("MenuitemBG", MenuitemBG.get());
    add("SArrow", SArrow.get());
    add("HBar", HBar.get());
    add("VBar", VBar.get());
    add("HSlider", HSlider.get());
    add("VSlider", VSlider.get());
    add("TrackHorz", TrackHorz.get());
    add("TrackVert", TrackVert.get());
    add("TrackLeft", TrackLeft.get());
    add("Trackright", Trackright.get());
    add("Tracktop", Tracktop.get());
    add("Trackbottom", Trackbottom.get());
    add("HSpin", HSpin.get());
    add("VSpin", VSpin.get());
    add("TrackBar", TrackBar.get());
    add("TrackBarVert", TrackBarVert.get());
    add("Toolbar", Toolbar.get());
    return out;
}

}  // namespace skin
