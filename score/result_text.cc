#include "score/result_text.h"

#include "cabrillo/cabrillo_writer.h"
#include "plugin/texts.h"

namespace velkaro {
namespace {

// "\t %i" for each number of a table line.
void AppendNumbers(std::string* out, std::initializer_list<int32_t> numbers) {
  for (int32_t n : numbers) {
    *out += "\t ";
    *out += std::to_string(n);
  }
  *out += "\r\n";
}

}  // namespace

std::string ResultTableText(const std::string& start_date, const std::string& own_call,
                            const ScoreTable& table) {
  std::string text;
  text += "\t";
  text += texts::kResultTitle;
  text += " " + start_date + "\r\n";
  text += "\t   Contestant: " + own_call + " \r\n";
  text += "\tQSOs\tPoints\tCW\tSSB\tRTTY\r\n";
  for (const BandTally& row : table.rows) {
    text += row.label;
    AppendNumbers(&text, {row.qsos, row.points, row.cw, row.ssb, row.rtty});
  }
  text += "Total";
  AppendNumbers(&text, {table.total_qsos, table.total_points, table.total_cw,
                        table.total_ssb, table.total_rtty});
  text += "\r\nScore:  = " + std::to_string(table.score()) + "\r\n";
  return text;
}

void ExportCabrillo(PluginState& state) {
  ContestSession& session = state.Session;
  // A reset whose header form was cut short (memory ran out) made no file
  // name; the contest's own call gives it, as the form would have.
  if (session.fileStem.empty()) session.fileStem = MakeFileStem(state.ContestantCall);
  const QsoLogStore& log = state.QsoLog;
  // The lines of the last export, reusable when they carry the same own call
  // and still match their records (the header form may have emptied them).
  std::vector<std::string> previous;
  previous.swap(session.CabrilloLines);
  std::vector<uint64_t> previous_serials;
  previous_serials.swap(state.CabrilloLineSerials);
  const bool reusable = previous.size() == previous_serials.size() &&
                        state.CabrilloLinesCall == session.callsign;
  state.CabrilloLinesCall = session.callsign;

  const int count = log.Count();
  session.CabrilloLines.reserve(static_cast<size_t>(count));
  state.CabrilloLineSerials.reserve(static_cast<size_t>(count));
  size_t old = 0;
  for (int i = 0; i < count; ++i) {
    const uint64_t serial = log.SerialAt(i);
    // Serials increase along both lists, so one forward walk pairs them up.
    while (reusable && old < previous.size() && previous_serials[old] < serial) ++old;
    if (reusable && old < previous.size() && previous_serials[old] == serial) {
      session.CabrilloLines.push_back(std::move(previous[old++]));
    } else {
      const CInfo& qso = log.At(i);
      AppendQsoLine(session, qso.call, qso.freqKhz, CabrilloModeCode(qso.mode), qso.time,
                    qso.rstSent, qso.nrSent, qso.rstRcvd, qso.nrRcvd);
    }
    state.CabrilloLineSerials.push_back(serial);
  }
  WriteCabrilloLog(state.platform, session, state.ClaimedScore);
}

const char* GetResult(PluginState& state, int32_t* points) {
  const ScoreTable table = ComputeScore(state.QsoLog, &state.WorkedBands);
  // Built aside and swapped in, so a failure leaves the last text readable.
  std::string text = ResultTableText(state.StartDateText, state.ContestantCall, table);
  state.ResultText.swap(text);
  state.ClaimedScore = table.score();
  *points = table.score();
  state.settings.Write("Claimed", std::to_string(table.score()));
  if (state.CabrilloEnabled != 0) {
    ExportCabrillo(state);
    *points = -1;
  }
  return state.ResultText.c_str();
}

}  // namespace velkaro
