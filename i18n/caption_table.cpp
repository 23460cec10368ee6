#include "i18n/caption_table.h"

#include "forms/control.h"

namespace i18n {

void CaptionTables::AddRows(std::span<const CaptionRow> rows) {
    rows_.insert(rows_.end(), rows.begin(), rows.end());
}

void CaptionTables::SetDynamic(DynamicCaptions group, std::function<void(int language)> apply) {
    dynamic_[static_cast<size_t>(group)] = std::move(apply);
}

std::vector<std::string> CaptionTables::ApplyStatic(forms::TComponent& owner, int language) const {
    std::vector<std::string> missing;
    for (const CaptionRow& row : rows_) {
        auto* control =
            dynamic_cast<forms::TControl*>(owner.FindComponent(std::string(row.control)));
        if (!control) {
            missing.emplace_back(row.control);
            continue;
        }
        control->SetCaption(PickText(row.text, language));
    }
    return missing;
}

void CaptionTables::ApplyDynamic(int language) const {
    for (const auto& apply : dynamic_) {
        if (apply)
            apply(language);
    }
}

}  // namespace i18n
