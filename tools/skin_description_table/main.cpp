// skin_description_table: reads the description of a skin file the way the program reads it
// (TSkinDataCore::ReadDescription) and writes a C++ source whose read_built_in_description()
// fills a skin component with the same elements, colours and names without reading the text.
// Images the description names are referred to in the program's built-in package; images the
// reading made itself (copies, mirrors, the program's own track images) are written out.
// Run at build time over the built-in skin file.
// Usage: skin_description_table SKIN.skn OUT.cpp
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi/bmp.h"
#include "skin/data/ansi_text.h"
#include "skin/data/skin_reader.h"
#include "skin/data/skin_stream.h"
#include "skin/skin_data_core.h"
#include "tools/source_writing/pixel_array.h"

namespace {

using skin::TDataSkinObject;

// An image the table refers to.
struct TableImage {
    std::string name;  // a package image: its lower-cased name; else empty
    int index = -1;    // its place among the package's images
    gdi::Bitmap bitmap;
};

// A package image as the program's built-in images hold it.
struct PackageImage {
    std::string name;
    int index;
    gdi::Bitmap bitmap;
};

bool same_image(const gdi::Bitmap& a, const gdi::Bitmap& b) {
    return a == b && a.transparent() == b.transparent() &&
           a.transparent_color() == b.transparent_color();
}

class Writer {
  public:
    explicit Writer(std::vector<PackageImage> package) : package_(std::move(package)) {}

    // The index of bitmap among the table's images, added when new; -1 for an empty one.
    int image(const gdi::Bitmap& bitmap) {
        if (bitmap.empty()) {
            return -1;
        }
        for (size_t i = 0; i < images_.size(); ++i) {
            if (same_image(images_[i].bitmap, bitmap)) {
                return static_cast<int>(i);
            }
        }
        TableImage t;
        t.bitmap = bitmap;
        for (const PackageImage& p : package_) {
            if (p.bitmap == bitmap) {
                t.name = p.name;
                t.index = p.index;
                break;
            }
        }
        images_.push_back(std::move(t));
        return static_cast<int>(images_.size() - 1);
    }

    // C++ statements that make the element o and hand it to target ("s.tab = " or
    // "s.SysBtn.push_back(").
    std::string element(const TDataSkinObject& o, const std::string& store,
                        const std::string& close) {
        std::string cls = "TDataSkinObject";
        std::string extra;
        if (const auto* b = dynamic_cast<const skin::TDataSkinSysButton*>(&o)) {
            cls = "TDataSkinSysButton";
            extra += field("Action", b->Action) + field("Align", b->Align) +
                     field("XCoord", b->XCoord) + field("YCoord", b->YCoord) +
                     field("CombineOp", b->CombineOp) + field("Visibility", b->Visibility) +
                     field("Visibility1", b->Visibility1);
        } else if (const auto* b = dynamic_cast<const skin::TDataSkinButton*>(&o)) {
            cls = "TDataSkinButton";
            extra += bitmap_field("CheckMap", b->CheckMap) + bitmap_field("RadioMap", b->RadioMap) +
                     field("radioframe", b->radioframe) + field("checkframe", b->checkframe) +
                     flag("newnormal", b->newnormal) + flag("newover", b->newover) +
                     flag("newdown", b->newdown);
        } else if (const auto* t = dynamic_cast<const skin::TDataSkinTitle*>(&o)) {
            cls = "TDataSkinTitle";
            extra += field("Aligment", t->Aligment) + field("BackGround", t->BackGround) +
                     field("FontHeight", t->FontHeight) + field("backleft", t->backleft) +
                     field("backright", t->backright) + colour("activetext", t->activetext) +
                     colour("inactivetext", t->inactivetext);
        } else if (const auto* l = dynamic_cast<const skin::TDataSkinBoxLabel*>(&o)) {
            cls = "TDataSkinBoxLabel";
            extra += field("LeftShift", l->LeftShift) + field("RightShift", l->RightShift) +
                     field("Alignment", l->Alignment);
        } else if (const auto* d = dynamic_cast<const skin::TDataSkinBorder*>(&o)) {
            cls = "TDataSkinBorder";
            extra += bitmap_field("MaskMap", d->MaskMap);
        }
        char fields[512];
        std::snprintf(fields, sizeof fields,
                      "{%s, %d, %d, %d, %d, %d, %d, %d, %d, %d, %d, %d, 0x%08Xu, 0x%08Xu, "
                      "0x%08Xu, %d}",
                      quoted(o.IDName).c_str(), o.r.left, o.r.top, o.r.right, o.r.bottom, o.trans,
                      o.Tile, o.frame, o.style, o.Normalcolor, o.Overcolor, o.Downcolor,
                      o.Normalcolor2, o.Overcolor2, o.Downcolor2, image(o.Map));
        return "    {\n        auto o = built_in_element<" + cls + ">(" + fields + ", images);\n" +
               extra + "        " + store + "std::move(o)" + close + ";\n    }\n";
    }

    std::string images_source() const {
        std::string s;
        for (size_t k = 0; k < images_.size(); ++k) {
            if (images_[k].name.empty()) {
                tools::AppendPixelArray(s, "kOwnPixels" + std::to_string(k), images_[k].bitmap);
            }
        }
        s += "const BuiltInImage kImages[] = {\n";
        for (size_t k = 0; k < images_.size(); ++k) {
            const TableImage& t = images_[k];
            const bool own = t.name.empty();
            char key[16];
            std::snprintf(key, sizeof key, "0x%08Xu", t.bitmap.transparent_color());
            s += "    {" + (own ? std::string("nullptr") : quoted(t.name)) + ", " +
                 std::to_string(t.index) + ", " + std::to_string(t.bitmap.width()) + ", " +
                 std::to_string(t.bitmap.height()) + ", " +
                 (own ? "kOwnPixels" + std::to_string(k) : std::string("nullptr")) + ", " +
                 (t.bitmap.transparent() ? "true" : "false") + ", " + key + "},\n";
        }
        if (images_.empty()) {
            s += "    {nullptr, -1, 0, 0, nullptr, false, 0u},\n";
        }
        s += "};\n\n";
        return s;
    }

    static std::string quoted(const std::string& text) {
        std::string q = "\"";
        char buf[8];
        for (const char c : text) {
            const auto u = static_cast<unsigned char>(c);
            if (c == '"' || c == '\\' || u < 0x20 || u >= 0x7F || c == '?') {
                std::snprintf(buf, sizeof buf, "\\%03o", u);
                q += buf;
            } else {
                q += c;
            }
        }
        return q + "\"";
    }

  private:
    static std::string field(const char* name, int32_t v) {
        return std::string("        o->") + name + " = " + std::to_string(v) + ";\n";
    }
    static std::string flag(const char* name, bool v) {
        return std::string("        o->") + name + " = " + (v ? "true" : "false") + ";\n";
    }
    static std::string colour(const char* name, uint32_t v) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "0x%08Xu", v);
        return std::string("        o->") + name + " = " + buf + ";\n";
    }
    std::string bitmap_field(const char* name, const gdi::Bitmap& b) {
        const int k = image(b);
        return k < 0
                   ? std::string()
                   : std::string("        o->") + name + " = images(" + std::to_string(k) + ");\n";
    }

    std::vector<PackageImage> package_;
    std::vector<TableImage> images_;
};

// The package's images in package order, as the BMP reader gives them: the order and names of
// the program's built-in images (skin_packer writes them so).
std::optional<std::vector<PackageImage>> package_images(const std::vector<uint8_t>& package) {
    skin::TSkinReader reader;
    if (!reader.LoadPackage(package)) {
        return std::nullopt;
    }
    std::vector<PackageImage> out;
    for (const std::string& entry : reader.Dir) {
        const std::string name = skin::ansi_lower(entry);
        if (!name.ends_with(".bmp")) {
            continue;
        }
        skin::TMemoryStream body;
        reader.readfile(entry, &body);
        gdi::BmpResult read = gdi::read_bmp(body.View());
        if (!read.ok()) {
            return std::nullopt;
        }
        out.push_back({name, static_cast<int>(out.size()), std::move(read.bitmap)});
    }
    return out;
}

std::string hex(uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08Xu", v);
    return buf;
}

std::string cpp_source(const skin::TSkinDataCore& s, Writer& w) {
    using skin::TShemeColor;
    std::string body;
    body += "    s.IniName = " + Writer::quoted(s.IniName) + ";\n";
    body += "    s.SkinName = " + Writer::quoted(s.SkinName) + ";\n";
    // The reading sets every colour slot but these: the caption colour comes later, from the
    // loaded images; the selection and disabled-text colours are not in a description.
    for (size_t i = 0; i < s.Colors.size(); ++i) {
        const auto slot = static_cast<TShemeColor>(i);
        if (slot == skin::csCaption || slot == skin::csSelectText || slot == skin::csSelectBg ||
            slot == skin::csTextDisable) {
            continue;
        }
        body += "    s.Colors[" + std::to_string(i) + "] = " + hex(s.Colors[i]) + ";\n";
    }
    for (size_t i = 0; i < s.hasColors.size(); ++i) {
        body += "    s.hasColors[" + std::to_string(i) +
                "] = " + (s.hasColors[i] ? "true" : "false") + ";\n";
    }
    body += "    s.ColorPreset.assign({";
    for (size_t i = 0; i < s.ColorPreset.size(); ++i) {
        body += (i ? ", " : "") + hex(s.ColorPreset[i]);
    }
    body += "});\n";
    for (size_t i = 0; i < s.PresetColors.size(); ++i) {
        body += "    s.PresetColors[" + std::to_string(i) + "] = " + hex(s.PresetColors[i]) + ";\n";
    }
    for (size_t i = 0; i < s.border.size(); ++i) {
        body += w.element(*s.border[i], "s.border[" + std::to_string(i) + "] = ", "");
    }
    body += "    s.SysBtn.clear();\n";
    for (const auto& b : s.SysBtn) {
        body += w.element(*b, "s.SysBtn.push_back(", ")");
    }
    body += w.element(*s.Button, "s.Button = ", "");
    body += w.element(*s.Title, "s.Title = ", "");
    // The elements a description may leave out (the component has cleared them before).
    const std::pair<const char*, const TDataSkinObject*> optional[] = {
        {"progress", s.progress.get()},
        {"progresschunk", s.progresschunk.get()},
        {"Menubar", s.Menubar.get()},
        {"Box", s.Box.get()},
        {"boxlabel", s.boxlabel.get()},
        {"tab", s.tab.get()},
        {"StatusBar", s.StatusBar.get()},
        {"TabSheet", s.TabSheet.get()},
        {"Toolbarbtn", s.Toolbarbtn.get()},
        {"combox", s.combox.get()},
        {"Comboxborder", s.Comboxborder.get()},
        {"ExtraImages", s.ExtraImages.get()},
        {"Header", s.Header.get()},
        {"MenuItem", s.MenuItem.get()},
        {"MenuitemBG", s.MenuitemBG.get()},
        {"SArrow", s.SArrow.get()},
        {"HBar", s.HBar.get()},
        {"VBar", s.VBar.get()},
        {"HSlider", s.HSlider.get()},
        {"VSlider", s.VSlider.get()},
        {"TrackHorz", s.TrackHorz.get()},
        {"TrackVert", s.TrackVert.get()},
        {"TrackLeft", s.TrackLeft.get()},
        {"Trackright", s.Trackright.get()},
        {"Tracktop", s.Tracktop.get()},
        {"Trackbottom", s.Trackbottom.get()},
        {"HSpin", s.HSpin.get()},
        {"VSpin", s.VSpin.get()},
        {"TrackBar", s.TrackBar.get()},
        {"TrackBarVert", s.TrackBarVert.get()},
        {"Toolbar", s.Toolbar.get()},
        {"comboxarrow", s.comboxarrow.get()},
    };
    for (const auto& [name, o] : optional) {
        if (o != nullptr) {
            body += w.element(*o, std::string("s.") + name + " = ", "");
        }
    }

    std::string out =
        "// Generated by skin_description_table from the built-in skin; do not edit.\n"
        "#include \"skin/built_in_description.h\"\n"
        "#include \"skin/skin_data_core.h\"\n\n"
        "namespace skin {\n\nnamespace {\n\n";
    out += w.images_source();
    out +=
        "}  // namespace\n\n"
        "bool read_built_in_description(TSkinDataCore& s) {\n"
        "    const BuiltInImages images(kImages);\n"
        "    if (!images.complete()) {\n"
        "        return false;\n"
        "    }\n";
    out += body;
    out += "    return true;\n}\n\n}  // namespace skin\n";
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: skin_description_table SKIN.skn OUT.cpp\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "skin_description_table: cannot read %s\n", argv[1]);
        return 1;
    }
    const std::vector<uint8_t> compressed((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    const std::optional<std::vector<uint8_t>> package = skin::decompress_bytes(compressed);
    if (!package) {
        std::fprintf(stderr, "skin_description_table: %s does not decode\n", argv[1]);
        return 1;
    }
    std::optional<std::vector<PackageImage>> images = package_images(*package);
    skin::TSkinDataCore core;
    if (!images || !core.ReadPackageDescription(*package)) {
        std::fprintf(stderr, "skin_description_table: %s is not a skin package\n", argv[1]);
        return 1;
    }
    Writer writer(std::move(*images));
    const std::string source = cpp_source(core, writer);
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << source;
    if (!out) {
        std::fprintf(stderr, "skin_description_table: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
