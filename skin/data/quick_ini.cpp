#include "skin/data/quick_ini.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>

#include "platform/text/str_to_int.h"
#include "skin/data/ansi_text.h"
#include "skin/data/skin_stream.h"

namespace skin {

namespace {

bool is_section_header(std::string_view trimmed) {
    return trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']';
}

// Whether a stored line is a section header. Stored lines begin with their first visible
// character, so a line that does not begin with '[' is passed over at once.
bool is_header_line(std::string_view line) {
    return !line.empty() &&
           (line.front() == '[' || static_cast<unsigned char>(line.front()) <= ' ') &&
           is_section_header(trim(line));
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

TQuickIni& TQuickIni::operator=(const TQuickIni& other) {
    if (this == &other) {
        return *this;
    }
    std::deque<std::string> lines(other.FIniFile.begin(), other.FIniFile.end());
    FText.clear();
    FWritten = std::move(lines);
    FIniFile.assign(FWritten.begin(), FWritten.end());
    FSections = other.FSections;
    FKeySigs = other.FKeySigs;
    FAuto = other.FAuto;
    FFileName = other.FFileName;
    return *this;
}

void TQuickIni::LoadFromStream(TStream* stream) {
    if (stream == nullptr) {
        return;
    }
    std::string text(stream->Remaining(), '\0');
    const size_t got = stream->Read(text.data(), text.size());
    text.resize(got);
    LoadFromText(text);
}

void TQuickIni::LoadFromText(std::string_view text) {
    // Lines end at CR, LF or CR LF, the text at a NUL byte; each line is kept trimmed, without
    // the empty ones and the comments, in place in one copy of the text.
    if (const size_t nul = text.find('\0'); nul != std::string_view::npos) {
        text = text.substr(0, nul);
    }
    std::string copy(text);
    FIniFile.clear();
    FSections.clear();
    FWritten.clear();
    FText = std::move(copy);
    text = FText;
    auto keep = [this](std::string_view raw) {
        const std::string_view line = trim(raw);
        if (!line.empty() && line.front() != ';') {
            FIniFile.emplace_back(line);
        }
    };
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        keep(text.substr(start, i - start));
        ++i;
        if (c == '\r' && i < text.size() && text[i] == '\n') {
            ++i;
        }
        start = i;
    }
    if (start < text.size()) {
        keep(text.substr(start));
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
    FKeySigs.clear();
    FKeySigs.reserve(FIniFile.size());
    for (size_t i = 0; i < FIniFile.size(); ++i) {
        if (is_section_header(FIniFile[i])) {
            FSections.emplace_back(FIniFile[i], static_cast<int>(i));
        }
        FKeySigs.push_back(line_signature(FIniFile[i]));
    }
}

void TQuickIni::Clear() {
    FIniFile.clear();
    FText.clear();
    FWritten.clear();
    FSections.clear();
    FKeySigs.clear();
}

std::string_view TQuickIni::keep_written(std::string line) {
    FWritten.push_back(std::move(line));
    return FWritten.back();
}

uint32_t TQuickIni::key_signature(std::string_view key) {
    if (key.empty()) {
        return kNoKey;
    }
    return static_cast<uint32_t>(std::min<size_t>(key.size(), 0xFFFFFF)) << 8 |
           static_cast<uint8_t>(ansi_lower_char(key.front()));
}

uint32_t TQuickIni::line_signature(std::string_view line) {
    if (is_header_line(line)) {
        return kHeaderLine;
    }
    const size_t eq = line.find('=');
    return eq == std::string_view::npos ? kNoKey : key_signature(trim(line.substr(0, eq)));
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

namespace {

// Whether the key of a stored line (its text before the first '=', trimmed) is ident, letters
// compared without case. The key is compared in place: a description is read key by key, and
// a lower-cased copy of every line passed over made up most of the reading.
bool key_is(std::string_view line, std::string_view ident) {
    // Stored lines begin with their first visible character: the line is compared with ident
    // from its start, and what follows must be blanks and the '='. Other forms (an empty or
    // blank-edged ident) take the general way.
    if (ident.empty() || line.empty() || static_cast<unsigned char>(line.front()) <= ' ' ||
        static_cast<unsigned char>(ident.front()) <= ' ' ||
        static_cast<unsigned char>(ident.back()) <= ' ') {
        const size_t eq = line.find('=');
        return eq != std::string_view::npos && ansi_same_text(trim(line.substr(0, eq)), ident);
    }
    if (line.size() <= ident.size()) {
        return false;
    }
    for (size_t i = 0; i < ident.size(); ++i) {
        // A key never holds '=': an ident with one names no key.
        if (ident[i] == '=' || ansi_lower_char(line[i]) != ansi_lower_char(ident[i])) {
            return false;
        }
    }
    size_t i = ident.size();
    while (i < line.size() && static_cast<unsigned char>(line[i]) <= ' ') {
        ++i;
    }
    return i < line.size() && line[i] == '=';
}

}  // namespace

int TQuickIni::find_key(int header, std::string_view ident, int& end) const {
    int found = -1;
    int i = header + 1;
    for (; i < static_cast<int>(FIniFile.size()); ++i) {
        const std::string_view line = FIniFile[static_cast<size_t>(i)];
        if (is_header_line(line)) {
            break;
        }
        if (found < 0 && key_is(line, ident)) {
            found = i;
        }
    }
    end = i;
    return found;
}

int TQuickIni::find_value(int header, std::string_view ident) const {
    if (header < 0) {
        return -1;
    }
    // The first match wins, so the lines after it are not looked at. Each line's key length
    // and first letter turn most lines away before the line itself is looked at.
    const uint32_t wanted = key_signature(trim(ident));
    const bool by_signature = FKeySigs.size() == FIniFile.size() && wanted != kNoKey;
    for (size_t i = static_cast<size_t>(header) + 1; i < FIniFile.size(); ++i) {
        if (by_signature) {
            if (FKeySigs[i] == kHeaderLine) {
                break;
            }
            if (FKeySigs[i] != wanted) {
                continue;
            }
        } else if (is_header_line(FIniFile[i])) {
            break;
        }
        if (key_is(FIniFile[i], ident)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int TQuickIni::FindSection(std::string_view section) const {
    return find_section(section);
}

std::string_view TQuickIni::Value(int header, std::string_view ident) const {
    const int line = find_value(header, ident);
    if (line < 0) {
        return {};
    }
    const std::string_view text = FIniFile[static_cast<size_t>(line)];
    return trim(text.substr(text.find('=') + 1));
}

void TQuickIni::ReadSections(std::vector<std::string>* out) const {
    require(out);
    out->clear();
    for (const Section& s : FSections) {
        const std::string_view h = s.first;
        out->emplace_back(trim(h.substr(1, h.size() - 2)));
    }
}

size_t TQuickIni::section_end(int header) const {
    size_t i = static_cast<size_t>(header) + 1;
    while (i < FIniFile.size() && !is_header_line(FIniFile[i])) {
        ++i;
    }
    return i;
}

void TQuickIni::ReadSection(std::string_view section, std::vector<std::string>* out) const {
    require(out);
    out->clear();
    const int header = find_section(section);
    if (header < 0) {
        return;
    }
    const size_t end = section_end(header);
    for (size_t i = static_cast<size_t>(header) + 1; i < end; ++i) {
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
    const size_t end = section_end(header);
    for (size_t i = static_cast<size_t>(header) + 1; i < end; ++i) {
        out->emplace_back(FIniFile[i]);
    }
}

std::string TQuickIni::ReadString(std::string_view section, std::string_view ident,
                                  std::string_view def) const {
    return ReadString(find_section(section), ident, def);
}

std::string TQuickIni::ReadString(int header, std::string_view ident, std::string_view def) const {
    const std::string_view value = Value(header, ident);
    return std::string(value.empty() ? def : value);
}

int32_t TQuickIni::ReadInteger(std::string_view section, std::string_view ident,
                               int32_t def) const {
    return ReadInteger(find_section(section), ident, def);
}

int32_t TQuickIni::ReadInteger(int header, std::string_view ident, int32_t def) const {
    const std::string_view value = Value(header, ident);
    if (value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X')) {
        // "0x" hexadecimal is read as the "$" form.
        std::string hex(value);
        hex.replace(0, 2, 1, '$');
        return text::str_to_int_def(hex, def);
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
        FIniFile.push_back(keep_written(std::move(head)));
        FIniFile.push_back(keep_written(std::move(line)));
        RebuildSections();
        return;
    }
    int end = 0;
    const int at = find_key(header, ident, end);
    if (at >= 0) {
        FIniFile[static_cast<size_t>(at)] = keep_written(std::move(line));
        if (static_cast<size_t>(at) < FKeySigs.size()) {
            FKeySigs[static_cast<size_t>(at)] = line_signature(FIniFile[static_cast<size_t>(at)]);
        }
        return;
    }
    FIniFile.insert(FIniFile.begin() + end, keep_written(std::move(line)));
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
    FIniFile.erase(FIniFile.begin() + header,
                   FIniFile.begin() + static_cast<std::ptrdiff_t>(section_end(header)));
    RebuildSections();
}

void TQuickIni::SaveToStream(TStream* stream) const {
    for (const std::string_view line : FIniFile) {
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
