#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "skin/data/memory_stream.h"

namespace skin {

// The skin description reader: INI text kept as its trimmed lines, with an index of the section
// header lines. Sections and keys match without regard to letter case, the first matching key
// of a section wins, and an empty value counts as missing.
class TQuickIni {
  public:
    // One section header: the trimmed header line with its brackets, and its line index.
    using Section = std::pair<std::string, int>;

    TQuickIni() = default;
    // A copy holds its lines itself (moving copies too: the lines are views into storage the
    // object keeps).
    TQuickIni(const TQuickIni& other) { *this = other; }
    TQuickIni(TQuickIni&& other) : TQuickIni(static_cast<const TQuickIni&>(other)) {}
    TQuickIni& operator=(const TQuickIni& other);
    TQuickIni& operator=(TQuickIni&& other) { return *this = static_cast<const TQuickIni&>(other); }
    ~TQuickIni() = default;

    // Replaces the text with the remaining bytes of stream; nothing happens for nullptr.
    void LoadFromStream(TStream* stream);
    // Replaces the text with text.
    void LoadFromText(std::string_view text);
    bool LoadFromFile(const std::string& name);
    // The file holds a compressed stream (length plus code bits).
    bool LoadFromZip(const std::string& name);

    // A null output list is a programming error (std::logic_error).
    void ReadSections(std::vector<std::string>* out) const;
    void ReadSection(std::string_view section, std::vector<std::string>* out) const;
    void ReadSectionValues(std::string_view section, std::vector<std::string>* out) const;

    std::string ReadString(std::string_view section, std::string_view ident,
                           std::string_view def) const;
    int32_t ReadInteger(std::string_view section, std::string_view ident, int32_t def) const;

    // Reading many keys of one section: the section is looked up once (FindSection: the index
    // of its header line, or -1 when there is none) and its keys read by that index. The index
    // holds until the text changes.
    int FindSection(std::string_view section) const;
    // The trimmed value of the first key ident of the section, in place (valid until the text
    // changes); empty when the key or the section is missing or the value is empty.
    std::string_view Value(int header, std::string_view ident) const;
    std::string ReadString(int header, std::string_view ident, std::string_view def) const;
    int32_t ReadInteger(int header, std::string_view ident, int32_t def) const;
    bool ReadBool(std::string_view section, std::string_view ident, bool def) const;

    // Write side: a key is replaced in place or added at the end of its section; a missing
    // section is added at the end. Line breaks in a value become spaces.
    void WriteString(std::string_view section, std::string_view ident, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view ident, int32_t value);
    void WriteBool(std::string_view section, std::string_view ident, bool value);
    void DeleteKey(std::string_view section, std::string_view ident);
    void EraseSection(std::string_view section);
    void RebuildSections();
    void Clear();

    void SaveToStream(TStream* stream) const;
    bool SaveToFile(const std::string& name) const;
    bool SavetoZip(const std::string& name) const;

    // Length plus code bits of all remaining bytes of in; the reverse.
    static void Compress(TStream* in, TStream* out);
    static bool Decompress(TStream* in, TStream* out);

    const std::vector<std::string_view>& Lines() const { return FIniFile; }

    bool FAuto = false;
    std::string FFileName;

  private:
    // Index of the header line of section, or -1.
    int find_section(std::string_view section) const;
    // Index of the first line of the section whose name is ident, or -1; end receives the
    // index just past the section's last line.
    int find_key(int header, std::string_view ident, int& end) const;
    // Index just past the last line of the section whose header line is header.
    size_t section_end(int header) const;
    // Index of the first line of the section whose name is ident, or -1.
    int find_value(int header, std::string_view ident) const;

    // What a line's key is known by before it is compared: its length and first letter.
    static constexpr uint32_t kHeaderLine = 0xFFFFFFFFu;
    static constexpr uint32_t kNoKey = 0;
    static uint32_t key_signature(std::string_view key);
    static uint32_t line_signature(std::string_view line);

    // Keeps a line made by writing and gives it as a view.
    std::string_view keep_written(std::string line);

    // The lines as read (views into FText) or written (views into FWritten), trimmed.
    std::vector<std::string_view> FIniFile;
    std::string FText;
    // Lines made by writing; a deque, so that they stay where they are as more are added.
    std::deque<std::string> FWritten;
    std::vector<Section> FSections;
    // One per line of FIniFile: kHeaderLine, kNoKey or the key_signature of its key.
    std::vector<uint32_t> FKeySigs;
};

}  // namespace skin
