#include "platform/gdi/font_engine.h"

#include "platform/gdi/font_face_cache.h"
#include "platform/gdi/font_face_files.h"
#include "platform/gdi/freetype_calls.h"
#include "platform/gdi/glyph_cache.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>
#include <optional>
#include <stdexcept>

namespace gdi {

namespace {

bool is_cjk_face_name(const std::string& name) {
    for (unsigned char c : name) {
        if (c >= 0x80) {
            return true;
        }
    }
    std::string lower;
    for (unsigned char c : name) {
        lower += static_cast<char>(std::tolower(c));
    }
    static const char* const kNames[] = {"simsun",  "nsimsun", "simhei",   "yahei",
                                         "mingliu", "kaiti",   "fangsong", "wenquanyi",
                                         "wqy",     "song",    "hei",      "ming"};
    for (const char* n : kNames) {
        if (lower.find(n) != std::string::npos) {
            return true;
        }
    }
    return false;
}

int round_div(int64_t a, int64_t b) {
    return static_cast<int>((a + b / 2) / b);
}

}  // namespace

// --- The engine ----------------------------------------------------------------------------

struct FontEngine::Impl {
    // Started when the first face is opened.
    FT_Library lib = nullptr;
    // [kind][style]: kind 0 Latin, 1 CJK; style bit 0 bold, bit 1 italic.
    FaceFiles face_files;
    std::map<std::pair<std::string, int>, FT_Face> faces;
    // The glyph cache file (empty: none), and what it held for these faces; a sized font takes
    // its glyphs out when it is first asked for.
    std::string glyph_path;
    FaceCache face_cache;  // the faces and their files' stamps, for the identity of the glyphs
    GlyphCache stored;
    bool ems_changed = false;

    ~Impl() {
        for (auto& [key, face] : faces) {
            freetype().Done_Face(face);
        }
        if (lib) {
            freetype().Done_FreeType(lib);
        }
    }

    FT_Face open(const FaceFile& f) {
        auto key = std::make_pair(f.path, f.index);
        auto it = faces.find(key);
        if (it != faces.end()) {
            return it->second;
        }
        if (!lib && freetype().Init_FreeType(&lib) != 0) {
            lib = nullptr;
            throw std::runtime_error("text: FreeType could not be initialised");
        }
        FT_Face face = nullptr;
        if (freetype().New_Face(lib, f.path.c_str(), f.index, &face) != 0) {
            face = nullptr;
        }
        faces[key] = face;
        return face;
    }
};

struct SizedFont::Impl {
    FT_Face face[2] = {nullptr, nullptr};
    FT_Size size[2] = {nullptr, nullptr};
    bool synth_bold[2] = {false, false};
    bool synth_italic[2] = {false, false};
    // The fallback face is opened when the primary first lacks a glyph: a window of Latin text
    // never reads the large CJK face at all.
    std::function<void()> open_fallback;
    // A font from the glyph cache opens its faces when it first renders a glyph.
    std::function<void()> open_faces;

    ~Impl() {
        for (FT_Size s : size) {
            if (s) {
                freetype().Done_Size(s);
            }
        }
    }
};

FontEngine& FontEngine::instance() {
    static FontEngine engine(default_face_cache_path());
    return engine;
}

std::unique_ptr<FontEngine> FontEngine::with_cache(const std::string& face_cache_path) {
    return std::unique_ptr<FontEngine>(new FontEngine(face_cache_path));
}

FontEngine::FontEngine(const std::string& face_cache_path) : impl_(std::make_unique<Impl>()) {
    FaceCache faces = resolve_face_cache(face_cache_path);
    impl_->face_files = faces.faces;
    if (!impl_->face_files.files[0][0]) {
        throw std::runtime_error(
            "text: no font found through fontconfig (install fonts-liberation2, fonts-dejavu-core "
            "and fonts-wqy-microhei)");
    }
    impl_->glyph_path = glyph_cache_path(face_cache_path);
    if (!impl_->glyph_path.empty()) {
        // Glyphs rendered from other files, or by another FreeType, are not taken. FreeType is
        // loaded only to render (a start that finds its glyphs here never loads it); until then
        // the library file is the one the loader would load: one in LD_LIBRARY_PATH, else the
        // one the stored glyphs were rendered with, still as it was.
        std::optional<GlyphCache> cached = read_glyph_cache(impl_->glyph_path);
        const std::string library =
            freetype_loaded()
                ? freetype_file()
                : freetype_file_to_load(cached ? glyph_cache_library_file(cached->identity) : "");
        impl_->stored.identity = glyph_cache_identity(faces, library);
        impl_->face_cache = std::move(faces);
        if (cached && cached->identity == impl_->stored.identity)
            impl_->stored = std::move(*cached);
    }
}

bool FontEngine::faces_opened() const {
    return impl_->lib != nullptr;
}

void FontEngine::save_glyphs() {
    Impl& I = *impl_;
    if (I.glyph_path.empty())
        return;
    bool changed = I.ems_changed;
    for (const auto& [key, font] : fonts_)
        changed = changed || !font->from_cache_ || font->rendered_ > 0;
    if (!changed)
        return;
    GlyphCache out;
    // Glyphs rendered in this run name the library that rendered them.
    out.identity =
        freetype_loaded() ? glyph_cache_identity(I.face_cache, freetype_file()) : I.stored.identity;
    out.ems = I.stored.ems;
    // The sizes not used in this run stay as they were.
    for (const auto& [key, font] : I.stored.fonts) {
        if (!fonts_.count(key))
            out.fonts.emplace(key, font);
    }
    for (const auto& [key, font] : fonts_) {
        GlyphCache::SizedFontGlyphs& entry = out.fonts[key];
        entry.metrics = font->metrics_;
        for (const auto& [cp, g] : font->glyphs_) {
            if (cp >= 0x20 && cp != 0x7F)
                entry.glyphs.emplace(cp, g);
        }
        font->rendered_ = 0;
        font->from_cache_ = true;
    }
    I.ems_changed = false;
    write_glyph_cache(I.glyph_path, out);
}

FontEngine::~FontEngine() {
    save_glyphs();
    recent_.clear();
    fonts_.clear();
    impl_.reset();
}

int FontEngine::em_pixels(const Font& f) {
    int em = 11;
    if (f.height < 0) {
        em = f.height == std::numeric_limits<int>::min() ? 500 : -f.height;
    } else if (f.height > 0) {
        // A cell height: the em is the part of it without the internal leading.
        const int kind = is_cjk_face_name(f.face) ? 1 : 0;
        const auto key = std::make_pair(kind, f.height);
        if (auto it = impl_->stored.ems.find(key); it != impl_->stored.ems.end())
            return it->second;
        FT_Face face = impl_->open(*impl_->face_files.files[kind][0]);
        if (face && face->units_per_EM) {
            TT_OS2* os2 = static_cast<TT_OS2*>(freetype().Get_Sfnt_Table(face, FT_SFNT_OS2));
            const int64_t cell = os2 ? int64_t{os2->usWinAscent} + os2->usWinDescent
                                     : int64_t{face->ascender} - face->descender;
            em = cell > 0 ? round_div(int64_t{f.height} * face->units_per_EM, cell) : f.height;
        } else {
            em = f.height;
        }
        em = std::clamp(em, 1, 500);
        impl_->stored.ems[key] = em;
        impl_->ems_changed = true;
        return em;
    }
    return std::clamp(em, 1, 500);
}

SizedFont& FontEngine::get(const Font& f) {
    for (auto it = recent_.rbegin(); it != recent_.rend(); ++it) {
        if (it->first == f)
            return *it->second;
    }
    SizedFont& sized = resolve(f);
    if (recent_.size() == kRecentFonts)
        recent_.erase(recent_.begin());
    recent_.emplace_back(f, &sized);
    return sized;
}

SizedFont& FontEngine::resolve(const Font& f) {
    const int em = em_pixels(f);
    const int kind = is_cjk_face_name(f.face) ? 1 : 0;
    const int style = (f.bold() ? 1 : 0) | (f.italic ? 2 : 0);
    const std::string key = std::to_string(kind) + "/" + std::to_string(em) + "/" +
                            std::to_string(style) + (f.underline ? "u" : "") +
                            (f.strike_out ? "s" : "");
    auto it = fonts_.find(key);
    if (it != fonts_.end()) {
        return *it->second;
    }
    std::unique_ptr<SizedFont> sf(new SizedFont());
    sf->impl_ = std::make_shared<SizedFont::Impl>();
    sf->em_ = em;
    sf->underline_ = f.underline;
    sf->strike_out_ = f.strike_out;
    // Opens face slot i (0 primary, 1 fallback) at the em size.
    auto open_slot = [engine = impl_.get(), sized = sf->impl_.get(), kind, style, em,
                      bold = f.bold(), italic = f.italic](int i) {
        const int k = i == 0 ? kind : 1 - kind;
        FT_Face face = engine->open(*engine->face_files.files[k][style]);
        if (!face) {
            face = engine->open(*engine->face_files.files[k][0]);
        }
        if (!face) {
            return;
        }
        FT_Size size = nullptr;
        if (freetype().New_Size(face, &size) != 0) {
            return;
        }
        freetype().Activate_Size(size);
        if (freetype().Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em)) != 0) {
            freetype().Done_Size(size);
            return;
        }
        sized->face[i] = face;
        sized->size[i] = size;
        sized->synth_bold[i] = bold && !(face->style_flags & FT_STYLE_FLAG_BOLD);
        sized->synth_italic[i] = italic && !(face->style_flags & FT_STYLE_FLAG_ITALIC);
    };
    for (int i = 0; i < 2; ++i) {
        sf->families_[i] = impl_->face_files.files[i == 0 ? kind : 1 - kind][style]->family;
    }
    // The primary face, or the other one where the primary cannot be read.
    auto open_faces = [open_slot, sized = sf->impl_.get()] {
        open_slot(0);
        if (sized->face[0]) {
            sized->open_fallback = [open_slot] { open_slot(1); };
        } else {
            open_slot(1);
        }
    };
    TextMetrics& m = sf->metrics_;
    if (auto cached = impl_->stored.fonts.find(key); cached != impl_->stored.fonts.end()) {
        m = cached->second.metrics;
        sf->glyphs_ = std::move(cached->second.glyphs);
        sf->from_cache_ = true;
        impl_->stored.fonts.erase(cached);
        sf->impl_->open_faces = open_faces;
    } else {
        open_faces();
    }
    if (!sf->from_cache_) {
        FT_Face primary = sf->impl_->face[0] ? sf->impl_->face[0] : sf->impl_->face[1];
        if (!primary) {
            throw std::runtime_error(
                "text: the font files found through fontconfig cannot be read");
        }
        const int upem = primary->units_per_EM ? primary->units_per_EM : 2048;
        TT_OS2* os2 = static_cast<TT_OS2*>(freetype().Get_Sfnt_Table(primary, FT_SFNT_OS2));
        const int64_t asc = os2 ? os2->usWinAscent : primary->ascender;
        const int64_t desc = os2 ? os2->usWinDescent : -primary->descender;
        m.ascent = std::max(1, round_div(asc * em, upem));
        m.descent = std::max(0, round_div(desc * em, upem));
        m.height = m.ascent + m.descent;
        m.internal_leading = std::max(0, m.height - em);
        m.external_leading = 0;
        m.ave_char_width = os2 && os2->xAvgCharWidth > 0
                               ? std::max(1, round_div(int64_t{os2->xAvgCharWidth} * em, upem))
                               : std::max(1, em / 2);
        m.max_char_width = std::max(1, round_div(int64_t{primary->max_advance_width} * em, upem));
        if (f.bold() && sf->impl_->synth_bold[0]) {
            m.ave_char_width += 1;
            m.max_char_width += 1;
        }
    }
    // The replacement box for code points neither face has.
    Glyph& box = sf->box_;
    box.face = -1;
    box.width = std::max(3, em * 5 / 8);
    box.height = std::max(3, m.ascent * 3 / 4);
    box.left = 1;
    box.top = box.height;
    box.advance = box.width + 2;
    box.coverage.assign(static_cast<size_t>(box.width) * box.height, 0);
    for (int y = 0; y < box.height; ++y) {
        for (int x = 0; x < box.width; ++x) {
            if (y == 0 || x == 0 || y == box.height - 1 || x == box.width - 1) {
                box.coverage[static_cast<size_t>(y) * box.width + x] = 255;
            }
        }
    }
    box.find_ink();
    SizedFont& ref = *sf;
    fonts_.emplace(key, std::move(sf));
    return ref;
}

// --- Glyphs ----------------------------------------------------------------------------------

const Glyph& SizedFont::glyph_slow(char32_t cp) {
    if (cp >= kDirectLimit) {
        return load(cp);
    }
    std::unique_ptr<GlyphPage>& page = pages_[cp >> 8];
    if (!page) {
        page = std::make_unique<GlyphPage>();
        page->fill(nullptr);
    }
    const Glyph& g = load(cp);
    (*page)[cp & 0xFF] = &g;
    return g;
}

const Glyph& SizedFont::load(char32_t cp) {
    auto it = glyphs_.find(cp);
    if (it != glyphs_.end()) {
        return it->second;
    }
    Glyph g;
    if (cp < 0x20 || cp == 0x7F) {
        // Control characters take no room.
        return glyphs_.emplace(cp, g).first->second;
    }
    ++rendered_;
    if (impl_->open_faces) {
        auto open = std::move(impl_->open_faces);
        impl_->open_faces = nullptr;
        open();
    }
    int face_no = -1;
    FT_UInt index = 0;
    for (int i = 0; i < 2; ++i) {
        if (i == 1 && impl_->open_fallback) {
            auto open = std::move(impl_->open_fallback);
            impl_->open_fallback = nullptr;
            open();
        }
        if (impl_->face[i] && (index = freetype().Get_Char_Index(impl_->face[i], cp)) != 0) {
            face_no = i;
            break;
        }
    }
    if (face_no < 0) {
        return glyphs_.emplace(cp, box_).first->second;
    }
    FT_Face face = impl_->face[face_no];
    freetype().Activate_Size(impl_->size[face_no]);
    if (freetype().Load_Glyph(face, index, FT_LOAD_TARGET_LIGHT) != 0) {
        return glyphs_.emplace(cp, box_).first->second;
    }
    FT_GlyphSlot slot = face->glyph;
    if (impl_->synth_italic[face_no] && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        freetype().GlyphSlot_Oblique(slot);
    }
    if (impl_->synth_bold[face_no]) {
        freetype().GlyphSlot_Embolden(slot);
    }
    if (slot->format != FT_GLYPH_FORMAT_BITMAP &&
        freetype().Render_Glyph(slot, FT_RENDER_MODE_LIGHT) != 0) {
        return glyphs_.emplace(cp, box_).first->second;
    }
    const FT_Bitmap& bm = slot->bitmap;
    g.face = face_no;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = static_cast<int>(bm.width);
    g.height = static_cast<int>(bm.rows);
    g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    g.coverage.assign(static_cast<size_t>(g.width) * g.height, 0);
    for (int y = 0; y < g.height; ++y) {
        const unsigned char* src =
            bm.pitch >= 0 ? bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch
                          : bm.buffer + static_cast<ptrdiff_t>(g.height - 1 - y) * -bm.pitch;
        uint8_t* dst = g.coverage.data() + static_cast<size_t>(y) * g.width;
        if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
            const int levels = bm.num_grays > 1 ? bm.num_grays - 1 : 255;
            for (int x = 0; x < g.width; ++x) {
                dst[x] = static_cast<uint8_t>(src[x] * 255 / levels);
            }
        } else if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
            for (int x = 0; x < g.width; ++x) {
                dst[x] = (src[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
            }
        }
    }
    g.find_ink();
    return glyphs_.emplace(cp, std::move(g)).first->second;
}

int SizedFont::width_of(std::string_view utf8) {
    int w = 0;
    for (size_t i = 0; i < utf8.size();) {
        w += glyph(next_code_point(utf8, i)).advance;
    }
    return w;
}

}  // namespace gdi
