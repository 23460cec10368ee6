#include "tools/skin_tool/skin_tool_commands.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/gdi/png.h"
#include "skin/data/ansi_text.h"
#include "skin/data/skin_stream.h"
#include "skin/embedded_skin.h"
#include "skin/skin_data_core.h"
#include "tools/skin_tool/contact_sheet.h"

namespace skin_tool {

namespace fs = std::filesystem;

namespace {

std::string describe(skin::SkinReadError e) {
    switch (e) {
        case skin::SkinReadError::OlderVersion:
            return "no known package format (older skin file)";
        case skin::SkinReadError::Damaged:
            return "damaged package (a length or count runs past its data)";
        case skin::SkinReadError::None:
            break;
    }
    return "unreadable";
}

std::string label(const std::string& path) {
    return path.empty() ? "the embedded skin" : path;
}

}  // namespace

std::optional<OpenedPackage> open_package(const std::string& path, std::ostream& err) {
    OpenedPackage p;
    if (path.empty()) {
        skin::TMemoryStream stored(std::vector<uint8_t>(skin::embedded_skin_stream().begin(),
                                                        skin::embedded_skin_stream().end()));
        skin::TMemoryStream data;
        if (skin::ReadSkinStream(stored, data) != skin::SkinStreamRead::Loaded) {
            err << "skin-tool: the embedded skin holds no skin\n";
            return std::nullopt;
        }
        p.compressed = data.Bytes();
    } else {
        skin::TMemoryStream file;
        if (!file.LoadFromFile(path)) {
            err << "skin-tool: cannot read " << path << "\n";
            return std::nullopt;
        }
        p.compressed = std::move(file.Bytes());
    }
    skin::TMemoryStream source(p.compressed);
    if (!p.reader.Loadfromstream(&source)) {
        err << "skin-tool: " << label(path)
            << " is not a skin package: " << describe(p.reader.LastError()) << "\n";
        return std::nullopt;
    }
    return p;
}

int list(const std::string& package, std::ostream& out, std::ostream& err) {
    auto p = open_package(package, err);
    if (!p) {
        return 1;
    }
    out << "Version " << p->reader.header.Version << "\n";
    for (int i = 0; i < p->reader.Num; ++i) {
        out << p->reader.Dir[static_cast<size_t>(i)] << " "
            << p->reader.sizes[static_cast<size_t>(i)] << "\n";
    }
    return 0;
}

bool safe_entry_name(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\:") == std::string::npos && name.find('\0') == std::string::npos;
}

int unpack(const std::string& dir, const std::string& package, std::ostream& out,
           std::ostream& err) {
    auto p = open_package(package, err);
    if (!p) {
        return 1;
    }
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) {
        err << "skin-tool: cannot create " << dir << ": " << ec.message() << "\n";
        return 1;
    }
    int written = 0;
    for (int i = 0; i < p->reader.Num; ++i) {
        const std::string& name = p->reader.Dir[static_cast<size_t>(i)];
        if (!safe_entry_name(name)) {
            err << "skin-tool: skipping the entry \"" << name << "\": not a plain file name\n";
            continue;
        }
        skin::TMemoryStream body;
        p->reader.readfile(name, &body);
        if (!body.SaveToFile((fs::path(dir) / name).string())) {
            err << "skin-tool: cannot write " << (fs::path(dir) / name).string() << "\n";
            return 1;
        }
        ++written;
    }
    out << written << " entries written to " << dir << "\n";
    return 0;
}

std::vector<skin::SkinPackageEntry> read_entries(const std::string& dir, std::ostream& err,
                                                 bool& ok) {
    ok = false;
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec)) {
        if (e.is_regular_file()) {
            names.push_back(e.path().filename().string());
        }
    }
    if (ec) {
        err << "skin-tool: cannot read the directory " << dir << ": " << ec.message() << "\n";
        return {};
    }
    std::sort(names.begin(), names.end());
    const auto ini = std::find_if(names.begin(), names.end(), [](const std::string& n) {
        return skin::ansi_lower(n).find(".ini") != std::string::npos;
    });
    if (ini == names.end()) {
        err << "skin-tool: " << dir << " has no description (a file whose name has \".ini\")\n";
        return {};
    }
    std::rotate(names.begin(), ini, ini + 1);
    std::vector<skin::SkinPackageEntry> entries;
    for (const std::string& n : names) {
        skin::TMemoryStream body;
        if (!body.LoadFromFile((fs::path(dir) / n).string())) {
            err << "skin-tool: cannot read " << n << "\n";
            return {};
        }
        entries.push_back({skin::ansi_lower(n), std::move(body.Bytes())});
    }
    if (entries.size() > static_cast<size_t>(skin::TSkinReader::kMaxEntries)) {
        err << "skin-tool: a package holds at most " << skin::TSkinReader::kMaxEntries
            << " entries\n";
        return {};
    }
    ok = true;
    return entries;
}

int pack(const std::string& dir, const std::string& package, std::ostream& out, std::ostream& err) {
    bool ok = false;
    const std::vector<skin::SkinPackageEntry> entries = read_entries(dir, err, ok);
    if (!ok) {
        return 1;
    }
    const std::vector<uint8_t> compressed =
        skin::compress_bytes(skin::build_skin_package(40000, entries));
    skin::TMemoryStream file(compressed);
    if (!file.SaveToFile(package)) {
        err << "skin-tool: cannot write " << package << "\n";
        return 1;
    }
    out << entries.size() << " entries packed into " << package << " (" << compressed.size()
        << " bytes)\n";
    return 0;
}

int sheet(const std::string& png, const std::string& package, std::ostream& out,
          std::ostream& err) {
    auto p = open_package(package, err);
    if (!p) {
        return 1;
    }
    skin::TSkinDataCore skin;
    if (!skin.LoadFromBytes(p->compressed) || skin.Empty) {
        err << "skin-tool: " << label(package) << " does not load as a skin\n";
        return 1;
    }
    const gdi::Bitmap picture = draw_contact_sheet(skin);
    if (!gdi::write_png_file(png, picture)) {
        err << "skin-tool: cannot write " << png << "\n";
        return 1;
    }
    out << "contact sheet " << picture.width() << " x " << picture.height() << " written to " << png
        << "\n";
    return 0;
}

}  // namespace skin_tool
