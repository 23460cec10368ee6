#include "forms/building_moment.h"

namespace forms {

namespace {

// Per thread, as the clock's own cache: a form is built on the thread that runs its loop.
// One thread-local object, reached once for each question.
struct Moment {
    int depth = 0;
    bool known = false;
    clk::LocalTime time;
};
thread_local Moment t_moment;

}  // namespace

TBuildingMoment::TBuildingMoment() {
    Moment& m = t_moment;
    if (m.depth++ == 0)
        m.known = false;
}

TBuildingMoment::~TBuildingMoment() {
    --t_moment.depth;
}

clk::LocalTime TBuildingMoment::Now() {
    Moment& m = t_moment;
    if (m.depth == 0)
        return clk::current().local_now();
    if (!m.known) {
        m.time = clk::current().local_now();
        m.known = true;
    }
    return m.time;
}

}  // namespace forms
