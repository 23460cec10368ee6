#include "skin/data/quick_ini.h"

#include <stdexcept>

#include "platform/text/str_to_int.h"
#include "skin/data/ansi_text.h"
#include "skin/data/skin_stream.h"

namespace skin {

namespace {

bool is_section_header(std::string_view trimmed) {
    return trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']';
}

// The lower-cased, trimmed text before the first '=', or empty without '='.
std::string key_name(std::string_view line) {
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
        return {};
    }
    return ansi_lower(trim(line.substr(0, eq)));
}

void require(const void* out) {
    if (out == nullptr) {
        throw std::logic_error("The parameter Strings is unassigned!");
    }
}

}  // namespace

void TQuickIni::LoadFromStream(TStream* stream) {
    if (stream == nullptr) {
        return;
    }
    std::string text(stream->Remaining(), '\0');
    const size_t got = stream->Read(text.data(), text.size());
    text.resize(got);
    FIniFile.clear();
    FSections.clear();
    for (const std::string& raw : split_lines(text)) {
        const std::string_view line = trim(raw);
        if (line.empty() || line.front() == ';') {
            continue;
        }
        FIniFile.emplace_back(line);
    }
    RebuildSections();
}

bool TQuickIni::LoadFromFile(const std::string& name) {
    TMemoryStream file;
    if (!file.LoadFromFile(name)) {
        return false;
    }
    FFileName = name;
    LoadFromStream(&file);
    return true;
}

bool TQuickIni::LoadFromZip(const std::string& name) {
    TMemoryStream file;
    if (!file.LoadFromFile(name)) {
        return false;
    }
    TMemoryStream text;
    if (!Decompress(&file, &text)) {
        return false;
    }
    FFileName = name;
    text.SetPosition(0);
    LoadFromStream(&text);
    return true;
}

void TQuickIni::RebuildSections() {
    FSections.clear();
    for (size_t i = 0; i < FIniFile.size(); ++i) {
        if (is_section_header(FIniFile[i])) {
            FSections.emplace_back(FIniFile[i], static_cast<int>(i));
        }
    }
}

void TQuickIni::Clear() {
    FIniFile.clear();
    FSections.clear();
}

int TQuickIni::find_section(std::string_view section) const {
    // The header is "[" section "]": its name compared in place, without a bracketed copy of
    // the name looked for at every key read.
    for (const Section& s : FSections) {
        const std::string_view header = s.first;
        if (header.size() == section.size() + 2 &&
            ansi_same_text(header.substr(1, section.size()), section)) {
            return s.second;
        }
    }
    return -1;
}

int TQuickIni::find_key(int header, std::string_view ident, int& end) const {
    int found = -1;
    int i = header + 1;
    for (; i < static_cast<int>(FIniFile.size()); ++i) {
        const std::string_view line = FIniFile[static_cast<size_t>(i)];
        if (is_section_header(trim(line))) {
            break;
        }
        // The key compared in place: a description is read key by key, and a lower-cased copy
        // of every line passed over made up most of the reading.
        if (found < 0) {
            const size_t eq = line.find('=');
            const std::string_view name =
                eq == std::string_view::npos ? std::string_view() : trim(line.substr(0, eq));
            if (ansi_same_text(name, ident)) {
                found = i;
            }
        }
    }
    end = i;
    return found;
}

void TQuickIni::ReadSections(std::vector<std::string>* out) const {
    require(out);
    out->clear();
    for (const Section& s : FSections) {
        const std::string_view h = s.first;
        out->emplace_back(trim(h.substr(1, h.size() - 2)));
    }
}

void TQuickIni::ReadSection(std::string_view section, std::vector<std::string>* out) const {
    require(out);
    out->clear();
    const int header = find_section(section);
    if (header < 0) {
        return;
    }
    for (size_t i = static_cast<size_t>(header) + 1; i < FIniFile.size(); ++i) {
        if (is_section_header(trim(FIniFile[i]))) {
            break;
        }
        std::string name = key_name(FIniFile[i]);
        if (!name.empty()) {
            out->push_back(std::move(name));
        }
    }
}

void TQuickIni::ReadSectionValues(std::string_view section, std::vector<std::string>* out) const {
    require(out);
    out->clear();
    const int header = find_section(section);
    if (header < 0) {
        return;
    }
    for (size_t i = static_cast<size_t>(header) + 1; i < FIniFile.size(); ++i) {
        if (is_section_header(trim(FIniFile[i]))) {
            break;
        }
        out->push_back(FIniFile[i]);
    }
}

std::string TQuickIni::ReadString(std::string_view section, std::string_view ident,
                                  std::string_view def) const {
    const int header = find_section(section);
    if (header < 0) {
        return std::string(def);
    }
    int end = 0;
    const int line = find_key(header, ident, end);
    if (line < 0) {
        return std::string(def);
    }
    const std::string& text = FIniFile[static_cast<size_t>(line)];
    const std::string_view value = trim(std::string_view(text).substr(text.find('=') + 1));
    return value.empty() ? std::string(def) : std::string(value);
}

int32_t TQuickIni::ReadInteger(std::string_view section, std::string_view ident,
                               int32_t def) const {
    std::string value = ReadString(section, ident, "");
    if (value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X')) {
        value.replace(0, 2, 1, '$');
    }
    return text::str_to_int_def(value, def);
}

bool TQuickIni::ReadBool(std::string_view section, std::string_view ident, bool def) const {
    return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TQuickIni::WriteString(std::string_view section, std::string_view ident,
                            std::string_view value) {
    std::string line = std::string(trim(ident)) + "=";
    for (const char c : value) {
        line += (c == '\r' || c == '\n' || c == '\0') ? ' ' : c;
    }
    const int header = find_section(section);
    if (header < 0) {
        std::string head(1, '[');
        head.append(trim(section)).push_back(']');
        FIniFile.push_back(std::move(head));
        FIniFile.push_back(std::move(line));
        RebuildSections();
        return;
    }
    int end = 0;
    const int at = find_key(header, ident, end);
    if (at >= 0) {
        FIniFile[static_cast<size_t>(at)] = std::move(line);
        return;
    }
    FIniFile.insert(FIniFile.begin() + end, std::move(line));
    RebuildSections();
}

void TQuickIni::WriteInteger(std::string_view section, std::string_view ident, int32_t value) {
    WriteString(section, ident, std::to_string(value));
}

void TQuickIni::WriteBool(std::string_view section, std::string_view ident, bool value) {
    WriteString(section, ident, value ? "1" : "0");
}

void TQuickIni::DeleteKey(std::string_view section, std::string_view ident) {
    const int header = find_section(section);
    if (header < 0) {
        return;
    }
    int end = 0;
    const int at = find_key(header, ident, end);
    if (at >= 0) {
        FIniFile.erase(FIniFile.begin() + at);
        RebuildSections();
    }
}

void TQuickIni::EraseSection(std::string_view section) {
    const int header = find_section(section);
    if (header < 0) {
        return;
    }
    int end = 0;
    find_key(header, "", end);
    FIniFile.erase(FIniFile.begin() + header, FIniFile.begin() + end);
    RebuildSections();
}

void TQuickIni::SaveToStream(TStream* stream) const {
    for (const std::string& line : FIniFile) {
        stream->Write(line.data(), line.size());
        stream->Write("\r\n", 2);
    }
}

bool TQuickIni::SaveToFile(const std::string& name) const {
    TMemoryStream out;
    SaveToStream(&out);
    return out.SaveToFile(name);
}

bool TQuickIni::SavetoZip(const std::string& name) const {
    TMemoryStream text;
    SaveToStream(&text);
    text.SetPosition(0);
    TMemoryStream out;
    Compress(&text, &out);
    return out.SaveToFile(name);
}

void TQuickIni::Compress(TStream* in, TStream* out) {
    CompressStream(*in, *out);
}

bool TQuickIni::Decompress(TStream* in, TStream* out) {
    return DecompressStream(*in, *out);
}

}  // namespace skin
