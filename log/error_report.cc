#include "log/error_report.h"

#include "plugin/texts.h"

namespace velkaro {

std::string ErrorReportLine(const QsoArguments& qso, const char* reason) {
  const std::string kSep = "  ";
  std::string line = "QSO:  ";
  line += std::to_string(qso.freq_hz / 1000);
  line += kSep + qso.mode;
  line += kSep + FormatDateTime(qso.time, "%Y-%m-%d %H%M");
  line += kSep + qso.own_call;
  line += kSep + qso.rst_sent;
  line += kSep + qso.nr_sent;
  line += kSep + qso.call;
  line += kSep + qso.rst_rcvd;
  line += kSep + qso.nr_rcvd;
  line += reason;
  line += "\r\n";
  return line;
}

void StartErrorReport(Platform& platform) {
  platform.WriteToFile(kErrorReportPath, std::string(texts::kErrorReportHeader) + "\r\n",
                       /*truncate=*/true);
}

void AppendToErrorReport(Platform& platform, const std::string& lines) {
  platform.WriteToFile(kErrorReportPath, lines, /*truncate=*/false);
}

}  // namespace velkaro
