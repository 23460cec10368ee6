#include "platform/gdi/glyph_cache.h"

#include "platform/gdi/cache_file.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstring>
#include <vector>

namespace gdi {

namespace {

// Changes whenever the file layout or the way the engine renders glyphs changes (load flags,
// render mode, synthesis): glyphs from another version are never taken.
constexpr std::string_view kHeader = "velmor glyphs 1\n";

// Bounds a real file stays far inside; a file beyond them is not one of ours.
constexpr size_t kMaxFileBytes = 32u << 20;
constexpr uint32_t kMaxIdentity = 1u << 16;
constexpr uint32_t kMaxKey = 64;
constexpr int kMaxGlyphSide = 2048;
constexpr int kMaxCoordinate = 1 << 16;

uint64_t fnv1a(std::string_view bytes) {
    uint64_t h = 0xcbf29ce484222325ULL;
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 0x100000001b3ULL;
    }
    return h;
}

class Writer {
  public:
    void u32(uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out_ += static_cast<char>((v >> (8 * i)) & 0xFF);
    }
    void i32(int v) { u32(static_cast<uint32_t>(v)); }
    void bytes(std::string_view s) {
        u32(static_cast<uint32_t>(s.size()));
        out_ += s;
    }
    void raw(const uint8_t* p, size_t n) { out_.append(reinterpret_cast<const char*>(p), n); }
    std::string& text() { return out_; }

  private:
    std::string out_;
};

class Reader {
  public:
    explicit Reader(std::string_view in) : in_(in) {}
    bool u32(uint32_t* v) {
        if (in_.size() - at_ < 4)
            return false;
        *v = 0;
        for (int i = 0; i < 4; ++i)
            *v |= uint32_t{static_cast<unsigned char>(in_[at_ + i])} << (8 * i);
        at_ += 4;
        return true;
    }
    // A signed value within [-limit, limit].
    bool i32(int* v, int limit = kMaxCoordinate) {
        uint32_t u = 0;
        if (!u32(&u))
            return false;
        *v = static_cast<int32_t>(u);
        return *v >= -limit && *v <= limit;
    }
    bool bytes(std::string* s, uint32_t limit) {
        uint32_t n = 0;
        if (!u32(&n) || n > limit || n > in_.size() - at_)
            return false;
        s->assign(in_.substr(at_, n));
        at_ += n;
        return true;
    }
    bool raw(std::vector<uint8_t>* v, size_t n) {
        if (n > in_.size() - at_)
            return false;
        const auto* p = reinterpret_cast<const uint8_t*>(in_.data() + at_);
        v->assign(p, p + n);
        at_ += n;
        return true;
    }
    bool done() const { return at_ == in_.size(); }

  private:
    std::string_view in_;
    size_t at_ = 0;
};

void write_metrics(Writer& w, const TextMetrics& m) {
    for (int v : {m.height, m.ascent, m.descent, m.internal_leading, m.external_leading,
                  m.ave_char_width, m.max_char_width})
        w.i32(v);
}

bool read_metrics(Reader& r, TextMetrics* m) {
    for (int* v : {&m->height, &m->ascent, &m->descent, &m->internal_leading, &m->external_leading,
                   &m->ave_char_width, &m->max_char_width}) {
        if (!r.i32(v) || *v < 0)
            return false;
    }
    return true;
}

std::string stamp_text(const FaceCache::Stamp& s) {
    return std::to_string(s.mtime_ns) + '\t' + std::to_string(s.size) + '\t' + s.path + '\n';
}

// Begins the line of an identity that names the FreeType library file.
constexpr std::string_view kLibraryLine = "library\t";

}  // namespace

std::string glyph_cache_library_file(std::string_view identity) {
    for (size_t at = 0; at < identity.size();) {
        size_t end = identity.find('\n', at);
        if (end == std::string_view::npos)
            end = identity.size();
        const std::string_view line = identity.substr(at, end - at);
        at = end + 1;
        if (line.substr(0, kLibraryLine.size()) != kLibraryLine)
            continue;
        // library <tab> mtime <tab> size <tab> path
        size_t tab = kLibraryLine.size() - 1;
        for (int k = 0; k < 2 && tab != std::string_view::npos; ++k)
            tab = line.find('\t', tab + 1);
        return tab == std::string_view::npos ? std::string() : std::string(line.substr(tab + 1));
    }
    return {};
}

std::string glyph_cache_path(const std::string& face_cache_path) {
    return face_cache_path.empty() ? std::string() : face_cache_path + ".glyphs";
}

std::string glyph_cache_identity(const FaceCache& faces, const std::string& library_file) {
    std::string id = "freetype " + std::to_string(FREETYPE_MAJOR) + '.' +
                     std::to_string(FREETYPE_MINOR) + '.' + std::to_string(FREETYPE_PATCH) + '\n';
    // The library file the glyphs were rendered with: an updated FreeType renders anew. The
    // loader's cache goes with it (every installation of a library rewrites it), so that a
    // library the loader would now find elsewhere is not taken for the one that rendered them.
    if (!library_file.empty()) {
        id += std::string(kLibraryLine) + stamp_text(stamp_of(library_file));
        id += "loader cache\t" + stamp_text(stamp_of("/etc/ld.so.cache"));
    }
    for (int k = 0; k < 2; ++k) {
        for (int s = 0; s < 4; ++s) {
            const auto& f = faces.faces.files[k][s];
            if (f) {
                id += "face\t" + std::to_string(k) + '\t' + std::to_string(s) + '\t' +
                      std::to_string(f->index) + '\t' + f->path + '\t' + f->family + '\n';
            }
        }
    }
    for (const auto& s : faces.face_stamps)
        id += "file\t" + stamp_text(s);
    return id;
}

std::string format_glyph_cache(const GlyphCache& cache) {
    Writer w;
    w.bytes(cache.identity);
    w.u32(static_cast<uint32_t>(cache.ems.size()));
    for (const auto& [key, em] : cache.ems) {
        w.i32(key.first);
        w.i32(key.second);
        w.i32(em);
    }
    w.u32(static_cast<uint32_t>(cache.fonts.size()));
    size_t total = 0;
    for (const auto& [key, font] : cache.fonts) {
        w.bytes(key);
        write_metrics(w, font.metrics);
        // In code point order, so that the same glyphs always give the same file.
        std::vector<const std::pair<const char32_t, Glyph>*> order;
        for (const auto& entry : font.glyphs) {
            const Glyph& g = entry.second;
            const bool sound = g.width >= 0 && g.height >= 0 &&
                               g.coverage.size() == static_cast<size_t>(g.width) * g.height;
            if (sound && total < kMaxCachedGlyphs) {
                order.push_back(&entry);
                ++total;
            }
        }
        std::sort(order.begin(), order.end(),
                  [](const auto* a, const auto* b) { return a->first < b->first; });
        w.u32(static_cast<uint32_t>(order.size()));
        for (const auto* entry : order) {
            const Glyph& g = entry->second;
            w.u32(entry->first);
            for (int v : {g.face, g.left, g.top, g.width, g.height, g.advance})
                w.i32(v);
            w.raw(g.coverage.data(), g.coverage.size());
        }
    }
    std::string body = std::move(w.text());
    std::string out(kHeader);
    const uint64_t sum = fnv1a(body);
    for (int i = 0; i < 8; ++i)
        out += static_cast<char>((sum >> (8 * i)) & 0xFF);
    out += body;
    return out;
}

std::optional<GlyphCache> parse_glyph_cache(std::string_view bytes) {
    if (bytes.size() < kHeader.size() + 8 || bytes.substr(0, kHeader.size()) != kHeader)
        return std::nullopt;
    uint64_t sum = 0;
    for (int i = 0; i < 8; ++i)
        sum |= uint64_t{static_cast<unsigned char>(bytes[kHeader.size() + i])} << (8 * i);
    const std::string_view body = bytes.substr(kHeader.size() + 8);
    if (fnv1a(body) != sum)
        return std::nullopt;  // damaged
    Reader r(body);
    GlyphCache c;
    if (!r.bytes(&c.identity, kMaxIdentity))
        return std::nullopt;
    uint32_t ems = 0;
    if (!r.u32(&ems))
        return std::nullopt;
    for (uint32_t i = 0; i < ems; ++i) {
        int kind = 0, height = 0, em = 0;
        if (!r.i32(&kind, 1) || kind < 0 || !r.i32(&height) || height <= 0 || !r.i32(&em, 500) ||
            em < 1 || !c.ems.emplace(std::make_pair(kind, height), em).second)
            return std::nullopt;
    }
    uint32_t fonts = 0;
    if (!r.u32(&fonts))
        return std::nullopt;
    size_t total = 0;
    for (uint32_t i = 0; i < fonts; ++i) {
        std::string key;
        GlyphCache::SizedFontGlyphs font;
        uint32_t count = 0;
        if (!r.bytes(&key, kMaxKey) || key.empty() || !read_metrics(r, &font.metrics) ||
            !r.u32(&count))
            return std::nullopt;
        total += count;
        if (total > kMaxCachedGlyphs)
            return std::nullopt;
        for (uint32_t k = 0; k < count; ++k) {
            uint32_t cp = 0;
            Glyph g;
            if (!r.u32(&cp) || cp > 0x10FFFF || !r.i32(&g.face, 1) || !r.i32(&g.left) ||
                !r.i32(&g.top) || !r.i32(&g.width, kMaxGlyphSide) || g.width < 0 ||
                !r.i32(&g.height, kMaxGlyphSide) || g.height < 0 || !r.i32(&g.advance) ||
                !r.raw(&g.coverage, static_cast<size_t>(g.width) * g.height))
                return std::nullopt;
            g.find_ink();
            if (!font.glyphs.emplace(static_cast<char32_t>(cp), std::move(g)).second)
                return std::nullopt;  // a code point twice
        }
        if (!c.fonts.emplace(std::move(key), std::move(font)).second)
            return std::nullopt;  // a font twice
    }
    if (!r.done())
        return std::nullopt;
    return c;
}

std::optional<GlyphCache> read_glyph_cache(const std::string& path) {
    const std::optional<std::string> bytes = read_cache_file(path, kMaxFileBytes);
    if (!bytes)
        return std::nullopt;
    return parse_glyph_cache(*bytes);
}

void write_glyph_cache(const std::string& path, const GlyphCache& cache) {
    if (path.empty())
        return;
    const std::string bytes = format_glyph_cache(cache);
    write_cache_file(path, bytes);
}

}  // namespace gdi
