#include "platform/gdi/font_face_files.h"

#include "platform/gdi/font_face_cache.h"
#include "platform/gdi/fontconfig_calls.h"

namespace gdi {

namespace {

// Asks fontconfig for a face; accepted only when it covers `must_have`.
std::optional<FaceFile> match_face(const FontconfigCalls& fc, const char* pattern,
                                   char32_t must_have) {
    FcPattern* p = fc.NameParse(reinterpret_cast<const FcChar8*>(pattern));
    if (!p) {
        return std::nullopt;
    }
    fc.ConfigSubstitute(nullptr, p, FcMatchPattern);
    fc.DefaultSubstitute(p);
    FcResult result;
    FcPattern* m = fc.FontMatch(nullptr, p, &result);
    fc.PatternDestroy(p);
    if (!m) {
        return std::nullopt;
    }
    std::optional<FaceFile> out;
    FcChar8* file = nullptr;
    FcChar8* family = nullptr;
    FcCharSet* cs = nullptr;
    int index = 0;
    if (fc.PatternGetString(m, FC_FILE, 0, &file) == FcResultMatch &&
        fc.PatternGetCharSet(m, FC_CHARSET, 0, &cs) == FcResultMatch &&
        fc.CharSetHasChar(cs, must_have)) {
        fc.PatternGetInteger(m, FC_INDEX, 0, &index);
        FaceFile f;
        f.path = reinterpret_cast<const char*>(file);
        f.index = index;
        if (fc.PatternGetString(m, FC_FAMILY, 0, &family) == FcResultMatch) {
            f.family = reinterpret_cast<const char*>(family);
        }
        out = f;
    }
    fc.PatternDestroy(m);
    return out;
}

}  // namespace

bool FaceFiles::complete() const {
    for (const auto& kind : files) {
        for (const auto& f : kind) {
            if (!f)
                return false;
        }
    }
    return true;
}

FaceFiles find_face_files() {
    FaceFiles out;
    const FontconfigCalls* lib = fontconfig();
    if (!lib || !lib->Init())
        return out;
    const FontconfigCalls& fc = *lib;
    auto& files = out.files;
    // Liberation Sans has the metrics of the narrow sans-serif faces the console's captions were
    // laid out for; DejaVu Sans, about a tenth wider, stands in where it is not installed.
    static const char* const kLatin[4] = {"Liberation Sans", "Liberation Sans:bold",
                                          "Liberation Sans:italic", "Liberation Sans:bold:italic"};
    static const char* const kLatinFallback[4] = {
        "DejaVu Sans", "DejaVu Sans:bold", "DejaVu Sans:oblique", "DejaVu Sans:bold:oblique"};
    static const char* const kCjk[4] = {"WenQuanYi Micro Hei", "WenQuanYi Micro Hei:bold",
                                        "WenQuanYi Micro Hei:italic",
                                        "WenQuanYi Micro Hei:bold:italic"};
    for (int s = 0; s < 4; ++s) {
        files[0][s] = match_face(fc, kLatin[s], U'A');
        if (!files[0][s] || files[0][s]->family != "Liberation Sans") {
            files[0][s] = match_face(fc, kLatinFallback[s], U'A');
        }
        if (!files[0][s]) {
            files[0][s] = match_face(fc, s & 1 ? "sans-serif:bold" : "sans-serif", U'A');
        }
        files[1][s] = match_face(fc, kCjk[s], U'\u4E2D');
        if (!files[1][s]) {
            files[1][s] = match_face(fc, ":lang=zh-cn", U'\u4E2D');
        }
    }
    // Fontconfig is needed only to find the face files; its configuration and caches, a few
    // megabytes, are released now rather than kept for the life of the program.
    fc.Fini();
    // One face may stand in for the other.
    for (int s = 0; s < 4; ++s) {
        if (!files[0][s])
            files[0][s] = files[0][0];
        if (!files[1][s])
            files[1][s] = files[1][0];
    }
    if (!files[0][0] && !files[1][0])
        return out;
    for (int s = 0; s < 4; ++s) {
        if (!files[0][s])
            files[0][s] = files[1][s];
        if (!files[1][s])
            files[1][s] = files[0][s];
    }
    return out;
}

FaceCache resolve_face_cache(const std::string& cache_path, bool* from_cache) {
    if (from_cache)
        *from_cache = false;
    if (std::optional<FaceCache> cached = read_face_cache(cache_path);
        cached && still_current(*cached)) {
        if (from_cache)
            *from_cache = true;
        return std::move(*cached);
    }
    FaceFiles found = find_face_files();
    // Only a full answer is remembered: with no font at all the next start looks again.
    if (!found.complete()) {
        FaceCache none;
        none.faces = found;
        return none;
    }
    FaceCache described = describe_faces(found);
    write_face_cache(cache_path, described);
    return described;
}

FaceFiles resolve_face_files(const std::string& cache_path, bool* from_cache) {
    return resolve_face_cache(cache_path, from_cache).faces;
}

}  // namespace gdi
