// One contest played through the plug-in's entry points the way the host
// drives them: ResetStats0; for every QSO CheckCall0 and IsValidExchg0 (as
// while the operator types) and AddData0; finally GetResult0.

#ifndef VELKARO_TOOLS_REPLAY_SESSION_H_
#define VELKARO_TOOLS_REPLAY_SESSION_H_

#include <string>
#include <vector>

#include "tools/host_qso.h"
#include "tools/plugin_api.h"

namespace velkaro::replay {

struct ContestSetup {
  std::string own_call;  // Windows-1251
  HostDate start;        // the contest date; the end is a day later
  bool cabrillo = false;
};

// A QSO for which CheckCall0 answered "special station" with a notice.
struct SpecialStationMet {
  std::string call;      // Windows-1251, as passed
  std::string notice;    // the notice buffer's text
  std::string exchange;  // the exchange buffer's text
};

struct ReplayOutcome {
  std::string result_text;    // GetResult0's text, Windows-1251 as returned
  int result_int = 0;         // what GetResult0 stored through its argument
  int accepted = 0;           // AddData0 returned 1
  int rejected = 0;           // AddData0 returned 0
  int duplicates = 0;         // accepted QSOs that CheckCall0 called duplicates
  int refused_exchanges = 0;  // IsValidExchg0 returned 0
  std::vector<SpecialStationMet> specials;
  // Breaches of the host's rules by the plug-in (a buffer overrun, a null
  // result), one sentence each.
  std::vector<std::string> faults;
};

// Plays the contest. Every pointer handed to the plug-in is valid and every
// text NUL-terminated, whatever the QSOs hold.
ReplayOutcome PlayContest(const PluginApi& api, const ContestSetup& setup,
                          const std::vector<HostQso>& qsos);

}  // namespace velkaro::replay

#endif  // VELKARO_TOOLS_REPLAY_SESSION_H_
