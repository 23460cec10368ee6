#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <string>

namespace gdi {

// The FreeType functions the text engine calls, loaded with the library at the first glyph
// the engine renders (a start that finds its glyphs in the glyph cache never loads it).
struct FreeTypeCalls {
    decltype(&::FT_Init_FreeType) Init_FreeType = nullptr;
    decltype(&::FT_Done_FreeType) Done_FreeType = nullptr;
    decltype(&::FT_New_Face) New_Face = nullptr;
    decltype(&::FT_Done_Face) Done_Face = nullptr;
    decltype(&::FT_New_Size) New_Size = nullptr;
    decltype(&::FT_Done_Size) Done_Size = nullptr;
    decltype(&::FT_Activate_Size) Activate_Size = nullptr;
    decltype(&::FT_Set_Pixel_Sizes) Set_Pixel_Sizes = nullptr;
    decltype(&::FT_Get_Sfnt_Table) Get_Sfnt_Table = nullptr;
    decltype(&::FT_Get_Char_Index) Get_Char_Index = nullptr;
    decltype(&::FT_Load_Glyph) Load_Glyph = nullptr;
    decltype(&::FT_Render_Glyph) Render_Glyph = nullptr;
    decltype(&::FT_GlyphSlot_Oblique) GlyphSlot_Oblique = nullptr;
    decltype(&::FT_GlyphSlot_Embolden) GlyphSlot_Embolden = nullptr;
};

// The calls, loading the library first when it is not loaded yet. Throws std::runtime_error
// saying why when it cannot be loaded.
const FreeTypeCalls& freetype();
// Whether the library is loaded (without loading it).
bool freetype_loaded();
// The file the library was loaded from (a full path), or empty while it is not loaded.
std::string freetype_file();
// The file the loader would load now, without loading it: the one in a directory of
// LD_LIBRARY_PATH, else `usual` (the file it was loaded from before, which the loader's cache
// named).
std::string freetype_file_to_load(const std::string& usual);

}  // namespace gdi
