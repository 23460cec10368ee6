#pragma once

#include <atomic>
#include <ostream>

#include "tools/velmor_ctl/answer_wait.h"
#include "tools/velmor_ctl/ctl_invocation.h"

namespace ctl {

// Exit statuses of velmor-ctl.
inline constexpr int kExitDone = 0;
inline constexpr int kExitNoAnswer = 1;  // silent, refused, a wrong answer, a broken connection
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNoLink = 3;

// Runs the command over the open line: prints its result on out (plain or one JSON document;
// one per line for watch) and its error on err. Returns the exit status. `stop` ends watch.
int RunCommand(const Invocation& invocation, Exchanger& exchanger, std::ostream& out,
               std::ostream& err, const std::atomic<bool>& stop);

}  // namespace ctl
