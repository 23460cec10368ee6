#include "platform/gdi/fontconfig_calls.h"

#include "platform/gdi/late_library.h"

namespace gdi {

namespace {

FontconfigCalls calls;

bool bind(LateLibrary& lib) {
    return lib.bind("FcInit", &calls.Init) && lib.bind("FcFini", &calls.Fini) &&
           lib.bind("FcNameParse", &calls.NameParse) &&
           lib.bind("FcConfigSubstitute", &calls.ConfigSubstitute) &&
           lib.bind("FcDefaultSubstitute", &calls.DefaultSubstitute) &&
           lib.bind("FcFontMatch", &calls.FontMatch) &&
           lib.bind("FcPatternDestroy", &calls.PatternDestroy) &&
           lib.bind("FcPatternGetString", &calls.PatternGetString) &&
           lib.bind("FcPatternGetInteger", &calls.PatternGetInteger) &&
           lib.bind("FcPatternGetCharSet", &calls.PatternGetCharSet) &&
           lib.bind("FcCharSetHasChar", &calls.CharSetHasChar);
}

}  // namespace

const FontconfigCalls* fontconfig() {
    static LateLibrary lib("libfontconfig.so.1");
    return lib.open(bind) ? &calls : nullptr;
}

}  // namespace gdi
