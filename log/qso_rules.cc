#include "log/qso_rules.h"

#include <algorithm>
#include <utility>

#include "log/error_report.h"

namespace velkaro {
namespace {

bool IsContestMode(const std::string& mode) {
  return mode == "CW" || mode == "SSB" || mode == "RTTY";
}

constexpr char kContestBand[] = "40m";

// The reason a QSO breaks the rules, or null when it keeps them.
const char* Rejection(const QsoArguments& qso) {
  if (qso.nr_rcvd.empty() || qso.nr_sent.empty()) return kReasonNoNumber;
  if (!IsContestMode(qso.mode)) return kReasonNoTestMode;
  if (qso.band != kContestBand) return kReasonNoContestBand;
  return nullptr;
}

}  // namespace

int AddQso(PluginState& state, const QsoArguments& qso) {
  if (const char* reason = Rejection(qso)) {
    AppendToErrorReport(state.platform, ErrorReportLine(qso, reason));
    return 0;
  }

  CInfo record;
  record.call = qso.call;
  record.band = qso.band;
  record.mode = qso.mode;
  record.rstRcvd = qso.rst_rcvd;
  record.rstSent = qso.rst_sent;
  record.nrRcvd = qso.nr_rcvd;
  record.nrSent = qso.nr_sent;
  record.freqKhz = qso.freq_hz / 1000;
  record.time = qso.time;

  // Everything that can run out of memory happens before the first change.
  const int earlier = state.QsoLog.CountMatches(record.call, record.band, record.mode);
  record.isDupe = earlier > 0 ? 1 : 0;
  std::string report;
  if (earlier > 0) {
    const std::string dupe_line = ErrorReportLine(qso, kReasonDupe);
    report.reserve(dupe_line.size() * earlier);
    for (int i = 0; i < earlier; ++i) report += dupe_line;
  }
  auto& bands = state.WorkedBands;
  const bool new_band = std::find(bands.begin(), bands.end(), qso.band) == bands.end();
  std::string band_copy;
  if (new_band) {
    band_copy = qso.band;
    if (bands.size() == bands.capacity()) bands.reserve(bands.size() * 2 + 1);
  }

  state.QsoLog.Append(std::move(record));
  if (new_band) bands.push_back(std::move(band_copy));  // cannot throw now
  AppendToErrorReport(state.platform, report);
  return 1;
}

int RemoveQso(PluginState& state, const QsoArguments& qso) {
  if (qso.nr_rcvd.empty() || qso.nr_sent.empty()) return 0;
  const int index = state.QsoLog.FirstMatch(qso.call, qso.band, qso.mode);
  if (index >= 0) state.QsoLog.RemoveAt(index);
  return 1;
}

}  // namespace velkaro
