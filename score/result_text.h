// GetResult0: the result table as text, the claimed score, and the Cabrillo
// export while the Cabrillo switch is on.

#ifndef VELKARO_SCORE_RESULT_TEXT_H_
#define VELKARO_SCORE_RESULT_TEXT_H_

#include <cstdint>
#include <string>

#include "plugin/plugin_state.h"
#include "score/score.h"

namespace velkaro {

// The text: a three-line header with the date and the own call, one row per
// band, the total line, an empty line and "Score:  = N", every line CR LF.
std::string ResultTableText(const std::string& start_date, const std::string& own_call,
                            const ScoreTable& table);

// Rebuilds ResultText, records the total points in ClaimedScore, in *points
// and under "Claimed", runs the Cabrillo export when enabled (then *points is
// -1), and returns ResultText's characters, valid until the next call.
const char* GetResult(PluginState& state, int32_t* points);

// Brings Session.CabrilloLines up to the whole log, one line per record in
// log order, and rewrites the file.
void ExportCabrillo(PluginState& state);

}  // namespace velkaro

#endif  // VELKARO_SCORE_RESULT_TEXT_H_
