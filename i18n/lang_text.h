#pragma once

#include <string_view>

namespace i18n {

// The interface languages, as `LanguageIndex` and the items of `CB_language` number them.
inline constexpr int kChineseSimplified = 0;
inline constexpr int kEnglish = 1;
inline constexpr int kChineseTraditional = 2;

// One text in the three languages. The Chinese texts are kept in UTF-8 here; they become code
// page 936 (GBK) only where they leave the program as bytes.
struct LangText {
    std::string_view zh_cn;
    std::string_view en;
    std::string_view zh_tw;
};

// The text for a language index: 0 and 2 pick the Chinese texts, every other value (1, and any
// out-of-range index such as a stored 7) picks English.
constexpr std::string_view PickText(const LangText& text, int language) {
    if (language == kChineseSimplified)
        return text.zh_cn;
    if (language == kChineseTraditional)
        return text.zh_tw;
    return text.en;
}

// The language a text is picked in: 0, 2, or 1 for everything else.
constexpr int EffectiveLanguage(int language) {
    return language == kChineseSimplified || language == kChineseTraditional ? language : kEnglish;
}

}  // namespace i18n
