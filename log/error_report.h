// The error report "err.txt": a header line per contest, then one line per
// rejected QSO and per duplicate match. Windows text: every line ends CR LF.

#ifndef VELKARO_LOG_ERROR_REPORT_H_
#define VELKARO_LOG_ERROR_REPORT_H_

#include <string>

#include "log/qso_arguments.h"
#include "port/platform.h"

namespace velkaro {

inline constexpr char kErrorReportPath[] = "err.txt";

inline constexpr char kReasonNoNumber[] = "   NO TX or RX NUMBER !!!";
inline constexpr char kReasonNoTestMode[] = "   NO TEST MODE !!!";
inline constexpr char kReasonNoContestBand[] = "   NO CONTEST BAND !!!";
inline constexpr char kReasonDupe[] = "   DUPE !!!";

// One report line for the QSO with `reason`, ending in CR LF.
std::string ErrorReportLine(const QsoArguments& qso, const char* reason);

// Empties the report and writes its header line.
void StartErrorReport(Platform& platform);
// Appends `lines` (possibly none: the file is still created).
void AppendToErrorReport(Platform& platform, const std::string& lines);

}  // namespace velkaro

#endif  // VELKARO_LOG_ERROR_REPORT_H_
