#include "log/contest_reset.h"

#include "cabrillo/header_form.h"
#include "log/error_report.h"
#include "log/special_stations.h"

namespace velkaro {

int ResetContest(PluginState& state, int cabrillo_switch, const std::string& own_call,
                 const OleDate& start, const OleDate& end) {
  // What cannot fail comes first, so that a reset cut short by memory running
  // out never leaves the last contest's log or file name in play.
  state.QsoLog.Clear();
  state.WorkedBands.clear();
  // The switch is stored once the header form has made this contest's file
  // name: a reset cut short before then exports nothing, rather than a file
  // with the last contest's header or over the last contest's file.
  state.CabrilloEnabled = 0;
  if (cabrillo_switch != 0) state.Session.fileStem.clear();
  state.ContestantCall.clear();
  state.StartDateText = FormatDateTime(start, "%d.%m.%Y");
  state.ContestantCall = own_call;

  state.SpecialStations.clear();
  std::string list;
  if (state.platform.ReadFile(kSpecialStationsPath, &list)) {
    state.SpecialStations = ParseSpecialStations(list);
  }

  StartErrorReport(state.platform);
  if (cabrillo_switch != 0) RunHeaderForm(state, own_call, start, end);
  state.CabrilloEnabled = cabrillo_switch;
  if (!state.ModeWindow.IsOpen()) {
    state.ModeWindow.Start();
    state.settings.Write("Start", "1");
  }
  return 1;
}

}  // namespace velkaro
