#include "log/contest_reset.h"

#include "cabrillo/header_form.h"
#include "log/error_report.h"
#include "log/special_stations.h"

namespace velkaro {

int ResetContest(PluginState& state, int cabrillo_switch, const std::string& own_call,
                 const OleDate& start, const OleDate& end) {
  state.StartDateText = FormatDateTime(start, "%d.%m.%Y");
  state.QsoLog.Clear();
  state.WorkedBands.clear();
  state.CabrilloEnabled = cabrillo_switch;
  state.ContestantCall = own_call;

  state.SpecialStations.clear();
  std::string list;
  if (state.platform.ReadFile(kSpecialStationsPath, &list)) {
    state.SpecialStations = ParseSpecialStations(list);
  }

  StartErrorReport(state.platform);
  if (state.CabrilloEnabled != 0) RunHeaderForm(state, own_call, start, end);
  if (!state.ModeWindow.IsOpen()) {
    state.ModeWindow.Start();
    state.settings.Write("Start", "1");
  }
  return 1;
}

}  // namespace velkaro
