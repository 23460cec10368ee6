#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/color.h"
#include "platform/gdi/dc.h"
#include "skin/data/memory_stream.h"
#include "skin/data/quick_ini.h"
#include "skin/data/skin_reader.h"
#include "skin/data/skin_store.h"
#include "skin/skin_colors.h"
#include "skin/skin_elements.h"
#include "skin/skin_gradient.h"

namespace skin {

// What the skin's images are measured against and how system colours resolve; the windowing
// layer fills these in from its own metrics and colours.
struct SkinSystemInfo {
    // Width of a horizontal scroll-bar arrow (SM_CXHSCROLL).
    int hscroll_arrow_width = 17;
    // The colour of a system colour index (GetSysColor).
    std::function<gdi::Color(int)> sys_color = classic_system_color;
};

// The data side of the skin component: the compressed skin it holds, the element objects and
// colours its description yields, and the loading that fills them. The run-time component that
// skins windows owns or derives from this class.
class TSkinDataCore {
  public:
    TSkinDataCore();
    virtual ~TSkinDataCore();
    TSkinDataCore(const TSkinDataCore&) = delete;
    TSkinDataCore& operator=(const TSkinDataCore&) = delete;

    // --- loading ----------------------------------------------------------------------------
    // The stored property: reads N and the compressed bytes, then loads them. N <= 0 leaves the
    // component without a skin. Returns whether a skin was loaded.
    bool ReadData(TStream& in);
    // Writes the held compressed bytes back unchanged (N, then the bytes when N > 0).
    void WriteData(TStream& out) const;
    // Replace the compressed bytes and load them.
    bool LoadFromStream(TStream* stream);
    // False, with nothing changed, when the file cannot be read.
    bool LoadFromFile(const std::string& name);
    bool LoadFromCollection(TSkinCollection& store, int index);
    bool LoadFromBytes(std::span<const uint8_t> compressed);
    // Loads the held compressed bytes: package, description, images. A failed load leaves the
    // component Empty.
    bool LoadSkin();
    // Loads an already decompressed package (tools and tests); the held compressed bytes stay
    // as they are.
    bool LoadFromPackage(std::vector<uint8_t> package);

    // Runs the description reading over the loaded package and description: ReadDescription,
    // then FinishLoading.
    void LoadFromIni();
    // What the description and the package's images alone give: every element, colour and
    // title-bar button, the frame counts set. The same on every machine, so the built-in
    // skin's is made when the program is built (read_built_in_description).
    void ReadDescription();
    // What depends on the machine too (the scroll-bar arrow width, the system colours): the
    // combo box and toolbar images, the caption colour, the background brush; then the
    // component holds a skin (not Empty).
    void FinishLoading();
    // Reads only the description of a decompressed package (ReadDescription): the build's
    // table of the built-in skin is made from this. The component stays Empty.
    bool ReadPackageDescription(std::vector<uint8_t> package);

    // Called with the text to show when a package is refused as an older format (the run-time
    // component shows it in a message box).
    virtual void ShowSkinMessage(std::string_view /*text*/) {}

    // --- the reading steps ----------------------------------------------------------------
    void ReadBord();
    void ReadColor();
    void ReadColor2(std::string_view key, TShemeColor slot, gdi::Color def);
    void ReadSysButton();
    void CreateMdibtn();
    void ReadButton();
    void ReadTitle();
    gdi::Color ReadRGB(std::string_view section, std::string_view prefix, gdi::Color def) const;
    // The same for a section already looked up (TQuickIni::FindSection).
    gdi::Color ReadRGB(int section, std::string_view prefix, gdi::Color def) const;
    std::unique_ptr<TDataSkinObject> ReadProgress(std::string_view section);
    std::unique_ptr<TDataSkinObject> ReadObject(std::string_view section);
    std::unique_ptr<TDataSkinBorder> ReadObject2(std::string_view section,
                                                 std::string_view mask_key);
    std::unique_ptr<TDataSkinObject> ReadMenuBar();
    std::unique_ptr<TDataSkinBoxLabel> ReadBoxLabel(std::string_view section);
    void ReadTrack();
    void SetFrame();
    void ReBuildCombobox();
    void ReBuildComboxArrow();
    void RebuildToolbar();
    gdi::Color GetCaptionColor() const;
    // A colour text of the description, or def when the key is missing or empty.
    gdi::Color GetColor(std::string_view section, std::string_view key, gdi::Color def) const;
    gdi::Color GetColor(int section, std::string_view key, gdi::Color def) const;
    bool GetPrecolor(gdi::Color& out, int index) const;

    // Loads a package image into bmp: empty unless the name (any directory part stripped)
    // ends in exactly ".bmp" and the package has a non-empty entry of that name that reads as
    // a BMP file.
    void Readbmp(gdi::Bitmap& bmp, std::string_view name);

    // A colour slot with system colours resolved.
    gdi::Color Color(TShemeColor slot) const;
    gdi::Color Resolve(gdi::Color c) const { return resolve_color(c, system.sys_color); }

    // --- state -------------------------------------------------------------------------------
    SkinSystemInfo system;
    TMemoryStream data;  // the compressed skin, kept to be written back unchanged
    bool Empty = true;
    std::string SkinName;
    std::string IniName;  // the description's name in the package

    std::array<gdi::Color, kSchemeColorCount> Colors{};
    std::array<bool, kSchemeColorCount> hasColors{};
    std::vector<gdi::Color> ColorPreset;
    std::array<gdi::Color, 10> PresetColors{};
    gdi::Brush bgbrush;

    // Always present.
    std::unique_ptr<TDataSkinButton> Button;
    std::unique_ptr<TDataSkinTitle> Title;
    std::array<std::unique_ptr<TDataSkinBorder>, 4> border;  // Left, Right, Top, Bottom
    std::vector<std::unique_ptr<TDataSkinSysButton>> SysBtn;

    // Present when the description names their image.
    std::unique_ptr<TDataSkinObject> progress, progresschunk, Menubar, Box, StatusBar, TabSheet,
        Toolbarbtn, Comboxborder, ExtraImages, Header, MenuItem, MenuitemBG, SArrow, HBar, VBar,
        HSlider, VSlider, TrackHorz, TrackVert, TrackLeft, Trackright, Tracktop, Trackbottom,
        TrackBar, TrackBarVert, Toolbar, comboxarrow;
    std::unique_ptr<TDataSkinBoxLabel> boxlabel;
    std::unique_ptr<TDataSkinBorder> tab, combox, HSpin, VSpin;

    GradientCache gradients;

    // Every element object present, with the name it is known by (listings, contact sheet).
    std::vector<std::pair<std::string, const TDataSkinObject*>> Elements() const;

  private:
    // The steps after the package has been taken apart; without finish only the
    // description's own part (ReadDescription).
    bool LoadFromReader(TSkinReader& reader, bool finish = true);
    // The built-in skin from the table the build made of its description; false when the
    // program carries none.
    bool LoadBuiltIn();
    void ClearElements();
    // Reads the keys every generic element shares from the section named name, already looked
    // up.
    void ReadCommon(TDataSkinObject& o, std::string_view name, int section, bool with_frame);

    std::vector<std::string> sections_;
    // Only while loading.
    TSkinReader* reader_ = nullptr;
    bool built_in_images_ = false;  // the package is the built-in one: images read at build
    TQuickIni* ini_ = nullptr;
    int colours_ = -1;  // the [Colours] section while its keys are read
    TMemoryStream scratch_;
    // The pixels of the pictures read for this skin so far. A skin's pictures together may
    // hold at most kMaxSkinPixels (128 MB); a picture past that is left out like a missing one,
    // so that a small damaged package cannot claim gigabytes through run-length codes.
    static constexpr int64_t kMaxSkinPixels = 32ll * 1024 * 1024;
    int64_t pixels_read_ = 0;
};

}  // namespace skin
