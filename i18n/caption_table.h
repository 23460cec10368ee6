#pragma once

#include <array>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "i18n/lang_text.h"

namespace forms {
class TComponent;
}

namespace i18n {

// One static control's caption: the control's designer name and its three texts.
struct CaptionRow {
    std::string_view control;
    LangText text;
};

// The groups of dynamic controls whose captions a language switch sets after the static ones
// and the status bar, in this order.
enum class DynamicCaptions { DelayGroups, DevicePanels, TimerTaskPage };
inline constexpr int kDynamicCaptionGroups = 3;

// Every caption a language switch sets. Each page adds the rows of its static controls when the
// window is built, and the routine that captions its dynamic controls when it builds them; the
// switch then walks them all.
class CaptionTables {
  public:
    void AddRows(std::span<const CaptionRow> rows);
    void SetDynamic(DynamicCaptions group, std::function<void(int language)> apply);

    // Sets the caption of every row's control, found by name among the owner's components.
    // Returns the names of rows whose control the owner does not have (none in a sound build).
    std::vector<std::string> ApplyStatic(forms::TComponent& owner, int language) const;
    // Runs the registered dynamic routines in their fixed order.
    void ApplyDynamic(int language) const;

    const std::vector<CaptionRow>& Rows() const { return rows_; }

  private:
    std::vector<CaptionRow> rows_;
    std::array<std::function<void(int)>, kDynamicCaptionGroups> dynamic_;
};

}  // namespace i18n
