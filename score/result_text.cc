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
  session.CabrilloLines.clear();
  session.CabrilloLines.reserve(static_cast<size_t>(state.QsoLog.Count()));
  for (int i = 0; i < state.QsoLog.Count(); ++i) {
    const CInfo& qso = state.QsoLog.At(i);
    AppendQsoLine(session, qso.call, qso.freqKhz, CabrilloModeCode(qso.mode), qso.time,
                  qso.rstSent, qso.nrSent, qso.rstRcvd, qso.nrRcvd);
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
