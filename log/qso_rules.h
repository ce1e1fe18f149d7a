// Accepting and removing the QSOs the host logs and deletes.

#ifndef VELKARO_LOG_QSO_RULES_H_
#define VELKARO_LOG_QSO_RULES_H_

#include "log/qso_arguments.h"
#include "plugin/plugin_state.h"

namespace velkaro {

// AddData0: applies the contest rules in order (both exchanges, mode, band).
// A rejection writes one report line and returns 0. An accepted QSO is
// appended (duplicates included, with one DUPE line per earlier match) and
// returns 1. When memory runs out the log, the band list and the report are
// left as they were and std::bad_alloc propagates.
int AddQso(PluginState& state, const QsoArguments& qso);

// RemoveData0: 0 when an exchange is empty; else removes the first record
// with the same call, mode and band, if any, and returns 1.
int RemoveQso(PluginState& state, const QsoArguments& qso);

}  // namespace velkaro

#endif  // VELKARO_LOG_QSO_RULES_H_
