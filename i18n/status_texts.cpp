#include "i18n/status_texts.h"

namespace i18n {

namespace {

// The language the texts on display are taken to be in, or -1 when nothing is to be compared.
int SourceLanguage(int previous, int target) {
    switch (EffectiveLanguage(target)) {
        case kChineseSimplified:
            return previous == kEnglish || previous == kChineseTraditional ? previous : -1;
        case kChineseTraditional:
            return previous == kChineseSimplified || previous == kEnglish ? previous : -1;
        default:
            return previous == kChineseSimplified || previous == kChineseTraditional ? previous
                                                                                     : -1;
    }
}

}  // namespace

std::string TranslateStatusText(std::string_view current, int previous, int target,
                                std::span<const LangText> texts) {
    const int source = SourceLanguage(previous, target);
    if (source < 0)
        return std::string(current);
    for (const LangText& text : texts) {
        if (current == PickText(text, source))
            return std::string(PickText(text, target));
    }
    return std::string(current);
}

std::string VersionLabel(int language) {
    constexpr LangText prefix{"版本：", "Version: ", "版本："};
    return std::string(PickText(prefix, language)) + std::string(kVersionNumber);
}

}  // namespace i18n
