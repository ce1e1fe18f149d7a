// The Cabrillo 3.0 log: QSO lines, the file name and the whole file.

#ifndef VELKARO_CABRILLO_CABRILLO_WRITER_H_
#define VELKARO_CABRILLO_CABRILLO_WRITER_H_

#include <cstdint>
#include <optional>
#include <string>

#include "plugin/date_text.h"
#include "plugin/session.h"
#include "port/platform.h"

namespace velkaro {

// "CW"->"CW", "BPSK63"/"BPSK62"->"PM", "SSB"->"PH", "RTTY"->"RY", else "??".
std::string CabrilloModeCode(const std::string& mode);

// The Cabrillo line of one QSO with `own_call` (see AppendQsoLine).
std::string FormatQsoLine(const std::string& own_call, const std::string& call,
                          uint32_t freqKhz, const std::string& mode_code,
                          const OleDate& time, const std::string& rstSent,
                          const std::string& nrSent, const std::string& rstRcvd,
                          const std::string& nrRcvd);

// Appends to session.CabrilloLines the line
// "QSO: %5i %2s %s %-13s %-3s %-6s %-13s %-3s %s\r\n" with the frequency,
// mode code, date text, session.callsign, report and number sent, call,
// report and number received. Long values push the rest right; nothing is cut.
void AppendQsoLine(ContestSession& session, const std::string& call, uint32_t freqKhz,
                   const std::string& mode_code, const OleDate& time,
                   const std::string& rstSent, const std::string& nrSent,
                   const std::string& rstRcvd, const std::string& nrRcvd);

// The file stem of an own call sign: "/" and "\" become "_", white space is
// trimmed from both ends, and nothing left gives "VARNO".
std::string MakeFileStem(const std::string& own_call);

// "2.20" for major version 2 (major.minor), else "3.1.2" (three parts).
std::string FormatHostVersion(const FileVersion& version);

// The host's version from "Zelvo2.exe" when it can be opened, else from
// "Zelvo3.exe". When no version record can be read the text is empty, so the
// line reads "CREATED-BY: Zelvo " like any other header line without a value.
std::string HostVersionText(Platform& platform);

// The header lines from `session` and `claimed_score`, up to the first QSO
// line, every line ending CR LF.
std::string CabrilloLogHeader(const ContestSession& session, int32_t claimed_score,
                              const std::string& host_version);

// The whole file's bytes: the header, the lines of session.CabrilloLines and
// "END-OF-LOG:".
std::string CabrilloLogText(const ContestSession& session, int32_t claimed_score,
                            const std::string& host_version);

// Writes fileStem + ".cbr", replacing the old file in one step. Failures are
// silent: the old file then stays as it was. Writes nothing while fileStem is
// empty (no header form has prepared this contest's file name).
void WriteCabrilloLog(Platform& platform, const ContestSession& session,
                      int32_t claimed_score);

}  // namespace velkaro

#endif  // VELKARO_CABRILLO_CABRILLO_WRITER_H_
