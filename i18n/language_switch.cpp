// The language switch of the main window: the operator's choice in CB_language, and the routine
// that puts every caption, the translated status texts and the version label into the window.

#include <string>

#include "app/main_form.h"
#include "forms/combo_box.h"
#include "forms/status_bar.h"
#include "i18n/status_texts.h"
#include "settings/settings_writers.h"

void TForm1::CB_languageChange(forms::TObject*) {
    const int chosen = CB_language->ItemIndex();
    if (chosen == LanguageIndex)
        return;
    const int previous = LanguageIndex;
    LanguageIndex = chosen;
    // A write that cannot be made is silent: the switch holds for this run only.
    settings::WriteSavedLanguage(SettingsPath, LanguageIndex);
    ApplyLanguage(previous);
}

void TForm1::ApplyLanguage(int previous) {
    const int language = LanguageIndex;
    // 1. The static captions of every page (the connect buttons included, whatever the link
    // state: the next update of the link sets them again).
    Captions.ApplyStatic(*this, language);
    // 2. and 3. The status texts on display, written in the previous language.
    StatusBar1->Panels(1).SetText(i18n::TranslateStatusText(StatusBar1->Panels(1).Text(), previous,
                                                            language, i18n::kPanel1Texts));
    StatusBar1->Panels(2).SetText(i18n::TranslateStatusText(StatusBar1->Panels(2).Text(), previous,
                                                            language, i18n::kPanel2Texts));
    // 4. The version label.
    StatusBar1->Panels(4).SetText(i18n::VersionLabel(language));
    // 5. to 7. The delay groups, the device panels and the Timer Task page, as the pages that
    // build them have registered.
    Captions.ApplyDynamic(language);
}
