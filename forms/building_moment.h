#pragma once

#include "platform/clock/clock.h"

namespace forms {

// The moment a form is built at. While one lives (TApplication::CreateForm keeps one over the
// form's constructor and its OnCreate), the controls that start at the present moment (the
// date-time pickers) all take the same local time, read from the clock once, by the first of
// them: a form that builds a hundred and forty pickers at start-up reads the clock once, not
// once for each. Outside a form's creation every control reads the clock itself. Moments
// nest: a form created while another is built takes the outer one's.
class TBuildingMoment {
  public:
    TBuildingMoment();
    ~TBuildingMoment();
    TBuildingMoment(const TBuildingMoment&) = delete;
    TBuildingMoment& operator=(const TBuildingMoment&) = delete;

    // The local date and time a control made now starts at.
    static clk::LocalTime Now();
};

}  // namespace forms
