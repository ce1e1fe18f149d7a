#include "log/qso_checks.h"

#include <algorithm>
#include <cstring>

#include "plugin/texts.h"

namespace velkaro {

int IsValidExchange(const std::string& exchange) {
  if (exchange == "599") return 0;  // a report, not a serial number
  if (exchange.size() == 3 || exchange.size() == 4) {
    return std::all_of(exchange.begin(), exchange.end(),
                       [](char c) { return c >= '0' && c <= '9'; })
               ? 1
               : 0;
  }
  return exchange == "PW" ? 1 : 0;
}

int CheckCall(const QsoLogStore& log, const std::vector<std::string>& special_stations,
              const std::string& call, const std::string& band, const std::string& mode,
              char* exchange, char* notice) {
  if (log.HasMatch(call, band, mode)) return kCheckDupe;
  if (special_stations.empty()) return kCheckSpecial;
  if (std::find(special_stations.begin(), special_stations.end(), call) ==
      special_stations.end()) {
    return kCheckNew;
  }
  // The host's buffer holds 23 bytes: a call of seven or more characters
  // would make the notice longer, so it is cut to fit.
  const std::string text = call + texts::kSpecialNoticeTail;
  const size_t length = std::min(text.size(), kNoticeBufferSize - 1);
  std::memcpy(notice, text.data(), length);
  notice[length] = '\0';
  if (exchange != nullptr) std::memcpy(exchange, "PW", 3);
  return kCheckSpecial;
}

}  // namespace velkaro
