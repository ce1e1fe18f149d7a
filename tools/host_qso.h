// Turns an ADIF record into the QSO as the host would report it to the
// plug-in: texts in Windows-1251 and named as the host names them (band
// "40m", mode "SSB" for USB and LSB), the frequency in Hz and the time as an
// OLE Automation day count.

#ifndef VELKARO_TOOLS_HOST_QSO_H_
#define VELKARO_TOOLS_HOST_QSO_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/adif_reader.h"

namespace velkaro::replay {

struct HostQso {
  // Windows-1251 texts; an absent value is "".
  std::string call;
  std::string station_call;  // STATION_CALLSIGN, else OPERATOR
  std::string mode;
  std::string band;
  std::string rst_sent;
  std::string rst_rcvd;
  std::string nr_sent;   // STX_STRING, else STX
  std::string nr_rcvd;   // SRX_STRING, else SRX
  uint32_t freq_hz = 0;  // 0 when the log gives no FREQ
  double ole_days = 0;   // date and time on, days since 1899-12-30
};

struct FieldProblem {
  std::string field;  // upper-case ADIF field name
  std::string message;
};

// The QSO of one record, or nothing when the record lacks what the host
// always has (a call sign, a valid QSO_DATE and TIME_ON) or holds a FREQ
// that is not a frequency the host can pass; `problems` then says why.
std::optional<HostQso> HostQsoFromRecord(const adif::Record& record,
                                         std::vector<FieldProblem>* problems);

// The host's band text for a frequency ("40m", "70cm"), or "" outside the
// amateur bands.
std::string BandOfFrequency(uint64_t hz);

// A frequency in MHz as ADIF writes it ("7.0125") in Hz, rounded to the
// nearest Hz; nothing for text that is not a non-negative decimal number.
std::optional<uint64_t> ParseMegahertz(std::string_view text);

// Days since 1899-12-30 of a calendar date, or nothing when it is no date.
std::optional<int64_t> OleDayOfDate(int year, int month, int day);

// An ADIF date YYYYMMDD as an OLE day count; nothing when malformed.
std::optional<double> ParseAdifDate(std::string_view text);

// An ADIF time HHMM or HHMMSS as a fraction of a day; nothing when malformed.
std::optional<double> ParseAdifTime(std::string_view text);

}  // namespace velkaro::replay

#endif  // VELKARO_TOOLS_HOST_QSO_H_
