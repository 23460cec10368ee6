#include "platform/gdi/font_face_cache.h"

#include "platform/gdi/cache_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <iterator>

namespace gdi {

namespace {

constexpr std::string_view kHeader = "velmor font faces 1";

// The variables that change where fontconfig looks, what it reads, or which face it prefers
// (the locale's language goes into every match).
constexpr const char* kEnvironment[] = {"FONTCONFIG_FILE",
                                        "FONTCONFIG_PATH",
                                        "FONTCONFIG_SYSROOT",
                                        "FC_LANG",
                                        "LANG",
                                        "LC_ALL",
                                        "LC_CTYPE",
                                        "HOME",
                                        "XDG_CONFIG_HOME",
                                        "XDG_DATA_HOME",
                                        "XDG_CACHE_HOME"};

std::string env_or(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::string(v) : fallback;
}

// Configuration files and directories fontconfig reads, the font directories it scans, and
// its cache directories (a font installed by a package leaves a new cache file there).
std::vector<std::string> watched_paths() {
    const std::string home = env_or("HOME", "");
    std::vector<std::string> paths = {"/etc/fonts/fonts.conf", "/etc/fonts/conf.d",
                                      "/usr/share/fonts", "/usr/local/share/fonts",
                                      "/var/cache/fontconfig"};
    if (const char* f = std::getenv("FONTCONFIG_FILE"); f && *f)
        paths.emplace_back(f);
    if (const char* p = std::getenv("FONTCONFIG_PATH"); p && *p)
        paths.emplace_back(p);
    const std::string config = env_or("XDG_CONFIG_HOME", home.empty() ? "" : home + "/.config");
    const std::string data = env_or("XDG_DATA_HOME", home.empty() ? "" : home + "/.local/share");
    const std::string cache = env_or("XDG_CACHE_HOME", home.empty() ? "" : home + "/.cache");
    if (!config.empty()) {
        paths.push_back(config + "/fontconfig/fonts.conf");
        paths.push_back(config + "/fontconfig/conf.d");
    }
    if (!data.empty())
        paths.push_back(data + "/fonts");
    if (!cache.empty())
        paths.push_back(cache + "/fontconfig");
    if (!home.empty()) {
        paths.push_back(home + "/.fonts.conf");
        paths.push_back(home + "/.fonts.conf.d");
        paths.push_back(home + "/.fonts");
    }
    return paths;
}

bool safe_field(const std::string& s) {
    return s.find_first_of("\t\n\r") == std::string::npos;
}

std::vector<std::string_view> split(std::string_view line, char sep) {
    std::vector<std::string_view> out;
    size_t start = 0;
    for (;;) {
        const size_t at = line.find(sep, start);
        out.push_back(line.substr(start, at == std::string_view::npos ? at : at - start));
        if (at == std::string_view::npos)
            return out;
        start = at + 1;
    }
}

template <typename T>
bool number(std::string_view s, T* out) {
    if (s.empty())
        return false;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), *out);
    return ec == std::errc() && p == s.data() + s.size();
}

bool parse_stamp(const std::vector<std::string_view>& f, FaceCache::Stamp* s) {
    if (f.size() != 4 || f[3].empty())
        return false;
    s->path = std::string(f[3]);
    return number(f[1], &s->mtime_ns) && number(f[2], &s->size) && s->mtime_ns >= -1 &&
           s->size >= -1;
}

}  // namespace

std::string default_face_cache_path() {
    if (const char* v = std::getenv("VELMOR_FONT_CACHE"))
        return v;
    const std::string xdg = env_or("XDG_CACHE_HOME", "");
    if (!xdg.empty())
        return xdg + "/velmor/font-faces";
    const std::string home = env_or("HOME", "");
    return home.empty() ? std::string() : home + "/.cache/velmor/font-faces";
}

FaceCache::Stamp stamp_of(const std::string& path) {
    FaceCache::Stamp s;
    s.path = path;
    struct stat st;
    if (::stat(path.c_str(), &st) == 0) {
        s.mtime_ns = int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec;
        s.size = st.st_size;
    }
    return s;
}

FaceCache describe_faces(const FaceFiles& faces) {
    FaceCache c;
    for (const char* name : kEnvironment)
        c.environment.push_back(std::string(name) + "=" + env_or(name, ""));
    for (const std::string& p : watched_paths())
        c.watched.push_back(stamp_of(p));
    c.faces = faces;
    for (const auto& kind : faces.files) {
        for (const auto& f : kind) {
            if (!f)
                continue;
            const bool seen =
                std::any_of(c.face_stamps.begin(), c.face_stamps.end(),
                            [&](const FaceCache::Stamp& s) { return s.path == f->path; });
            if (!seen)
                c.face_stamps.push_back(stamp_of(f->path));
        }
    }
    return c;
}

bool still_current(const FaceCache& cache) {
    if (!cache.faces.complete())
        return false;
    const bool faces_exist = std::all_of(cache.face_stamps.begin(), cache.face_stamps.end(),
                                         [](const FaceCache::Stamp& s) { return s.mtime_ns >= 0; });
    return faces_exist && describe_faces(cache.faces) == cache;
}

std::string format_face_cache(const FaceCache& c) {
    std::string out(kHeader);
    out += '\n';
    auto stamp = [&](const char* tag, const FaceCache::Stamp& s) {
        out += std::string(tag) + '\t' + std::to_string(s.mtime_ns) + '\t' +
               std::to_string(s.size) + '\t' + s.path + '\n';
        return safe_field(s.path) && !s.path.empty();
    };
    bool ok = true;
    for (const std::string& e : c.environment) {
        ok = ok && safe_field(e) && e.find('=') != std::string::npos;
        out += "env\t" + e + '\n';
    }
    for (const auto& s : c.watched)
        ok = stamp("watch", s) && ok;
    for (int k = 0; k < 2; ++k) {
        for (int s = 0; s < 4; ++s) {
            const auto& f = c.faces.files[k][s];
            if (!f)
                continue;
            ok = ok && safe_field(f->path) && !f->path.empty() && safe_field(f->family);
            out += "face\t" + std::to_string(k) + '\t' + std::to_string(s) + '\t' +
                   std::to_string(f->index) + '\t' + f->path + '\t' + f->family + '\n';
        }
    }
    for (const auto& s : c.face_stamps)
        ok = stamp("file", s) && ok;
    return ok ? out : std::string();
}

std::optional<FaceCache> parse_face_cache(std::string_view text) {
    if (text.empty() || text.back() != '\n')
        return std::nullopt;  // cut short
    if (text.find('\r') != std::string_view::npos)
        return std::nullopt;  // not written by us
    std::vector<std::string_view> lines = split(text.substr(0, text.size() - 1), '\n');
    if (lines.empty() || lines[0] != kHeader)
        return std::nullopt;
    FaceCache c;
    for (size_t i = 1; i < lines.size(); ++i) {
        const auto f = split(lines[i], '\t');
        if (f[0] == "env" && f.size() == 2 && f[1].find('=') != std::string_view::npos) {
            c.environment.emplace_back(f[1]);
        } else if (f[0] == "watch") {
            FaceCache::Stamp s;
            if (!parse_stamp(f, &s))
                return std::nullopt;
            c.watched.push_back(s);
        } else if (f[0] == "file") {
            FaceCache::Stamp s;
            if (!parse_stamp(f, &s))
                return std::nullopt;
            c.face_stamps.push_back(s);
        } else if (f[0] == "face" && f.size() == 6) {
            int kind = -1, style = -1, index = -1;
            if (!number(f[1], &kind) || !number(f[2], &style) || !number(f[3], &index) ||
                kind < 0 || kind > 1 || style < 0 || style > 3 || index < 0 || f[4].empty())
                return std::nullopt;
            auto& slot = c.faces.files[kind][style];
            if (slot)
                return std::nullopt;  // a slot twice
            slot = FaceFile{std::string(f[4]), index, std::string(f[5])};
        } else {
            return std::nullopt;
        }
    }
    if (!c.faces.complete())
        return std::nullopt;
    // Every face file has its stamp.
    for (const auto& kind : c.faces.files) {
        for (const auto& f : kind) {
            if (std::none_of(c.face_stamps.begin(), c.face_stamps.end(),
                             [&](const FaceCache::Stamp& s) { return s.path == f->path; }))
                return std::nullopt;
        }
    }
    return c;
}

std::optional<FaceCache> read_face_cache(const std::string& path) {
    // A real cache file is a few kilobytes; anything much larger is not one.
    constexpr size_t kMax = 1 << 16;
    const std::optional<std::string> text = read_cache_file(path, kMax);
    if (!text)
        return std::nullopt;
    return parse_face_cache(*text);
}

void write_face_cache(const std::string& path, const FaceCache& cache) {
    const std::string text = format_face_cache(cache);
    if (path.empty() || text.empty())
        return;
    write_cache_file(path, text);
}

}  // namespace gdi
