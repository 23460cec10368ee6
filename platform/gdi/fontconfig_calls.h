#pragma once

#include <fontconfig/fontconfig.h>

namespace gdi {

// The fontconfig functions the face search calls, loaded with the library when the faces are
// looked for (a start that finds them in the face cache never loads it).
struct FontconfigCalls {
    decltype(&::FcInit) Init = nullptr;
    decltype(&::FcFini) Fini = nullptr;
    decltype(&::FcNameParse) NameParse = nullptr;
    decltype(&::FcConfigSubstitute) ConfigSubstitute = nullptr;
    decltype(&::FcDefaultSubstitute) DefaultSubstitute = nullptr;
    decltype(&::FcFontMatch) FontMatch = nullptr;
    decltype(&::FcPatternDestroy) PatternDestroy = nullptr;
    decltype(&::FcPatternGetString) PatternGetString = nullptr;
    decltype(&::FcPatternGetInteger) PatternGetInteger = nullptr;
    decltype(&::FcPatternGetCharSet) PatternGetCharSet = nullptr;
    decltype(&::FcCharSetHasChar) CharSetHasChar = nullptr;
};

// The calls, loading the library first when it is not loaded yet; null when it cannot be
// loaded (no faces are found then).
const FontconfigCalls* fontconfig();

}  // namespace gdi
