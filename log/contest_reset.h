// ResetStats0: the start of a contest.

#ifndef VELKARO_LOG_CONTEST_RESET_H_
#define VELKARO_LOG_CONTEST_RESET_H_

#include <string>

#include "plugin/date_text.h"
#include "plugin/plugin_state.h"

namespace velkaro {

// Records the contest date, empties the log and the band list, stores the
// Cabrillo switch and the own call, reloads the special stations, starts a new
// error report, runs the header form when the switch is on and opens the
// mode-switch window unless it is open. Never touches ResultText. Returns 1.
int ResetContest(PluginState& state, int cabrillo_switch, const std::string& own_call,
                 const OleDate& start, const OleDate& end);

}  // namespace velkaro

#endif  // VELKARO_LOG_CONTEST_RESET_H_
