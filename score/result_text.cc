#include "score/result_text.h"

#include <utility>

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

namespace {

// The lines of the last export hold for the first records of the log when
// they carry the same own call and none of their records has left. Records
// join only at the end and serials only grow, so the last of those records
// still standing at its place proves that none before it left.
bool LinesStillHold(const PluginState& state) {
  const TextList& lines = state.Session.CabrilloLines;
  const std::vector<uint64_t>& serials = state.CabrilloLineSerials;
  const size_t kept = lines.size();
  if (kept != serials.size() || state.CabrilloLinesCall != state.Session.callsign) {
    return false;  // the header form emptied them, or changed the call
  }
  if (kept > static_cast<size_t>(state.QsoLog.Count())) return false;
  return kept == 0 || state.QsoLog.SerialAt(static_cast<int>(kept) - 1) == serials[kept - 1];
}

void AppendLineOf(TextList* lines, const std::string& own_call, const CInfo& qso) {
  lines->push_back(FormatQsoLine(own_call, qso.call, qso.freqKhz,
                                 CabrilloModeCode(qso.mode), qso.time, qso.rstSent,
                                 qso.nrSent, qso.rstRcvd, qso.nrRcvd));
}

// Builds the lines afresh beside the old ones, taking over the old line of
// every record still in the log; a failure leaves the old lines in place.
void RebuildLines(PluginState& state) {
  ContestSession& session = state.Session;
  const QsoLogStore& log = state.QsoLog;
  const bool reusable = session.CabrilloLines.size() == state.CabrilloLineSerials.size() &&
                        state.CabrilloLinesCall == session.callsign;
  TextList fresh_lines;
  std::vector<uint64_t> fresh_serials;
  const int count = log.Count();
  fresh_serials.reserve(static_cast<size_t>(count));
  fresh_lines.reserve(static_cast<size_t>(count), session.CabrilloLines.joined().size());
  const TextList& old_lines = session.CabrilloLines;
  const std::vector<uint64_t>& old_serials = state.CabrilloLineSerials;
  size_t old = 0;
  for (int i = 0; i < count; ++i) {
    const uint64_t serial = log.SerialAt(i);
    // Serials increase along both lists, so one forward walk pairs them up.
    while (reusable && old < old_serials.size() && old_serials[old] < serial) ++old;
    if (reusable && old < old_serials.size() && old_serials[old] == serial) {
      fresh_lines.push_back(old_lines[old++]);
    } else {
      AppendLineOf(&fresh_lines, session.callsign, log.At(i));
    }
    fresh_serials.push_back(serial);
  }
  std::swap(session.CabrilloLines, fresh_lines);
  state.CabrilloLineSerials.swap(fresh_serials);
  state.CabrilloLinesCall = session.callsign;
}

}  // namespace

void ExportCabrillo(PluginState& state) {
  ContestSession& session = state.Session;
  // A reset whose header form was cut short (memory ran out) made no file
  // name; the contest's own call gives it, as the form would have.
  if (session.fileStem.empty()) session.fileStem = MakeFileStem(state.ContestantCall);
  const QsoLogStore& log = state.QsoLog;
  if (!LinesStillHold(state)) {
    RebuildLines(state);
  } else {
    // Only the records logged since the last export need lines. Line and
    // serial go in together, so a failure between them cannot happen once
    // the serials have room.
    const int count = log.Count();
    state.CabrilloLineSerials.reserve(static_cast<size_t>(count));
    for (int i = static_cast<int>(session.CabrilloLines.size()); i < count; ++i) {
      AppendLineOf(&session.CabrilloLines, session.callsign, log.At(i));
      state.CabrilloLineSerials.push_back(log.SerialAt(i));
    }
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
