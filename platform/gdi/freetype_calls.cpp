#include "platform/gdi/freetype_calls.h"

#include <stdexcept>

#include "platform/gdi/late_library.h"

namespace gdi {

namespace {

LateLibrary& library() {
    static LateLibrary lib("libfreetype.so.6");
    return lib;
}

FreeTypeCalls calls;

bool bind(LateLibrary& lib) {
    return lib.bind("FT_Init_FreeType", &calls.Init_FreeType) &&
           lib.bind("FT_Done_FreeType", &calls.Done_FreeType) &&
           lib.bind("FT_New_Face", &calls.New_Face) && lib.bind("FT_Done_Face", &calls.Done_Face) &&
           lib.bind("FT_New_Size", &calls.New_Size) && lib.bind("FT_Done_Size", &calls.Done_Size) &&
           lib.bind("FT_Activate_Size", &calls.Activate_Size) &&
           lib.bind("FT_Set_Pixel_Sizes", &calls.Set_Pixel_Sizes) &&
           lib.bind("FT_Get_Sfnt_Table", &calls.Get_Sfnt_Table) &&
           lib.bind("FT_Get_Char_Index", &calls.Get_Char_Index) &&
           lib.bind("FT_Load_Glyph", &calls.Load_Glyph) &&
           lib.bind("FT_Render_Glyph", &calls.Render_Glyph) &&
           lib.bind("FT_GlyphSlot_Oblique", &calls.GlyphSlot_Oblique) &&
           lib.bind("FT_GlyphSlot_Embolden", &calls.GlyphSlot_Embolden);
}

}  // namespace

const FreeTypeCalls& freetype() {
    if (!library().open(bind))
        throw std::runtime_error("text: " + library().error());
    return calls;
}

bool freetype_loaded() {
    return library().is_open();
}

std::string freetype_file() {
    return library().file();
}

std::string freetype_file_to_load(const std::string& usual) {
    std::string found = library().file_in_library_path();
    return found.empty() ? usual : found;
}

}  // namespace gdi
