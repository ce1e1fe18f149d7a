// The thin layer between the host's argument lists and the plug-in's core.
// Each entry point names the result it gives when something fails inside it
// (memory running out, above all); no exception ever reaches the host.

#include "plugin/exports.h"

#include <cstdint>

#include "log/contest_reset.h"
#include "log/qso_checks.h"
#include "log/qso_rules.h"
#include "plugin/plugin_state.h"
#include "plugin/texts.h"
#include "score/result_text.h"

namespace {

using velkaro::QsoArguments;
using velkaro::TheState;

// The host passes "" for an absent text; a null pointer is read the same way.
std::string Str(Text text) { return text ? std::string(text) : std::string(); }

// A null date pointer reads as a null date.
OleDate Date(const OleDate* date) {
  if (date == nullptr) return OleDate{0.0, OleDate::kNull};
  return *date;
}

QsoArguments Arguments(Text own_call, Text call, const OleDate* time, unsigned freq_hz,
                       Text mode, Text rst_sent, Text rst_rcvd, Text nr_sent,
                       Text nr_rcvd, Text band) {
  QsoArguments qso;
  qso.own_call = Str(own_call);
  qso.call = Str(call);
  qso.time = Date(time);
  qso.freq_hz = freq_hz;
  qso.mode = Str(mode);
  qso.rst_sent = Str(rst_sent);
  qso.rst_rcvd = Str(rst_rcvd);
  qso.nr_sent = Str(nr_sent);
  qso.nr_rcvd = Str(nr_rcvd);
  qso.band = Str(band);
  return qso;
}

}  // namespace

// On failure: 0, the QSO is not in the log.
VELKARO_API int VELKARO_CALL AddData0(Text own_call, Text call, OleDate* time, OleDate*,
                                      OleDate*, OleDate*, unsigned int,
                                      unsigned int freq_hz, Text mode, Text rst_sent,
                                      Text rst_rcvd, Text nr_sent, Text nr_rcvd, Text,
                                      Text, Text, Text, Text, Text, Text, Text, Text,
                                      Text, int, int, int, double, double, Text, Text,
                                      Text, Text band, Text) {
  try {
    return velkaro::AddQso(
        TheState(), Arguments(own_call, call, time, freq_hz, mode, rst_sent, rst_rcvd,
                              nr_sent, nr_rcvd, band));
  } catch (...) {
    return 0;
  }
}

// On failure: 1, the request was handled and the log left as it was.
VELKARO_API int VELKARO_CALL RemoveData0(Text own_call, Text call, OleDate* time,
                                         OleDate*, OleDate*, OleDate*, unsigned int,
                                         unsigned int freq_hz, Text mode, Text rst_sent,
                                         Text rst_rcvd, Text nr_sent, Text nr_rcvd, Text,
                                         Text, Text, Text, Text, Text, Text, Text, Text,
                                         Text, int, int, int, double, double, Text, Text,
                                         Text, Text band, Text) {
  try {
    return velkaro::RemoveQso(
        TheState(), Arguments(own_call, call, time, freq_hz, mode, rst_sent, rst_rcvd,
                              nr_sent, nr_rcvd, band));
  } catch (...) {
    return 1;
  }
}

// On failure: 1, like every reset; what was done before the failure stays.
VELKARO_API int VELKARO_CALL ResetStats0(Text, int cabrillo_switch, Text own_call,
                                         OleDate* start, OleDate* end, Text, Text, Text,
                                         Text, Text, Text, Text, Text, Text, Text, int,
                                         int, int, double, double, Text, Text, Text) {
  try {
    return velkaro::ResetContest(TheState(), cabrillo_switch, Str(own_call), Date(start),
                                 Date(end));
  } catch (...) {
    return 1;
  }
}

// On failure: 1, a new call; the buffers are left as they were.
VELKARO_API int VELKARO_CALL CheckCall0(Text call, unsigned int, unsigned int, Text mode,
                                        Text, Text, Text, Text, Text, Text, Text, Text,
                                        Text, Text, int, int, int, double, double, Text,
                                        Text, Text, Text, Text, Text band, Text,
                                        char* exchange, char* notice) {
  try {
    velkaro::PluginState& state = TheState();
    char unused[velkaro::kNoticeBufferSize];
    return velkaro::CheckCall(state.QsoLog, state.SpecialStations, Str(call), Str(band),
                              Str(mode), exchange, notice ? notice : unused);
  } catch (...) {
    return 1;
  }
}

// Cannot fail.
VELKARO_API int VELKARO_CALL IsValidExchg0(Text exchange, Text, Text, Text, int, int,
                                           int) {
  try {
    return velkaro::IsValidExchange(Str(exchange));
  } catch (...) {
    return 0;
  }
}

// On failure: the last complete result text (empty before the first); the
// int then holds what was stored before the failure.
VELKARO_API const char* VELKARO_CALL GetResult0(int* points) {
  velkaro::PluginState& state = TheState();
  try {
    int32_t scratch = 0;
    return velkaro::GetResult(state, points ? points : &scratch);
  } catch (...) {
    return state.ResultText.c_str();
  }
}

// Cannot fail.
VELKARO_API int VELKARO_CALL GetNumberOfSets(void) { return 1; }

// The same body as GetNumberOfSets; the DLL exports both names for it.
VELKARO_API int VELKARO_CALL GetExchgCount0(Text, Text, Text) {
  return GetNumberOfSets();
}

// Cannot fail: the texts are constants.
VELKARO_API const char* VELKARO_CALL GetSetName(int index) {
  return index == 0 ? velkaro::texts::kSetName : "";
}

// On failure: returns without a box.
VELKARO_API void VELKARO_CALL SetupSet0(void) {
  try {
    TheState().platform.ShowMessage(velkaro::texts::kSetupMessage);
  } catch (...) {
  }
}
