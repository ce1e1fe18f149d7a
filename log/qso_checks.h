// The two questions the host asks while the operator enters a QSO. Neither
// changes any state of the plug-in.

#ifndef VELKARO_LOG_QSO_CHECKS_H_
#define VELKARO_LOG_QSO_CHECKS_H_

#include <cstddef>
#include <string>
#include <vector>

#include "log/qso_log.h"

namespace velkaro {

// IsValidExchg0: 1 for three or four digits other than "599", or "PW"; else 0.
int IsValidExchange(const std::string& exchange);

inline constexpr size_t kExchangeBufferSize = 10;
inline constexpr size_t kNoticeBufferSize = 23;

enum CheckCallResult { kCheckDupe = 0, kCheckNew = 1, kCheckSpecial = 2 };

// CheckCall0: 0 when the log holds this call, band and mode; else 2 when the
// call is on the special-station list (the notice "CALL - Велкарнатор !", cut
// to 22 bytes, goes into `notice`, and "PW" into `exchange` unless it is
// null); else 1 when the list is not empty, 2 when it is (buffers untouched).
// REQUIRES: `notice` holds kNoticeBufferSize bytes, `exchange` (if not null)
// kExchangeBufferSize.
int CheckCall(const QsoLogStore& log, const std::vector<std::string>& special_stations,
              const std::string& call, const std::string& band, const std::string& mode,
              char* exchange, char* notice);

}  // namespace velkaro

#endif  // VELKARO_LOG_QSO_CHECKS_H_
